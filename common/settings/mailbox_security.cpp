#include "common/settings/mailbox_security.h"

#include <cstring>

#include "netlib/core/security.h"

namespace lx {
namespace {

constexpr std::uint8_t kMark[2] = {'L', 'X'};
enum Offset { kPop3 = 2, kSmtp = 3, kPop3Port = 4, kSmtpPort = 6, kLogin = 8 };

bool ToSecurity(std::uint8_t v, MailSecurity& out) {
    if (v > static_cast<std::uint8_t>(MailSecurity::Tls)) return false;
    out = static_cast<MailSecurity>(v);
    return true;
}

std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xff);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

} // namespace

std::uint16_t UsualPort(MailServer server, MailSecurity security) {
    // The network library's own defaults, so that "the usual port" means one thing everywhere.
    return static_cast<std::uint16_t>(net::defaultPort(
        server == MailServer::Pop3 ? net::MailProtocol::Pop3 : net::MailProtocol::Smtp,
        static_cast<net::SecurityMode>(security)));
}

std::uint16_t ServerPort(const MailboxSecurity& s, MailServer server) {
    const bool pop3 = server == MailServer::Pop3;
    const std::uint16_t port = pop3 ? s.pop3Port : s.smtpPort;
    return port ? port : UsualPort(server, pop3 ? s.pop3 : s.smtp);
}

MailboxSecurity ReadMailboxSecurity(const MailboxRecord& rec) {
    const std::uint8_t* b = rec.unused;
    MailboxSecurity s;
    // Older programs left these bytes as they found them: only the mark makes them count.
    if (std::memcmp(b, kMark, sizeof kMark) != 0) return s;
    MailboxSecurity read;
    if (!ToSecurity(b[kPop3], read.pop3) || !ToSecurity(b[kSmtp], read.smtp) || b[kLogin] > 1)
        return s;
    read.pop3Port = GetU16(b + kPop3Port);
    read.smtpPort = GetU16(b + kSmtpPort);
    read.smtpLogin = b[kLogin] == 1;
    return read;
}

void WriteMailboxSecurity(MailboxRecord& rec, const MailboxSecurity& security) {
    std::uint8_t* b = rec.unused;
    const bool marked = std::memcmp(b, kMark, sizeof kMark) == 0;
    // Nothing to keep: a record of an older program stays as it was; a block of ours is cleared.
    if (security == MailboxSecurity{}) {
        if (marked) std::memset(b, 0, sizeof rec.unused);
        return;
    }
    std::memset(b, 0, sizeof rec.unused);
    std::memcpy(b, kMark, sizeof kMark);
    b[kPop3] = static_cast<std::uint8_t>(security.pop3);
    b[kSmtp] = static_cast<std::uint8_t>(security.smtp);
    PutU16(b + kPop3Port, security.pop3Port);
    PutU16(b + kSmtpPort, security.smtpPort);
    b[kLogin] = security.smtpLogin ? 1 : 0;
}

} // namespace lx
