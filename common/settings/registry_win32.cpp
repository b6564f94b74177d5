#include "common/settings/registry_win32.h"
#include "common/settings/mailbox_keys.h"
#include "common/win/handles.h"

#include <windows.h>

#include <vector>

namespace lx {

namespace {

HKEY AsKey(void* key) { return static_cast<HKEY>(key); }

bool SetString(HKEY key, const char* name, const char* text) {
    const char* value = text != nullptr ? text : "";
    DWORD bytes = static_cast<DWORD>(lstrlenA(value) + 1);
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
           ERROR_SUCCESS;
}

} // namespace

Win32SettingsRegistry::Win32SettingsRegistry(const char* subKey) : subKey_(subKey) {
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, subKey, KEY_ALL_ACCESS, &existed_)) key_ = key.Release();
}

Win32SettingsRegistry::Win32SettingsRegistry(Existing, const std::string& subKey)
    : subKey_(subKey) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, subKey.c_str(), KEY_ALL_ACCESS)) {
        key_ = key.Release();
        existed_ = true;
    }
}

std::unique_ptr<Win32SettingsRegistry>
Win32SettingsRegistry::OpenExisting(const std::string& subKey) {
    return std::unique_ptr<Win32SettingsRegistry>(new Win32SettingsRegistry(Existing{}, subKey));
}

std::string Win32SettingsRegistry::MailboxPath(const std::string& mailbox) const {
    return subKey_ + "\\" + kRegMailboxesKey + "\\" + MailboxKeyName(mailbox);
}

bool Win32SettingsRegistry::DeleteValue(const char* name) {
    if (key_ == nullptr) return false;
    written_ = true;
    const LONG result = RegDeleteValueA(AsKey(key_), name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::unique_ptr<SettingsRegistry> Win32SettingsRegistry::OpenMailboxKey(const std::string& mailbox,
                                                                        bool create) {
    if (key_ == nullptr) return nullptr;
    std::unique_ptr<Win32SettingsRegistry> key =
        create ? std::make_unique<Win32SettingsRegistry>(MailboxPath(mailbox).c_str())
               : OpenExisting(MailboxPath(mailbox));
    if (!key->IsOpen()) return nullptr;
    return key;
}

bool Win32SettingsRegistry::DeleteMailboxKey(const std::string& mailbox) {
    if (key_ == nullptr) return false;
    // A mailbox's key holds values only, so deleting it whole needs no walk of subkeys.
    const LONG result = RegDeleteKeyA(HKEY_CURRENT_USER, MailboxPath(mailbox).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

Win32SettingsRegistry::~Win32SettingsRegistry() {
    // The opaque key goes back to its owner, which closes it.
    RegKey key(AsKey(key_));
    if (written_) key.Flush();
}

bool Win32SettingsRegistry::WriteString(const char* name, const char* text) {
    if (key_ == nullptr) return false;
    written_ = true;
    return SetString(AsKey(key_), name, text);
}

bool Win32SettingsRegistry::WriteDword(const char* name, std::int32_t value) {
    if (key_ == nullptr) return false;
    written_ = true;
    DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(AsKey(key_), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                          sizeof v) == ERROR_SUCCESS;
}

bool Win32SettingsRegistry::QueryString(const char* name, std::string& text) {
    if (key_ == nullptr) return false;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExA(AsKey(key_), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    // The stored value need not carry its NUL: one spare byte keeps the buffer terminated.
    std::vector<char> buf(static_cast<std::size_t>(bytes) + 1, '\0');
    DWORD got = bytes;
    if (RegQueryValueExA(AsKey(key_), name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                         &got) != ERROR_SUCCESS) {
        return false;
    }
    text.assign(buf.data());
    return true;
}

bool Win32SettingsRegistry::QueryDword(const char* name, std::int32_t& value) {
    if (key_ == nullptr) return false;
    DWORD type = 0;
    DWORD v = 0;
    DWORD bytes = sizeof v;
    if (RegQueryValueExA(AsKey(key_), name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &bytes) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || bytes != sizeof v) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::string ReadInstallPath(const char* subKey) {
    Win32SettingsRegistry reg(subKey);
    char path[kInstallPathSize] = {};
    if (!reg.ReadString(kRegInstallPath, path, sizeof path)) return std::string();
    return std::string(path);
}

bool RegisterMailtoHandler(const std::string& installPath, const char* commandKey) {
    RegKey key;
    if (!key.Create(HKEY_CLASSES_ROOT, commandKey, KEY_ALL_ACCESS)) return false;
    bool ok = SetString(key.Get(), nullptr, MailtoCommandFor(installPath).c_str());
    key.Flush();
    return ok;
}

} // namespace lx
