// Registry values under HKEY_CURRENT_USER\Software\Quorbit\Lorvex, over an abstract store so the
// rules can be used and tested without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/settings/mailbox_record.h"

namespace lx {

constexpr char kRegistryKey[] = "Software\\Quorbit\\Lorvex";

// Value names.
constexpr char kRegInstallPath[] = "InstallPath";
constexpr char kRegServer[] = "Server";
constexpr char kRegSmtpServer[] = "SMTPServer";
constexpr char kRegAddress[] = "Address";
constexpr char kRegUser[] = "User";
constexpr char kRegPassword[] = "Pword";
constexpr char kRegDelMail[] = "DelMail";
constexpr char kRegApop[] = "APOP";
constexpr char kRegDefFolder[] = "DefFolder";
constexpr char kRegDefFolderNum[] = "DefFolderNum";
constexpr char kRegDictionary[] = "Dictionary";
constexpr char kRegReaderType[] = "ReaderType";
constexpr char kRegLastRetAdd[] = "LastRetAdd";
constexpr char kRegLastRetSig[] = "LastRetSig";
constexpr char kRegLineBreaks[] = "LineBreaks";
// The current mailbox's name and how it reaches its servers (mirrored with the nine values
// above): security (0 none, 1 STLS/STARTTLS, 2 TLS), the port (the usual one for the security
// when the record names none), and whether to log in to the SMTP server.
constexpr char kRegMailboxName[] = "Mailbox";
constexpr char kRegPop3Security[] = "POP3Security";
constexpr char kRegPop3Port[] = "POP3Port";
constexpr char kRegSmtpSecurity[] = "SMTPSecurity";
constexpr char kRegSmtpPort[] = "SMTPPort";
constexpr char kRegSmtpLogin[] = "SMTPLogin";

// Buffer sizes the readers use.
constexpr std::size_t kInstallPathSize = 260;
constexpr std::size_t kRegPasswordSize = 128;

// Values are read only when the key already existed, and a value that is absent (or of the wrong
// type) leaves the caller's default untouched. The public readers enforce that rule; an
// implementation supplies only the raw access.
class SettingsRegistry {
public:
    virtual ~SettingsRegistry() = default;

    // Whether the key existed before this object opened it.
    virtual bool KeyExisted() const = 0;

    // Reads a string into buf (size bytes, always NUL-terminated, cut when longer); true when read.
    bool ReadString(const char* name, char* buf, std::size_t size);
    bool ReadDword(const char* name, std::int32_t& value);

    // Strings are written with their terminating NUL; true on success.
    virtual bool WriteString(const char* name, const char* text) = 0;
    virtual bool WriteDword(const char* name, std::int32_t value) = 0;
    // Removes a value; true when it is gone (also when it was never there).
    virtual bool DeleteValue(const char* name) { return false; }

    // The key a mailbox keeps beside its record, under this key (see mailbox_keys.h): null when
    // it does not exist and `create` is false, or when it cannot be opened.
    virtual std::unique_ptr<SettingsRegistry> OpenMailboxKey(const std::string& mailbox,
                                                             bool create) {
        return nullptr;
    }
    // Removes that key with its values; true when it is gone.
    virtual bool DeleteMailboxKey(const std::string& mailbox) { return false; }

protected:
    // Raw access: read the value if present, whatever the key's history. On false the output must be
    // left as it was.
    virtual bool QueryString(const char* name, std::string& text) = 0;
    virtual bool QueryDword(const char* name, std::int32_t& value) = 0;
};

// Convenience readers with a default.
std::int32_t ReadDwordOr(SettingsRegistry& reg, const char* name, std::int32_t fallback);
std::string ReadStringOr(SettingsRegistry& reg, const char* name, std::size_t size,
                         const std::string& fallback);

// The mailto handler: HKEY_CLASSES_ROOT\mailto\shell\open\command, default value = the program
// in the installation folder followed by " %1".
constexpr char kMailtoCommandKey[] = "mailto\\shell\\open\\command";
constexpr char kProgramFile[] = "Lorvex.Exe";
std::string MailtoCommandFor(const std::string& installPath);

// Mirrors the mailbox at index into the nine current-mailbox values (the password as stored,
// scrambled: a password longer than the record holds comes from the mailbox's own key), its name
// and its security values. False when index is not a record of the list or a write failed.
bool MakeCurrent(const MailboxList& list, int index, SettingsRegistry& reg);

} // namespace lx
