// How a mailbox reaches its servers securely: kept in the mailbox record's spare bytes, so a
// record without it (every older file) reads as clear text on the usual ports, and a record that
// asks for nothing more is written byte for byte as before.
#pragma once

#include <cstdint>

#include "common/settings/mailbox_record.h"

namespace lx {

// The values are those of the network library's TERN_SECURITY_* settings.
enum class MailSecurity : std::uint8_t { None = 0, StartTls = 1, Tls = 2 };

struct MailboxSecurity {
    MailSecurity pop3 = MailSecurity::None;
    MailSecurity smtp = MailSecurity::None;
    std::uint16_t pop3Port = 0; // 0: the usual port for the security
    std::uint16_t smtpPort = 0;
    bool smtpLogin = false; // log in to the SMTP server with the mailbox's user and password

    bool operator==(const MailboxSecurity& o) const {
        return pop3 == o.pop3 && smtp == o.smtp && pop3Port == o.pop3Port &&
               smtpPort == o.smtpPort && smtpLogin == o.smtpLogin;
    }
};

enum class MailServer { Pop3, Smtp };

// The port a server is reached on when the record names none: POP3 110 (995 with TLS), SMTP 25
// (587, the submission port, with STARTTLS; 465 with TLS).
std::uint16_t UsualPort(MailServer server, MailSecurity security);
// The port the record names for a server, or the usual one.
std::uint16_t ServerPort(const MailboxSecurity& security, MailServer server);

// The spare bytes, from offset 367 of the record: "LX" (the block is in use), POP3 security,
// SMTP security, POP3 port and SMTP port (unsigned 16-bit each), SMTP login flag, eight zero
// bytes. Without the "LX" mark, or with a value out of range, the record asks for nothing.
// Writing "nothing" leaves unmarked bytes as an older program left them.
MailboxSecurity ReadMailboxSecurity(const MailboxRecord& rec);
void WriteMailboxSecurity(MailboxRecord& rec, const MailboxSecurity& security);

} // namespace lx
