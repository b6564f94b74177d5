// A store holding _OUT and _SENT, and messages queued in _OUT as the composer stores them.
#pragma once

#include <string>
#include <vector>

#include "tests/store/store_fixture.h"

namespace lxtest {

struct Queued {
    std::string subject = "Hello";
    std::string text = "Hello there.\r\n";
    std::string from = "me@example.org";
    std::vector<std::string> to = {"you@example.org"};
    std::vector<std::string> cc;
    std::vector<std::string> files;
    std::string signature; // MesgId: the name of the signature to append
};

class QueueTest : public StoreTest {
protected:
    void SetUp() override;
    // Stores the message in _OUT; its MesgNum.
    long Queue(const Queued& message, int second = 0);
    // The folder a message is in now, -1 when it is gone.
    long FolderOf(long mesgNum);
    long out = -1, sent = -1;
};

} // namespace lxtest
