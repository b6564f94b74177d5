// What a sending run ("Send Mail [SMTP]", the mail merge) does with each status code of its SMTP
// session: the log line, the status text, and whether the code ends the run, reports a message
// sent or its progress. Each dialog shows its own texts for the same codes.
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

// The catalogue keys a dialog shows for the session's codes.
struct SmtpStatusTexts {
    const char* noBuffer;      // 1
    const char* receiveFailed; // 2
    const char* sendFailed;    // 3
    const char* noConnection;  // 4, and its status text
    const char* noConnectionStatus;
    const char* refused;          // 5, followed by the reply
    const char* replyMissing;     // 5 without a reply text; nullptr: the key's text alone
    const char* spoolAndSetup[9]; // 6 to 14 in that order
    const char* sending;          // 16, with the message number
    const char* connectedStatus;  // 17
    const char* allSent;          // 18
    const char* messageFailed;    // 20, with the message number
    bool failuresFinish;          // 2 and 3 end the run at once
    const char* securedStatus;    // 21
    const char* insecure;         // 22, followed by the reason
    const char* loginFailed;      // 23, followed by the reason
};

// "Send Mail [SMTP]"
extern const SmtpStatusTexts kMailSendingTexts;
// "Send Mail [SMTP] - Mail Merge": only the end of the run (0) ends it; its failed message text
// also names the message's address.
extern const SmtpStatusTexts kMailMergeTexts;

// The action of a status code; codes the session does not send (24 and above, negative) and
// 7 do nothing but what the table says (nothing, or one log line).
SmtpStatusAction ActionOfSmtpStatus(int code, const SmtpStatusTexts& texts);

// The server's reply as log text: its line ends become the log's CR LF, the closing ones go.
std::string ReplyLogText(const char* reply);
// The reply as one log line (its line ends become blanks), cut to `most` characters.
std::string ReplyLogLine(const char* reply, std::size_t most);

} // namespace lx
