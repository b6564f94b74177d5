// The fault servers of tools/testpeers/faultpeer.py as the tests steer them: the POP3 proxy's
// next connection, and what the SMTP server that drops after DATA received.
#pragma once

#include <string>

namespace lxtest {

constexpr char kFaultProxy[] = "127.0.0.50";    // POP3 proxy in front of Dovecot
constexpr char kDropAfterData[] = "127.0.0.51"; // SMTP: closes after the second message's data
constexpr char kDovecot[] = "127.0.0.2";        // the real POP3 server
constexpr char kSmtpSink[] = "127.0.0.3";       // the real SMTP server

// What the proxy does to its next connections: "pass", "nogreet", or "cut N K" / "stall N K"
// (RETR N's reply up to byte K; K negative counts from the reply's end; a K with a full stop is
// a fraction of the reply's length).
void SetPop3Fault(const std::string& line);

// How many messages the dropping SMTP server has received data of, and the data of message n.
int DroppedServerMessages();
std::string DroppedServerMessage(int n);

} // namespace lxtest
