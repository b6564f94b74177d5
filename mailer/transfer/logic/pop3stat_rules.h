// The rules of the "Retrieving Mail [POP3]" dialog that need no window: what each status code of
// the POP3 connection does, the spool backup's name, how many messages a run cut short leaves to
// store, the folder unfiltered mail goes to, and when the automatic run's watchdog gives up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/clock/localtime.h"

namespace lx {

// Message number of the connection's status posts and of the dialog's own start request.
constexpr unsigned kPop3StartMessage = 0x0400 + 62;  // WM_USER+62
constexpr unsigned kPop3StatusMessage = 0x0400 + 63; // WM_USER+63
constexpr unsigned kPop3WatchdogTimer = 100;
constexpr unsigned kPop3WatchdogMillis = 60000;
// Lines reach the Messages box, and the percentage its field, at most this far apart: showing each
// line or chunk costs more than retrieving the message.
constexpr unsigned kPop3LogTimer = 101;
constexpr unsigned kPop3ShowMillis = 100;

constexpr char kIncomingSpoolFile[] = "TernPop3.Txt";
constexpr char kAttachmentFolder[] = "DATA";
constexpr char kNoPercentage[] = "0.0%";

// Catalogue keys the retrieval uses by name.
inline constexpr char kKeyConnecting[] = "POP3STAT_CPP_25";
inline constexpr char kKeyConnectionClosed[] = "POP3STAT_CPP_1";
inline constexpr char kKeyDisconnected[] = "POP3STAT_CPP_2";
inline constexpr char kKeyStoring[] = "POP3STAT_CPP_3";
inline constexpr char kKeyAllStored[] = "POP3STAT_CPP_4";
inline constexpr char kKeyNotAllStored[] = "POP3STAT_CPP_5";
inline constexpr char kKeyNoReason[] = "POP3STAT_CPP_12";
inline constexpr char kKeyFiltersLoaded[] = "POP3STAT_CPP_26";
inline constexpr char kKeyNoFilters[] = "POP3STAT_CPP_27";
inline constexpr char kKeySpoolEmpty[] = "POP3STAT_CPP_28";
inline constexpr char kKeyFilterCheck[] = "POP3STAT_CPP_29";    // %d: message number
inline constexpr char kKeyStoredInFolder[] = "POP3STAT_CPP_30"; // %s: folder name
inline constexpr char kKeyFilterDeleted[] = "POP3STAT_CPP_31";
inline constexpr char kKeyNoRecipient[] = "POP3STAT_CPP_33";
inline constexpr char kKeyReceiveFinished[] = "POP3STAT_CPP_34";
inline constexpr char kKeyMalformed[] = "POP3STAT_CPP_35";         // %d: message number
inline constexpr char kKeyCutShort[] = "POP3STAT_CPP_36";          // %d: message number
inline constexpr char kKeyFilesLost[] = "POP3STAT_CPP_45";         // %d: message number
inline constexpr char kKeyStoredDamaged[] = "POP3STAT_CPP_37";     // %s: backup file name
inline constexpr char kKeyChildrenNotLinked[] = "POP3STAT_CPP_38"; // %d: message number
inline constexpr char kKeyFiltersUnreadable[] = "POP3STAT_CPP_39";
inline constexpr char kKeyBackupFailed[] = "POP3STAT_CPP_40";
inline constexpr char kKeyLeftOnServer[] = "POP3STAT_CPP_42";
inline constexpr char kKeyFileNotSaved[] = "POP3STAT_CPP_50";  // %d message, %s folder, %s why
inline constexpr char kKeyNothingStored[] = "POP3STAT_CPP_51"; // %s: backup file name
inline constexpr char kKeyServerSilent[] = "POP3STAT_CPP_52";
inline constexpr char kKeyKeptOnServer[] = "POP3STAT_CPP_53"; // %d messages, %s backup file name
inline constexpr char kKeyRetrievingTitle[] =
    "POP3STAT_CPP_41"; // the main window's title meanwhile

// What the dialog does with one status code.
enum class StatusStep {
    Refresh,    // nothing but refreshing the fields (codes the connection does not send)
    Show,       // log the line and/or set "Connection Status" as the action gives them
    RunOver,    // 0: close the connection; scan when everything was received
    ServerSaid, // 5: the line, then the server's own text as a line of its own
    Empty,      // 9: "Total Mail Waiting" 0, and the line
    Stored,     // 16: message n is complete
    Count,      // 18: the number of messages waiting, and the line
    ReceivedOk, // 19: the line; the run received everything
    Progress,   // 20: "Percentage Received" from the connection's text
    Spooled     // 21: everything is in the spool and marked for deletion: store, then decide
};

struct StatusAction {
    StatusStep step = StatusStep::Refresh;
    const char* logKey = nullptr;        // line added to the Messages box
    const char* connectionKey = nullptr; // new "Connection Status" text
    bool error = false;                  // the run failed: an automatic run closes the dialog
};

StatusAction ActionForStatus(int code);

// "BadFile-" and the time as "%02d-%02d-%d-%02d-%02d-%02d.TXT" (month, day, year, hour, minute,
// second).
std::string SpoolBackupName(const LocalTime& now);

// Whether the connection ended after some but not all messages were complete.
bool RunCutShort(int messagesStored, int messageTotal);
// How many messages of the spool to store: only the complete ones of a run cut short.
int MessagesToScan(int spoolCount, int messagesStored, int messageTotal);

// The folder that takes mail no filter files elsewhere: the mailbox's own, or `_IN` when the
// mailbox names none.
struct FolderChoice {
    std::string name;
    long number = 0;
};
FolderChoice DefaultFolderChoice(const std::string& mailboxFolder, long mailboxFolderNum,
                                 long inFolderNum);

// "Percentage Received" for the connection's "%.2f" text.
std::string PercentageText(const char* connectionText);

// The server's reply as one line of the Messages box: its line ends dropped.
std::string ServerReplyLine(const char* reply);

// The automatic run's watchdog ends the run when the connection is still being made, or when the
// connection has said nothing during the whole period (a server that stopped answering).
bool WatchdogEndsRun(bool stillConnecting, bool statusSinceLastTick);

// The catalogue keys of what the scanner found wrong with a message (its flag bits).
std::vector<const char*> ScanFlagKeys(std::int32_t flags);

} // namespace lx
