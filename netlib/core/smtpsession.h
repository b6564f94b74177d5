// The SMTP sender: delivers every message of an outgoing spool file, driven by socket events.
#ifndef LX_NETLIB_CORE_SMTPSESSION_H
#define LX_NETLIB_CORE_SMTPSESSION_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "netlib/core/replybuffer.h"
#include "netlib/core/sessionbase.h"
#include "netlib/core/spoolreader.h"

namespace lx::net {

class SmtpSession : public SessionBase {
 public:
  static constexpr int kPort = 25;

  SmtpSession(SessionPort& port, const char* spoolPath);

  // Starts a run; 0 when the connection is being made, -2 when a start check failed.
  int sendMail(const char* server);
  // One socket event of the session's stream client (codes 15005 to 15012).
  void onEvent(int code, std::intptr_t value);

  int state() const { return state_; }
  int messageCount() const { return count_; }
  int index() const { return index_; }

 private:
  void onData();
  void onReply();
  void onSent();
  void failStart(int code);
  void endRun();
  void refuse();
  void quitAfter(int code);
  void sendOrFail(const std::string& command, int nextState);
  void startNextMessage();
  void afterMessage();
  void sendRecipient();
  bool sendDataLine();
  void fillWindow();
  void dataLineSent();
  bool readLine(std::string& line) { return reader_.next(line); }

  std::unique_ptr<SpoolFile> spool_;
  SpoolReader reader_;
  ReplyBuffer reply_{ReplyRule::Smtp};
  std::string server_;
  std::string spoolPath_;
  std::string sender_;
  std::string progress_;
  int count_ = -1;
  int index_ = 1;
  int state_ = 0;
  std::int64_t dataTotal_ = 0;
  std::int64_t dataSent_ = 0;
  // Data lines written but not yet reported sent (their lengths), and their byte total.
  std::deque<std::int64_t> inFlight_;
  std::int64_t inFlightBytes_ = 0;
  char chunk_[ReplyBuffer::kCapacity];
};

}  // namespace lx::net

#endif
