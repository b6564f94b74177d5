// A filter file for the retrieval tests, written through the filter list itself.
#pragma once

#include "mailer/transfer/logic/filterfile.h"

#include <cstring>
#include <string>

namespace lxtest {

inline lx::FilterRule Rule(const char* name, char fields, const char* address, const char* subject,
                           char action, const char* folder = "", long folderNum = 0) {
    lx::FilterRule r;
    std::strncpy(r.name, name, sizeof r.name - 1);
    r.fields = fields;
    std::strncpy(r.address, address, sizeof r.address - 1);
    std::strncpy(r.subject, subject, sizeof r.subject - 1);
    r.action = action;
    std::strncpy(r.folderName, folder, sizeof r.folderName - 1);
    r.folderNum = static_cast<std::int32_t>(folderNum);
    return r;
}

// LORVEX.FLT at `path`: a delete rule for subjects holding "SPAM" and a rule filing mail from
// "boss@" into the folder given.
inline bool WriteSampleFilters(const std::string& path, const char* folder, long folderNum) {
    lx::FilterList list = lx::FilterList::Load(path);
    return list.Append(Rule("Junk", 'S', "", "spam", lx::kFilterActionDelete)) &&
           list.Append(Rule("Boss", 'A', "boss@", "", lx::kFilterActionFile, folder, folderNum)) &&
           list.Save();
}

} // namespace lxtest
