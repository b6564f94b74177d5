#include "common/settings/settings_registry.h"

#include <vector>

#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/mailbox_security.h"

namespace lx {

bool SettingsRegistry::ReadString(const char* name, char* buf, std::size_t size) {
    if (buf == nullptr || size == 0 || !KeyExisted()) return false;
    std::string text;
    if (!QueryString(name, text)) return false;
    CopyText(buf, size, text.c_str());
    return true;
}

bool SettingsRegistry::ReadDword(const char* name, std::int32_t& value) {
    if (!KeyExisted()) return false;
    std::int32_t v = 0;
    if (!QueryDword(name, v)) return false;
    value = v;
    return true;
}

std::int32_t ReadDwordOr(SettingsRegistry& reg, const char* name, std::int32_t fallback) {
    std::int32_t v = fallback;
    reg.ReadDword(name, v);
    return v;
}

std::string ReadStringOr(SettingsRegistry& reg, const char* name, std::size_t size,
                         const std::string& fallback) {
    if (size == 0) return fallback;
    std::vector<char> buf(size, '\0');
    if (!reg.ReadString(name, buf.data(), buf.size())) return fallback;
    return std::string(buf.data());
}

std::string MailtoCommandFor(const std::string& installPath) {
    return InstallFile(installPath, kProgramFile) + " %1";
}

bool MakeCurrent(const MailboxList& list, int index, SettingsRegistry& reg) {
    if (index < 0 || index >= MailboxCount(list)) return false;
    const MailboxRecord& rec = list.records[index];
    bool ok = true;
    ok &= reg.WriteString(kRegServer, TextOf(rec.pop3Server).c_str());
    ok &= reg.WriteString(kRegSmtpServer, TextOf(rec.smtpServer).c_str());
    ok &= reg.WriteString(kRegAddress, TextOf(rec.address).c_str());
    ok &= reg.WriteString(kRegUser, TextOf(rec.user).c_str());
    ok &= reg.WriteString(kRegPassword, MailboxPassword(reg, rec).c_str());
    ok &= reg.WriteDword(kRegDelMail, rec.deleteMail);
    ok &= reg.WriteDword(kRegApop, rec.apop);
    ok &= reg.WriteString(kRegDefFolder, TextOf(rec.defaultFolder).c_str());
    ok &= reg.WriteDword(kRegDefFolderNum, rec.defaultFolderNum);
    // The runs read the security from here too, so that every mailbox made current (by the
    // selector or the automatic check) brings its own; the pins stay in the mailbox's key.
    const MailboxSecurity security = ReadMailboxSecurity(rec);
    ok &= reg.WriteString(kRegMailboxName, TextOf(rec.name).c_str());
    ok &= reg.WriteDword(kRegPop3Security, static_cast<std::int32_t>(security.pop3));
    ok &= reg.WriteDword(kRegPop3Port, ServerPort(security, MailServer::Pop3));
    ok &= reg.WriteDword(kRegSmtpSecurity, static_cast<std::int32_t>(security.smtp));
    ok &= reg.WriteDword(kRegSmtpPort, ServerPort(security, MailServer::Smtp));
    ok &= reg.WriteDword(kRegSmtpLogin, security.smtpLogin ? 1 : 0);
    return ok;
}

} // namespace lx
