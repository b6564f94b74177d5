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

SmtpStatusAction Failure(const char* key, bool finish) {
    SmtpStatusAction a = Log(key);
    a.finish = finish;
    return a;
}

} // namespace

// Codes 6 to 14 log the texts 21 to 29 in that order.
const SmtpStatusTexts kMailSendingTexts = {
    "MAILLETT_CPP_14",
    "MAILLETT_CPP_15",
    "MAILLETT_CPP_16",
    "MAILLETT_CPP_17",
    "MAILLETT_CPP_18",
    "MAILLETT_CPP_19",
    "MAILLETT_CPP_20",
    {"MAILLETT_CPP_21", "MAILLETT_CPP_22", "MAILLETT_CPP_23", "MAILLETT_CPP_24", "MAILLETT_CPP_25",
     "MAILLETT_CPP_26", "MAILLETT_CPP_27", "MAILLETT_CPP_28", "MAILLETT_CPP_29"},
    "MAILLETT_CPP_30",
    "MAILLETT_CPP_31",
    "MAILLETT_CPP_32",
    "MAILLETT_CPP_33",
    true,
    "MAILLETT_CPP_44",
    "MAILLETT_CPP_45",
    "MAILLETT_CPP_46",
};

// Codes 6 to 14 log the texts 19 to 27 in that order.
const SmtpStatusTexts kMailMergeTexts = {
    "SENDMMF_CPP_13",
    "SENDMMF_CPP_14",
    "SENDMMF_CPP_15",
    "SENDMMF_CPP_16",
    "SENDMMF_CPP_17",
    "SENDMMF_CPP_18",
    nullptr,
    {"SENDMMF_CPP_19", "SENDMMF_CPP_20", "SENDMMF_CPP_21", "SENDMMF_CPP_22", "SENDMMF_CPP_23",
     "SENDMMF_CPP_24", "SENDMMF_CPP_25", "SENDMMF_CPP_26", "SENDMMF_CPP_27"},
    "SENDMMF_CPP_29",
    "SENDMMF_CPP_30",
    "SENDMMF_CPP_31",
    "SENDMMF_CPP_34",
    false,
    "SENDMMF_CPP_46",
    "SENDMMF_CPP_47",
    "SENDMMF_CPP_48",
};

SmtpStatusAction ActionOfSmtpStatus(int code, const SmtpStatusTexts& texts) {
    SmtpStatusAction a;
    switch (code) {
    case TERN_SMTP_DONE: a.finish = true; return a;
    case TERN_SMTP_NOBUFFER: return Log(texts.noBuffer);
    case TERN_SMTP_RECVFAIL: return Failure(texts.receiveFailed, texts.failuresFinish);
    case TERN_SMTP_SENDFAIL: return Failure(texts.sendFailed, texts.failuresFinish);
    case TERN_SMTP_NOCONNECT:
        a = Log(texts.noConnection);
        a.statusKey = texts.noConnectionStatus;
        return a;
    case TERN_SMTP_REFUSED:
        a = Log(texts.refused, StatusLogArg::Reply);
        a.replyMissingKey = texts.replyMissing;
        return a;
    case TERN_SMTP_SENT: a.sent = true; return a;
    case 16: return Log(texts.sending, StatusLogArg::Number);
    case TERN_SMTP_CONNECTED: a.statusKey = texts.connectedStatus; return a;
    case TERN_SMTP_OK: return Log(texts.allSent);
    case TERN_SMTP_PROGRESS: a.progress = true; return a;
    case TERN_SMTP_MSGFAILED: return Log(texts.messageFailed, StatusLogArg::Number);
    case TERN_SMTP_SECURED: a.statusKey = texts.securedStatus; return a;
    // The reason comes with them, in the library's words or with the server's reply.
    case TERN_SMTP_INSECURE:
    case TERN_SMTP_AUTHFAIL:
        a = Log(code == TERN_SMTP_INSECURE ? texts.insecure : texts.loginFailed,
                StatusLogArg::Reply);
        a.replyMissingKey = texts.replyMissing;
        return a;
    default: break;
    }
    if (code >= TERN_SMTP_NOSPOOL && code <= TERN_SMTP_BADSPOOL)
        return Log(texts.spoolAndSetup[code - TERN_SMTP_NOSPOOL]);
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

std::string ReplyLogLine(const char* reply, std::size_t most) {
    std::string line;
    for (const char* p = reply; p && *p && line.size() < most; ++p) {
        if (*p == '\r') continue;
        line += *p == '\n' ? ' ' : *p;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

} // namespace lx
