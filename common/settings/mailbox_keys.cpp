#include "common/settings/mailbox_keys.h"

#include "common/settings/fixed_text.h"
#include "common/settings/scramble.h"

#include <cstdio>

namespace lx {
namespace {

const char* PinValue(MailServer server) {
    return server == MailServer::Pop3 ? kRegPop3Pin : kRegSmtpPin;
}

// Longest text a kept value may have: the mirrored password is read into 128 bytes.
constexpr std::size_t kKeptTextSize = kRegPasswordSize;

bool IsSecurityValue(std::int32_t v) {
    return v >= static_cast<std::int32_t>(MailSecurity::None) &&
           v <= static_cast<std::int32_t>(MailSecurity::Tls);
}

} // namespace

std::string MailboxKeyName(const std::string& mailbox) {
    if (mailbox.empty()) return "%";
    std::string key;
    for (char c : mailbox) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (c == '\\' || c == '%' || code < 0x20 || code == 0x7f) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", code);
            key += escaped;
        } else {
            key += c;
        }
    }
    return key;
}

std::string ReadMailboxPin(SettingsRegistry& settings, const std::string& mailbox,
                           MailServer server) {
    std::unique_ptr<SettingsRegistry> key = settings.OpenMailboxKey(mailbox, false);
    return key ? ReadStringOr(*key, PinValue(server), kKeptTextSize, "") : std::string();
}

bool WriteMailboxPin(SettingsRegistry& settings, const std::string& mailbox, MailServer server,
                     const std::string& fingerprint) {
    std::unique_ptr<SettingsRegistry> key = settings.OpenMailboxKey(mailbox, !fingerprint.empty());
    if (!key) return fingerprint.empty();
    return fingerprint.empty() ? key->DeleteValue(PinValue(server))
                               : key->WriteString(PinValue(server), fingerprint.c_str());
}

std::string MailboxPassword(SettingsRegistry& settings, const MailboxRecord& record) {
    const std::string own = TextOf(record.password);
    std::unique_ptr<SettingsRegistry> key = settings.OpenMailboxKey(TextOf(record.name), false);
    if (!key) return own;
    const std::string kept = ReadStringOr(*key, kRegLongPassword, kKeptTextSize, "");
    if (kept.size() > kScrambleMaxChars && own.size() == kScrambleMaxChars &&
        kept.compare(0, own.size(), own) == 0)
        return kept;
    return own;
}

bool KeepMailboxPassword(SettingsRegistry& settings, const std::string& mailbox,
                         const std::string& plain) {
    const bool longer = plain.size() > kScrambleMaxChars;
    std::unique_ptr<SettingsRegistry> key = settings.OpenMailboxKey(mailbox, longer);
    if (!key) return !longer;
    if (!longer) return key->DeleteValue(kRegLongPassword);
    if (plain.size() >= kKeptTextSize) return false;
    return key->WriteString(kRegLongPassword, ScrambledWhole(plain).c_str());
}

bool RenameMailboxKey(SettingsRegistry& settings, const std::string& from, const std::string& to) {
    if (from == to) return true;
    std::unique_ptr<SettingsRegistry> old = settings.OpenMailboxKey(from, false);
    settings.DeleteMailboxKey(to); // nothing of a former mailbox of that name carries over
    if (!old) return true;
    std::unique_ptr<SettingsRegistry> moved = settings.OpenMailboxKey(to, true);
    if (!moved) return false;
    bool ok = true;
    for (const char* value : {kRegPop3Pin, kRegSmtpPin, kRegLongPassword}) {
        char buf[kKeptTextSize] = "";
        if (old->ReadString(value, buf, sizeof buf)) ok &= moved->WriteString(value, buf);
    }
    old.reset();
    return ok && settings.DeleteMailboxKey(from);
}

bool ForgetMailboxKey(SettingsRegistry& settings, const std::string& mailbox) {
    return settings.DeleteMailboxKey(mailbox);
}

ServerSecurity ReadCurrentSecurity(SettingsRegistry& settings, MailServer server) {
    const bool pop3 = server == MailServer::Pop3;
    ServerSecurity s;
    const std::int32_t security =
        ReadDwordOr(settings, pop3 ? kRegPop3Security : kRegSmtpSecurity, 0);
    if (IsSecurityValue(security)) s.security = static_cast<MailSecurity>(security);
    const std::int32_t port = ReadDwordOr(settings, pop3 ? kRegPop3Port : kRegSmtpPort, 0);
    s.port = port > 0 && port <= 65535 ? port : UsualPort(server, s.security);
    if (s.security != MailSecurity::None)
        s.pin = ReadMailboxPin(settings, ReadCurrentMailboxName(settings), server);
    return s;
}

bool ReadCurrentSmtpLogin(SettingsRegistry& settings) {
    return ReadDwordOr(settings, kRegSmtpLogin, 0) == 1;
}

std::string ReadCurrentMailboxName(SettingsRegistry& settings) {
    return ReadStringOr(settings, kRegMailboxName, sizeof MailboxRecord{}.name, "");
}

bool AsksForMore(const ServerSecurity& s, MailServer server) {
    return s.security != MailSecurity::None || s.port != UsualPort(server, MailSecurity::None);
}

} // namespace lx
