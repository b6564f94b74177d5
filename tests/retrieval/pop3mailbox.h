// The Dovecot mailbox of the test peers' user joe (tools/testpeers/peers.sh), filled by the tests
// that retrieve from it.
#pragma once

#include <string>
#include <vector>

namespace lxtest {

// The maildir as a Wine path (Z: is the Unix root).
std::string Pop3MailDir();

// The mailbox holds exactly these messages afterwards, under names never used before: the
// server remembers sizes by file name. `tag` ends the names, so a test's files are known.
void FillPop3Mailbox(const std::vector<std::string>& messages, const char* tag);

} // namespace lxtest
