// Registry values under HKEY_CURRENT_USER\Software\Quorbit\Lorvex, over an abstract store so the
// rules can be used and tested without Windows.
#pragma once

#include <cstddef>
#include <cstdint>
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
// scrambled). False when index is not a record of the list or a write failed.
bool MakeCurrent(const MailboxList& list, int index, SettingsRegistry& reg);

} // namespace lx
