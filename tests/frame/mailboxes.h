// The two mailbox accounts the frame tests switch between: "Home" (current) and "Work".
#pragma once
#include "common/settings/mailbox_record.h"

#include <cstring>

namespace lxtest {

inline lx::MailboxList HomeAndWork(const char* homeServer, const char* workServer) {
    lx::MailboxList list;
    list.count = 2;
    std::strcpy(list.records[0].name, "Home");
    std::strcpy(list.records[0].pop3Server, homeServer);
    list.records[0].current = 1;
    std::strcpy(list.records[1].name, "Work");
    std::strcpy(list.records[1].pop3Server, workServer);
    return list;
}

} // namespace lxtest
