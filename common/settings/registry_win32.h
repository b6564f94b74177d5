// The settings registry key on Windows: HKEY_CURRENT_USER\Software\Quorbit\Lorvex.
#pragma once

#include <cstdint>
#include <string>

#include "common/settings/settings_registry.h"

namespace lx {

// Opens (creating if absent) the key with full access for the life of the object; writes are
// flushed before the key is closed.
class Win32SettingsRegistry : public SettingsRegistry {
public:
    explicit Win32SettingsRegistry(const char* subKey = kRegistryKey);
    // Opens only a key that exists (IsOpen() false otherwise); it counts as existing.
    static std::unique_ptr<Win32SettingsRegistry> OpenExisting(const std::string& subKey);
    ~Win32SettingsRegistry() override;
    Win32SettingsRegistry(const Win32SettingsRegistry&) = delete;
    Win32SettingsRegistry& operator=(const Win32SettingsRegistry&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    bool KeyExisted() const override { return existed_; }
    bool WriteString(const char* name, const char* text) override;
    bool WriteDword(const char* name, std::int32_t value) override;
    bool DeleteValue(const char* name) override;
    std::unique_ptr<SettingsRegistry> OpenMailboxKey(const std::string& mailbox,
                                                     bool create) override;
    bool DeleteMailboxKey(const std::string& mailbox) override;

protected:
    bool QueryString(const char* name, std::string& text) override;
    bool QueryDword(const char* name, std::int32_t& value) override;

private:
    struct Existing {};
    Win32SettingsRegistry(Existing, const std::string& subKey);
    std::string MailboxPath(const std::string& mailbox) const;

    std::string subKey_;
    void* key_ = nullptr; // HKEY, kept opaque so callers need no windows.h
    bool existed_ = false;
    bool written_ = false;
};

// The InstallPath value (at most 259 characters); empty when the key is new or the value absent.
std::string ReadInstallPath(const char* subKey = kRegistryKey);

// Registers the program as the handler of mailto links (under HKEY_CLASSES_ROOT); false when the
// key cannot be written.
bool RegisterMailtoHandler(const std::string& installPath,
                           const char* commandKey = kMailtoCommandKey);

} // namespace lx
