#include "mailer/transfer/logic/sendsettings.h"

#include "common/settings/scramble.h"

namespace lx {

SendingSettings ReadSendingSettings(SettingsRegistry& registry) {
    SendingSettings s;
    s.keyExisted = registry.KeyExisted();
    s.address = ReadStringOr(registry, kRegAddress, kSendSettingSize, "");
    s.server = ReadStringOr(registry, kRegSmtpServer, kSendSettingSize, "");
    s.security = ReadCurrentSecurity(registry, MailServer::Smtp);
    s.login = ReadCurrentSmtpLogin(registry);
    if (s.login) {
        s.user = ReadStringOr(registry, kRegUser, kRegPasswordSize, "");
        s.password = PlainWhole(ReadStringOr(registry, kRegPassword, kRegPasswordSize, ""));
    }
    return s;
}

std::vector<const char*> SendingSettingsProblems(const SendingSettings& settings) {
    if (!settings.keyExisted) return {"MAILLETT_CPP_1"};
    std::vector<const char*> problems;
    if (settings.address.empty()) problems.push_back("MAILLETT_CPP_1");
    if (settings.server.empty()) problems.push_back("MAILLETT_CPP_4");
    return problems;
}

} // namespace lx
