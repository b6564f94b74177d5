// What the "Send Mail [SMTP]" dialog does with each status code of its SMTP session: the log line,
// the status text, and whether the code ends the run, reports a message sent or its progress.
#pragma once

#include <string>

namespace lx {

// What a log line is formatted with.
enum class StatusLogArg {
    None,
    Number, // lParam: a message number (the dialog shows its own row number)
    Reply,  // lParam: the server's reply text; replyMissingKey when there is none
};

struct SmtpStatusAction {
    const char* logKey = nullptr; // log line, nullptr for none
    StatusLogArg logArg = StatusLogArg::None;
    const char* replyMissingKey = nullptr;
    const char* statusKey = nullptr; // new status text, nullptr to keep it
    bool finish = false;             // the run is over: close the session, move what was sent
    bool sent = false;               // lParam: the message the server accepted
    bool progress = false;           // lParam: the percentage text of the current message
};

// The action of a status code; codes the session does not send (21 and above, negative) and
// 7 do nothing but what the table says (nothing, or one log line).
SmtpStatusAction ActionOfSmtpStatus(int code);

// The server's reply as log text: its line ends become the log's CR LF, the closing ones go.
std::string ReplyLogText(const char* reply);

} // namespace lx
