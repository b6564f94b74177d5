// The rules of the "Change Password" dialog that need no window: the checks made before the
// password-change session starts, what each status of the session adds to the log, and the log's
// lines. Portable.
#pragma once
#include <cstddef>
#include <string>

namespace lx {

// The longest values the password-change session takes; it ignores longer ones.
constexpr std::size_t kPasswordServerChars = 47;
constexpr std::size_t kPasswordUserChars = 63;
constexpr std::size_t kChangePasswordChars = 15;

// Why Change Now does not start a session (nothing reaches the network).
enum class PasswordChangeRefusal {
    None,
    Mismatch,       // the new password and its repetition differ
    NewTooLong,     // the new password is longer than the session takes
    NewNotPlain,    // the new password holds a character that cannot be stored scrambled
    CurrentTooLong, // the mailbox's password is longer than the session takes
    ServerTooLong,  // the mailbox's POP3 server name is longer than the session takes
    UserTooLong,    // the mailbox's user name is longer than the session takes
};
PasswordChangeRefusal CheckPasswordChange(const std::string& server, const std::string& user,
                                          const std::string& current,
                                          const std::string& newPassword, const std::string& again);
// The catalogue key of the box that explains a refusal (nullptr for None).
const char* PasswordRefusalKey(PasswordChangeRefusal refusal);
// The caption of those boxes.
constexpr char kPasswordBoxCaptionKey[] = "POPCPW_CPP_17";
// The log's first line: this key followed by the mailbox's name.
constexpr char kPasswordRunStartKey[] = "POPCPW_CPP_1";

// What the dialog does with one status of the session.
struct PasswordStatusAction {
    const char* logKey = nullptr; // entry to log (nullptr: none)
    bool withText = false;        // the text at lParam follows the entry
    bool takeNewPassword = false; // the change is made: the caller gets the new password
    bool endsRun = false;         // the run is over: close the session, then log logKey
};
PasswordStatusAction ActionForPasswordStatus(int status);

// One log entry: the text, a reply or error text after it (its line breaks dropped at the end),
// then CR LF.
std::string PasswordLogLine(const std::string& text, const char* after = nullptr);

} // namespace lx
