// The password changer: logs in to the password-change service and sends the new password.
#pragma once

#include <cstdint>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionbase.h"

namespace lx::net {

// The session's states. Each command has a sending state (left when the write has gone out)
// followed by the state that awaits its reply.
enum class CpwState : int {
    Greeting = 0,
    SendingUser = 1,
    AwaitUser = 2,
    SendingPass = 3,
    AwaitPass = 4,
    SendingNewPass = 5,
    AwaitNewPass = 6,
    SendingQuit = 7,
    AwaitQuit = 8,
};

class PopCpwSession : public SessionBase {
public:
    static constexpr int kPort = 106;
    static constexpr const char* kService = "epass";

    explicit PopCpwSession(SessionPort& port);

    int changeNow(const char* server, const char* user, const char* oldPassword,
                  const char* newPassword);

    CpwState cpwState() const { return static_cast<CpwState>(state_); }

private:
    void onData() override;
    void onSent() override;
    void onReply();

    std::string server_;
    std::string user_;
    std::string oldPassword_;
    std::string newPassword_;
    char chunk_[ReplyBuffer::kCapacity];
};

} // namespace lx::net
