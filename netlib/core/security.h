// How a session secures its connection, and the ports that go with each way.
#pragma once

namespace lx::net {

enum class SecurityMode : int {
    None = 0,     // clear text, as mail servers were reached of old
    Upgrade = 1,  // connect in clear, then STARTTLS (SMTP) or STLS (POP3) before anything else
    Implicit = 2, // TLS from the first byte (submissions port 465, POP3S port 995)
};

enum class MailProtocol { Smtp, Pop3 };

// The port a session connects to when none is given.
constexpr int defaultPort(MailProtocol protocol, SecurityMode mode) {
    if (protocol == MailProtocol::Pop3) return mode == SecurityMode::Implicit ? 995 : 110;
    switch (mode) {
    case SecurityMode::Upgrade: return 587; // message submission, where STARTTLS and AUTH live
    case SecurityMode::Implicit: return 465;
    default: return 25;
    }
}

// A mode value from outside the library (an export's argument, a settings field); false when it
// names no mode.
inline bool toSecurityMode(int value, SecurityMode& mode) {
    if (value < 0 || value > static_cast<int>(SecurityMode::Implicit)) return false;
    mode = static_cast<SecurityMode>(value);
    return true;
}

} // namespace lx::net
