#include "mailer/transfer/logic/popcpw_rules.h"

#include "mailer/transfer/logic/mboxedit_rules.h"
#include "netlib/core/codes.h"

namespace lx {
namespace {

struct StatusRow {
    int status;
    PasswordStatusAction action;
};

// Each status of the session and its log entry.
const StatusRow kStatusRows[] = {
    {TERN_CPW_NOWINDOW, {"POPCPW_CPP_8"}},
    {TERN_CPW_NOSERVER, {"POPCPW_CPP_9"}},
    {TERN_CPW_NOUSER, {"POPCPW_CPP_12"}},
    {TERN_CPW_NOOLDPASS, {"POPCPW_CPP_13"}},
    {TERN_CPW_NONEWPASS, {"POPCPW_CPP_14"}},
    {TERN_CPW_NOBUFFER, {"POPCPW_CPP_3"}},
    {TERN_CPW_NOSOCKET, {"POPCPW_CPP_10"}},
    {TERN_CPW_NOCONNECT, {"POPCPW_CPP_6"}},
    {TERN_CPW_SENDFAIL, {"POPCPW_CPP_5"}},
    {TERN_CPW_RECVFAIL, {"POPCPW_CPP_4"}},
    {TERN_CPW_PEERCLOSED, {"POPCPW_CPP_11"}},
    {TERN_CPW_CONNECTED, {"POPCPW_CPP_15"}},
    {TERN_CPW_REFUSED, {"POPCPW_CPP_7", true}},
    {TERN_CPW_CHANGED, {"POPCPW_CPP_16", false, true}},
    {TERN_CPW_DONE, {"POPCPW_CPP_2", false, false, true}},
};

} // namespace

PasswordChangeRefusal CheckPasswordChange(const std::string& server, const std::string& user,
                                          const std::string& current,
                                          const std::string& newPassword,
                                          const std::string& again) {
    if (newPassword != again) return PasswordChangeRefusal::Mismatch;
    if (newPassword.size() > kChangePasswordChars) return PasswordChangeRefusal::NewTooLong;
    if (!IsStorablePassword(newPassword)) return PasswordChangeRefusal::NewNotPlain;
    if (current.size() > kChangePasswordChars) return PasswordChangeRefusal::CurrentTooLong;
    if (server.size() > kPasswordServerChars) return PasswordChangeRefusal::ServerTooLong;
    if (user.size() > kPasswordUserChars) return PasswordChangeRefusal::UserTooLong;
    return PasswordChangeRefusal::None;
}

const char* PasswordRefusalKey(PasswordChangeRefusal refusal) {
    switch (refusal) {
    case PasswordChangeRefusal::None: return nullptr;
    case PasswordChangeRefusal::Mismatch: return "POPCPW_CPP_18";
    case PasswordChangeRefusal::NewTooLong: return "POPCPW_CPP_19";
    case PasswordChangeRefusal::NewNotPlain: return "POPCPW_CPP_20";
    case PasswordChangeRefusal::CurrentTooLong: return "POPCPW_CPP_21";
    case PasswordChangeRefusal::ServerTooLong: return "POPCPW_CPP_22";
    case PasswordChangeRefusal::UserTooLong: return "POPCPW_CPP_23";
    }
    return nullptr;
}

PasswordStatusAction ActionForPasswordStatus(int status) {
    for (const StatusRow& row : kStatusRows)
        if (row.status == status) return row.action;
    return {};
}

std::string PasswordLogLine(const std::string& text, const char* after) {
    std::string line = text;
    if (after) {
        std::string reply = after;
        while (!reply.empty() && (reply.back() == '\r' || reply.back() == '\n')) reply.pop_back();
        line += reply;
    }
    return line + "\r\n";
}

} // namespace lx
