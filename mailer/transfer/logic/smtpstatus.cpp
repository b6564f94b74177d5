#include "mailer/transfer/logic/smtpstatus.h"

#include "netlib/core/codes.h"

namespace lx {
namespace {

SmtpStatusAction Log(const char* key, StatusLogArg arg = StatusLogArg::None) {
    SmtpStatusAction a;
    a.logKey = key;
    a.logArg = arg;
    return a;
}

SmtpStatusAction Finish(const char* key) {
    SmtpStatusAction a = Log(key);
    a.finish = true;
    return a;
}

// Codes 6 to 14 log the texts 21 to 29 in that order.
constexpr const char* kSpoolAndSetupKeys[] = {
    "MAILLETT_CPP_21", "MAILLETT_CPP_22", "MAILLETT_CPP_23", "MAILLETT_CPP_24", "MAILLETT_CPP_25",
    "MAILLETT_CPP_26", "MAILLETT_CPP_27", "MAILLETT_CPP_28", "MAILLETT_CPP_29"};

} // namespace

SmtpStatusAction ActionOfSmtpStatus(int code) {
    SmtpStatusAction a;
    switch (code) {
    case TERN_SMTP_DONE: a.finish = true; return a;
    case TERN_SMTP_NOBUFFER: return Log("MAILLETT_CPP_14");
    case TERN_SMTP_RECVFAIL: return Finish("MAILLETT_CPP_15");
    case TERN_SMTP_SENDFAIL: return Finish("MAILLETT_CPP_16");
    case TERN_SMTP_NOCONNECT:
        a = Log("MAILLETT_CPP_17");
        a.statusKey = "MAILLETT_CPP_18";
        return a;
    case TERN_SMTP_REFUSED:
        a = Log("MAILLETT_CPP_19", StatusLogArg::Reply);
        a.replyMissingKey = "MAILLETT_CPP_20";
        return a;
    case TERN_SMTP_SENT: a.sent = true; return a;
    case 16: return Log("MAILLETT_CPP_30", StatusLogArg::Number);
    case TERN_SMTP_CONNECTED: a.statusKey = "MAILLETT_CPP_31"; return a;
    case TERN_SMTP_OK: return Log("MAILLETT_CPP_32");
    case TERN_SMTP_PROGRESS: a.progress = true; return a;
    case TERN_SMTP_MSGFAILED: return Log("MAILLETT_CPP_33", StatusLogArg::Number);
    default: break;
    }
    if (code >= TERN_SMTP_NOSPOOL && code <= TERN_SMTP_BADSPOOL)
        return Log(kSpoolAndSetupKeys[code - TERN_SMTP_NOSPOOL]);
    return a;
}

std::string ReplyLogText(const char* reply) {
    std::string text;
    for (const char* p = reply; p && *p; ++p) {
        if (*p == '\r') continue;
        if (*p == '\n')
            text += "\r\n";
        else
            text += *p;
    }
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return text;
}

} // namespace lx
