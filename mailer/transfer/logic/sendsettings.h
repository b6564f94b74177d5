// The sender address and SMTP server the sending run uses: the current mailbox's registry values.
#pragma once

#include <string>
#include <vector>

#include "common/settings/mailbox_keys.h"
#include "common/settings/settings_registry.h"

namespace lx {

constexpr std::size_t kSendSettingSize = 81; // bytes read for each value

struct SendingSettings {
    bool keyExisted = false;
    std::string address; // "Address"
    std::string server;  // "SMTPServer"
    // How the server is reached, and the login (the mailbox's user and password, in plain text
    // only while the session is being set up) when the mailbox asks for one.
    ServerSecurity security;
    bool login = false;
    std::string user;
    std::string password;
};

SendingSettings ReadSendingSettings(SettingsRegistry& registry);

// The log lines (catalogue keys) that say why nothing can be sent; empty when both are set. A
// new key has neither value.
std::vector<const char*> SendingSettingsProblems(const SendingSettings& settings);

} // namespace lx
