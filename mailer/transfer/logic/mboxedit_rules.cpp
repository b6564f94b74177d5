#include "mailer/transfer/logic/mboxedit_rules.h"

#include "common/schema/schema.h"
#include "common/settings/fixed_text.h"
#include "common/settings/scramble.h"
#include "common/settings/settings_registry.h"
#include "mailer/transfer/logic/mboxlist_rules.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lx {
namespace {

constexpr MailboxField kFields[] = {MailboxField::Name,       MailboxField::Pop3Server,
                                    MailboxField::SmtpServer, MailboxField::Address,
                                    MailboxField::User,       MailboxField::Password};

} // namespace

std::size_t MailboxFieldLimit(MailboxField field) {
    const MailboxRecord r;
    switch (field) {
    case MailboxField::Name: return sizeof r.name - 1;
    case MailboxField::Pop3Server: return sizeof r.pop3Server - 1;
    case MailboxField::SmtpServer: return sizeof r.smtpServer - 1;
    case MailboxField::Address: return sizeof r.address - 1;
    case MailboxField::User: return sizeof r.user - 1;
    // As much as the current mailbox's password value is read into.
    case MailboxField::Password: return kRegPasswordSize - 1;
    }
    return 0;
}

const std::string& WorkField(const MailboxWork& work, MailboxField field) {
    switch (field) {
    case MailboxField::Name: return work.name;
    case MailboxField::Pop3Server: return work.pop3Server;
    case MailboxField::SmtpServer: return work.smtpServer;
    case MailboxField::Address: return work.address;
    case MailboxField::User: return work.user;
    case MailboxField::Password: break;
    }
    return work.password;
}

std::string& WorkField(MailboxWork& work, MailboxField field) {
    return const_cast<std::string&>(WorkField(static_cast<const MailboxWork&>(work), field));
}

MailboxWork WorkFromRecord(const MailboxRecord& record) {
    MailboxWork work;
    work.name = TextOf(record.name);
    work.pop3Server = TextOf(record.pop3Server);
    work.smtpServer = TextOf(record.smtpServer);
    work.address = TextOf(record.address);
    work.user = TextOf(record.user);
    char password[sizeof record.password];
    std::memcpy(password, record.password, sizeof password);
    password[sizeof password - 1] = '\0';
    Unscramble(password);
    work.password = password;
    WipeText(password, sizeof password);
    work.deleteMail = record.deleteMail == 1;
    work.apop = record.apop == 1;
    work.defaultFolder = TextOf(record.defaultFolder);
    work.defaultFolderNum = record.defaultFolderNum;
    work.security = ReadMailboxSecurity(record);
    return work;
}

MailboxWork NewMailboxWork(long inFolderNum) {
    MailboxWork work;
    work.defaultFolder = kFolderIn;
    work.defaultFolderNum = inFolderNum;
    return work;
}

WorkCheck CheckWorkField(MailboxField field, const std::string& value) {
    if (value.size() > MailboxFieldLimit(field))
        return {field == MailboxField::Name ? WorkRefusal::NameTooLong : WorkRefusal::FieldTooLong,
                field};
    if (field == MailboxField::Password && !IsStorablePassword(value))
        return {WorkRefusal::PasswordNotPlain, field};
    return {};
}

WorkCheck CheckWork(const MailboxWork& work, const MailboxList& list, int index) {
    for (MailboxField field : kFields) {
        const WorkCheck check = CheckWorkField(field, WorkField(work, field));
        if (check.refusal != WorkRefusal::None) return check;
    }
    if (MailboxNameTaken(list, StoredMailboxName(work.name), index) >= 0)
        return {WorkRefusal::NameTaken, MailboxField::Name};
    return {};
}

std::string StoredMailboxName(const std::string& name) {
    return name.empty() ? std::string(kUnnamedMailbox) : name;
}

MailboxRecord RecordFromWork(const MailboxWork& work, const MailboxRecord& base) {
    MailboxRecord record = base;
    CopyText(record.name, StoredMailboxName(work.name).c_str());
    CopyText(record.pop3Server, work.pop3Server.c_str());
    CopyText(record.smtpServer, work.smtpServer.c_str());
    CopyText(record.address, work.address.c_str());
    CopyText(record.user, work.user.c_str());
    CopyText(record.password, work.password.c_str());
    Scramble(record.password);
    record.deleteMail = work.deleteMail ? 1 : 0;
    record.apop = work.apop ? 1 : 0;
    CopyText(record.defaultFolder, work.defaultFolder.c_str());
    record.defaultFolderNum = static_cast<std::int32_t>(work.defaultFolderNum);
    WriteMailboxSecurity(record, work.security);
    return record;
}

std::string PortFieldText(const MailboxSecurity& security, MailServer server) {
    return std::to_string(ServerPort(security, server));
}

bool PortFromField(const std::string& text, MailServer server, MailSecurity security,
                   std::uint16_t& port) {
    if (text.empty()) {
        port = 0;
        return true;
    }
    if (text.size() > 5) return false;
    long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    port = value == UsualPort(server, security) ? 0 : static_cast<std::uint16_t>(value);
    return true;
}

std::string PortFieldAfterChoice(const std::string& shown, MailServer server, MailSecurity before,
                                 MailSecurity after) {
    if (shown.empty() || shown == std::to_string(UsualPort(server, before)))
        return std::to_string(UsualPort(server, after));
    return shown;
}

std::string FolderEntryText(const std::string& folder, long folderNum) {
    return folder + " [" + std::to_string(folderNum) + "]";
}

bool IsOfferedAsDefaultFolder(const std::string& folder) {
    return folder != kFolderOut && folder != kFolderSent;
}

FolderChoice FolderFromEntry(const std::string& entry, long inFolderNum) {
    // The number is the entry's last bracketed part: a folder's own name may hold " [".
    const size_t open = entry.rfind(" [");
    if (open != std::string::npos && entry.size() > open + 3 && entry.back() == ']') {
        const std::string digits = entry.substr(open + 2, entry.size() - open - 3);
        bool allDigits = true;
        for (char c : digits) allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
        errno = 0;
        const long number = allDigits ? std::strtol(digits.c_str(), nullptr, 10) : 0;
        if (allDigits && errno == 0) return {entry.substr(0, open), number};
    }
    return {kFolderIn, inFolderNum};
}

int PickFolderEntry(const std::vector<std::string>& entries, const std::string& folder) {
    if (entries.empty()) return -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (FolderFromEntry(entries[i], 0).folder == folder) return static_cast<int>(i);
    for (size_t i = 0; i < entries.size(); ++i)
        if (SameNameIgnoringCase(FolderFromEntry(entries[i], 0).folder, folder))
            return static_cast<int>(i);
    return 0;
}

bool IsStorablePassword(const std::string& text) {
    for (char c : text) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code == 0 || code > 127) return false;
    }
    return true;
}

void WipeText(std::string& text) {
    if (!text.empty()) WipeText(&text[0], text.size());
    text.clear();
}

void WipeText(char* text, std::size_t size) {
    // Written through a volatile pointer so that the compiler keeps the stores.
    volatile char* p = text;
    for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

} // namespace lx
