// The password changer: logs in to the password-change service and sends the new password.
#ifndef LX_NETLIB_CORE_POPCPWSESSION_H
#define LX_NETLIB_CORE_POPCPWSESSION_H

#include <cstdint>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionbase.h"

namespace lx::net {

class PopCpwSession : public SessionBase {
public:
    static constexpr int kPort = 106;
    static constexpr const char* kService = "epass";

    explicit PopCpwSession(SessionPort& port);

    int changeNow(const char* server, const char* user, const char* oldPassword,
                  const char* newPassword);

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

#endif
