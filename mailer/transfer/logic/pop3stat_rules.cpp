#include "mailer/transfer/logic/pop3stat_rules.h"

#include "common/schema/schema.h"
#include "netlib/core/codes.h"
#include "netlib/mime/ternmime.h"

#include <cstdio>

namespace lx {

StatusAction ActionForStatus(int code) {
    switch (code) {
    case TERN_POP3_DONE: return {StatusStep::RunOver};
    case TERN_POP3_NOBUFFER: return {StatusStep::Show, "POP3STAT_CPP_6", nullptr, true};
    case TERN_POP3_RECVFAIL: return {StatusStep::Show, "POP3STAT_CPP_7", nullptr, true};
    case TERN_POP3_SENDFAIL: return {StatusStep::Show, "POP3STAT_CPP_8", nullptr, true};
    case TERN_POP3_NOCONNECT: return {StatusStep::Show, "POP3STAT_CPP_10", "POP3STAT_CPP_9", true};
    case TERN_POP3_REFUSED: return {StatusStep::ServerSaid, "POP3STAT_CPP_11", nullptr, true};
    case TERN_POP3_NOSPOOL: return {StatusStep::Show, "POP3STAT_CPP_13", nullptr, true};
    // 7 is not sent by the connection; a spool file that cannot be written is 8, and it is the
    // same failure to the user.
    case 7:
    case TERN_POP3_WRITEFAIL: return {StatusStep::Show, "POP3STAT_CPP_14", nullptr, true};
    case TERN_POP3_EMPTY: return {StatusStep::Empty, "POP3STAT_CPP_15"};
    case TERN_POP3_NOWINDOW: return {StatusStep::Show, "POP3STAT_CPP_17", nullptr, true};
    case TERN_POP3_NOSERVER: return {StatusStep::Show, "POP3STAT_CPP_18", nullptr, true};
    case TERN_POP3_NOSOCKET: return {StatusStep::Show, "POP3STAT_CPP_19", nullptr, true};
    case TERN_POP3_PEERCLOSED: return {StatusStep::Show, "POP3STAT_CPP_20", nullptr, true};
    case TERN_POP3_NOUSER: return {StatusStep::Show, "POP3STAT_CPP_21"};
    case TERN_POP3_NOPASSWORD: return {StatusStep::Show, "POP3STAT_CPP_22"};
    case TERN_POP3_STORED: return {StatusStep::Stored};
    case TERN_POP3_CONNECTED: return {StatusStep::Show, nullptr, "POP3STAT_CPP_23"};
    case TERN_POP3_COUNT: return {StatusStep::Count, "POP3STAT_CPP_16"};
    case TERN_POP3_OK: return {StatusStep::ReceivedOk, "POP3STAT_CPP_24"};
    case TERN_POP3_PROGRESS: return {StatusStep::Progress};
    case TERN_POP3_SPOOLED: return {StatusStep::Spooled};
    case TERN_POP3_SECURED: return {StatusStep::Show, nullptr, "POP3STAT_CPP_43"};
    // The reason comes with it, in the library's words or with the server's reply.
    case TERN_POP3_INSECURE: return {StatusStep::ServerSaid, "POP3STAT_CPP_44", nullptr, true};
    default: return {};
    }
}

std::string SpoolBackupName(const LocalTime& t) {
    char name[64];
    std::snprintf(name, sizeof name, "BadFile-%02d-%02d-%d-%02d-%02d-%02d.TXT", t.month, t.day,
                  t.year, t.hour, t.minute, t.second);
    return name;
}

bool RunCutShort(int messagesStored, int messageTotal) {
    return messagesStored > 0 && messagesStored < messageTotal;
}

int MessagesToScan(int spoolCount, int messagesStored, int messageTotal) {
    if (RunCutShort(messagesStored, messageTotal) && messagesStored < spoolCount)
        return messagesStored;
    return spoolCount;
}

FolderChoice DefaultFolderChoice(const std::string& mailboxFolder, long mailboxFolderNum,
                                 long inFolderNum) {
    if (mailboxFolder.empty() || mailboxFolderNum <= 0) return {kFolderIn, inFolderNum};
    return {mailboxFolder, mailboxFolderNum};
}

std::string PercentageText(const char* connectionText) {
    return std::string(connectionText ? connectionText : "0.00") + "%";
}

std::string ServerReplyLine(const char* reply) {
    std::string line(reply ? reply : "");
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

bool WatchdogEndsRun(bool stillConnecting, bool statusSinceLastTick) {
    return stillConnecting || !statusSinceLastTick;
}

std::vector<const char*> ScanFlagKeys(std::int32_t flags) {
    std::vector<const char*> keys;
    if (flags & TERN_SCAN_MALFORMED) keys.push_back(kKeyMalformed);
    if (flags & TERN_SCAN_CUT_SHORT) keys.push_back(kKeyCutShort);
    if (flags & TERN_SCAN_FILES_LOST) keys.push_back(kKeyFilesLost);
    return keys;
}

} // namespace lx
