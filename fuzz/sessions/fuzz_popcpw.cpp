// libFuzzer target: the password-change session against a server that says anything, in any
// chunks. Beyond the common checks: the new password goes out only after the old one was
// accepted, and the change is reported only after the server accepted the new one.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/sessions/sessiondrive.h"
#include "netlib/core/popcpwsession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lx::net::CpwState;
    FuzzedDataProvider in(data, size);
    lxfuzz::DriveRules rules;
    rules.doneCode = TERN_CPW_DONE;
    rules.peerClosedCode = TERN_CPW_PEERCLOSED;
    lxfuzz::FakePort port({TERN_CPW_REFUSED});
    lx::net::PopCpwSession s(port);
    if (s.changeNow("pop.example.org", "joe", "old", "new") != 0) std::abort();
    std::size_t seen = 0, posts = 0;
    bool passSent = false, newSent = false;
    auto afterStep = [&] {
        for (; seen < port.writes.size(); ++seen) {
            const std::string& w = port.writes[seen];
            if (lxfuzz::StartsWith(w, "PASS ")) passSent = true;
            if (lxfuzz::StartsWith(w, "NEWPASS ")) {
                FUZZ_CHECK(passSent);
                newSent = true;
            }
        }
        for (; posts < port.posts.size(); ++posts)
            if (port.posts[posts].code == TERN_CPW_CHANGED) FUZZ_CHECK(newSent);
    };
    lxfuzz::Drive(in, port, s, rules, afterStep);
    return 0;
}
