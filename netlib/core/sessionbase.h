// What the three protocol sessions share: the host port, the recorded status and the end of a run.
#ifndef LX_NETLIB_CORE_SESSIONBASE_H
#define LX_NETLIB_CORE_SESSIONBASE_H

#include <cstdint>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionport.h"
#include "netlib/core/textring.h"

namespace lx::net {

class SessionBase {
 public:
  explicit SessionBase(SessionPort& port) : port_(port) {}
  virtual ~SessionBase() = default;
  SessionBase(const SessionBase&) = delete;
  SessionBase& operator=(const SessionBase&) = delete;

  int status() const { return status_; }
  bool runOver() const { return runOver_; }

 protected:
  // Posts a status and records it; a transient status is recorded as 0 right after posting, so
  // the end of the run can tell whether an error is outstanding.
  void post(int code, std::intptr_t value = 0, bool transient = false) {
    status_ = code;
    port_.post(code, value);
    if (transient) status_ = 0;
  }
  // Posts a status whose lParam is a text (a reply or an error text, or a progress figure).
  void postText(int code, const char* text, bool transient = false) {
    post(code, reinterpret_cast<std::intptr_t>(replies_.keep(text)), transient);
  }
  void postProgress(int code, const std::string& text) {
    post(code, reinterpret_cast<std::intptr_t>(figures_.keep(text.c_str())), true);
  }
  // One command, one stream write.
  bool send(const std::string& command) { return port_.write(command.data(), command.size()); }

  SessionPort& port_;
  TextRing<8, ReplyBuffer::kCapacity + 1> replies_;
  TextRing<64, 16> figures_;
  int status_ = 0;
  bool runOver_ = false;
};

}  // namespace lx::net

#endif
