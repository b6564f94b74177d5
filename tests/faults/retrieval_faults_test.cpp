// Mail is never lost while it is retrieved, whatever fails: the connection cut anywhere in the
// messages, a server that stops answering or never greets, a store that fills up and an
// attachment folder that refuses files during the scan. "Lost" is a message that is neither in
// the store nor on the server; every case counts them, and counts duplicates after a clean run.
#include "tests/faults/faultcases.h"
#include "tests/faults/faultpeer.h"

#include "mailer/transfer/logic/pop3stat_rules.h"
#include "netlib/core/codes.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace lxtest {
namespace {

// Where RETR of which message is cut: the proxy's fault line, and a name for the report.
struct CutCase {
    const char* name;
    std::string fault;
};

std::vector<CutCase> CutCases(bool longSweep) {
    std::vector<CutCase> cases = {
        {"before the first byte", "cut 1 0"},
        {"inside the status line", "cut 1 5"},
        {"middle of message 2", "cut 2 0.5"},
        {"before the terminating full stop", "cut 2 -3"},
        {"after the full stop, before CR LF", "cut 2 -2"},
        {"between CR and LF of the full stop line", "cut 2 -1"},
        {"between messages 2 and 3", "cut 2 100000000"},
        {"after the last message", "cut 4 100000000"},
    };
    // Further places, the same for every run (fixed seed).
    std::mt19937 random(20261210u);
    const int extra = longSweep ? 40 : 3;
    for (int i = 0; i < extra; ++i) {
        const int message = 1 + static_cast<int>(random() % kFaultMessages);
        const double at = static_cast<double>(random() % 10000) / 10000.0;
        cases.push_back(
            {"seeded", "cut " + std::to_string(message) + " " + std::to_string(at).substr(0, 6)});
    }
    return cases;
}

// Cut anywhere, then a clean run, then one more: each message stored exactly once, none deleted
// on the server before it was stored, none left behind.
void SweepCuts(FaultRetrievalTest& t, const std::vector<CutCase>& cases) {
    for (const CutCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.fault);
        t.ResetStoreAndServer();
        SetPop3Fault(c.fault);
        t.RunAutomatic(kFaultProxy);
        // Nothing the server deleted is missing from the store; the server deletes nothing at
        // all, as the session never ended properly.
        EXPECT_EQ(t.Lost(), 0) << t.data.messages;
        EXPECT_EQ(t.ServerCount(), kFaultMessages) << t.data.messages;
        EXPECT_EQ(t.StoredCount(), 0) << t.data.messages; // they come with the next run
        t.RunAutomatic(kDovecot);
        EXPECT_EQ(t.Lost(), 0) << t.data.messages;
        EXPECT_EQ(t.ServerCount(), 0) << t.data.messages;
        t.RunAutomatic(kDovecot);
        EXPECT_TRUE(t.EachStoredOnce()) << t.data.messages;
        t.Tally("connection cut in RETR", c.fault);
    }
}

// LX_FAULTS_LONG set (make faults): many more seeded places.
TEST_F(FaultRetrievalTest, ConnectionCutAnywhereLosesAndDoublesNothing) {
    SweepCuts(*this, CutCases(std::getenv("LX_FAULTS_LONG") != nullptr));
}

// A mailbox that leaves its mail on the server: a run cut short stores the complete messages
// and the server keeps every one.
TEST_F(FaultRetrievalTest, CutRunKeepingMailOnTheServerStoresTheCompleteOnes) {
    deleteMail = false;
    for (const char* fault : {"cut 3 0.5", "cut 1 0.5"}) {
        SCOPED_TRACE(fault);
        ResetStoreAndServer();
        SetPop3Fault(fault);
        RunAutomatic(kFaultProxy);
        const int complete = fault[4] - '1';
        EXPECT_EQ(StoredCount(), complete) << data.messages; // each once: Tally counts twins
        EXPECT_EQ(ServerCount(), kFaultMessages);
        EXPECT_EQ(Lost(), 0);
        Tally("connection cut, mail kept on the server", fault);
    }
}

// A server that stops answering in the middle of a message, or never greets: the run ends by
// itself within its watchdog's time, says why, and the next run brings everything.
TEST_F(FaultRetrievalTest, SilentServerEndsTheRunAndTheNextRunWorks) {
    struct Case {
        const char* fault;
        bool automatic;
    };
    for (const Case& c : {Case{"stall 2 0.5", false}, Case{"nogreet", false},
                          Case{"stall 3 -1", true}, Case{"nogreet", true}}) {
        SCOPED_TRACE(std::string(c.fault) + (c.automatic ? " (automatic)" : " (manual)"));
        ResetStoreAndServer();
        SetPop3Fault(c.fault);
        data.watchdogMillis = 400;
        const DWORD start = ::GetTickCount();
        if (c.automatic)
            RunAutomatic(kFaultProxy);
        else
            RunManual(kFaultProxy);
        // Two periods at most (one with news, one without), and the store work.
        EXPECT_LT(::GetTickCount() - start, 8000u);
        EXPECT_TRUE(Logged(lx::kKeyServerSilent)) << data.messages;
        EXPECT_EQ(data.connectionStatus, Text(lx::kKeyDisconnected));
        EXPECT_EQ(ServerCount(), kFaultMessages);
        EXPECT_EQ(Lost(), 0);
        data.watchdogMillis = lx::kPop3WatchdogMillis;
        RunAutomatic(kDovecot);
        EXPECT_TRUE(Logged(lx::kKeyAllStored)) << data.messages;
        EXPECT_TRUE(EachStoredOnce());
        EXPECT_EQ(ServerCount(), 0);
        Tally("server silent", c.fault);
    }
}

// The store fills up in the middle of the scan: none of the run's rows stay (no message is
// stored half, and none twice later), the store says why in its own words, the backup stays,
// the server keeps everything; once there is room, the next run stores every message once.
TEST_F(FaultRetrievalTest, StoreFullDuringTheScanStoresNothingHalf) {
    if (!StoreIsSqlite()) GTEST_SKIP() << "the store's size limit is set the SQLite way";
    ResetStoreAndServer(kBigText);
    LimitStoreGrowth(12); // room for about one message
    RunAutomatic(kDovecot);
    LimitStoreGrowth(-1);
    EXPECT_EQ(StoredCount(), 0) << data.messages;
    EXPECT_TRUE(StoreSaid("full")) << data.messages;
    EXPECT_TRUE(Logged(lx::kKeyNothingStored)) << data.messages;
    EXPECT_EQ(BackupFiles().size(), 1u);
    EXPECT_TRUE(AttachmentFiles().empty()); // the files of the undone scan are gone
    EXPECT_EQ(ServerCount(), kFaultMessages);
    EXPECT_EQ(Lost(), 0);
    RunAutomatic(kDovecot);
    EXPECT_TRUE(EachStoredOnce()) << data.messages;
    EXPECT_EQ(ServerCount(), 0);
    Tally("store full during the scan", "max_page_count");
}

// The attachment folder cannot take files (a file stands where the folder should be): the
// message is not stored without its attachment, the log says so in the system's words, nothing
// of the run is stored, and the next run after the repair stores every message once.
TEST_F(FaultRetrievalTest, AttachmentFolderRefusingFilesStoresNothingHalf) {
    ResetStoreAndServer();
    BlockAttachmentFolder(true);
    RunAutomatic(kDovecot);
    const std::string said = LoggedLine(lx::kKeyFileNotSaved);
    BlockAttachmentFolder(false);
    EXPECT_EQ(StoredCount(), 0) << data.messages;
    ASSERT_FALSE(said.empty()) << data.messages;
    // The line ends with the system's own words for what went wrong.
    const std::string words = said.substr(said.rfind(": ") + 2);
    EXPECT_FALSE(words.empty()) << said;
    EXPECT_EQ(words.find("error "), std::string::npos) << said; // not a bare number
    std::printf("attachment folder refused: %s\n", said.c_str());
    EXPECT_TRUE(Logged(lx::kKeyNothingStored)) << data.messages;
    EXPECT_EQ(BackupFiles().size(), 1u);
    EXPECT_EQ(ServerCount(), kFaultMessages);
    EXPECT_EQ(Lost(), 0);
    RunAutomatic(kDovecot);
    EXPECT_TRUE(EachStoredOnce()) << data.messages;
    EXPECT_EQ(AttachmentFiles().size(), static_cast<size_t>(kFaultMessages));
    EXPECT_EQ(ServerCount(), 0);
    Tally("attachment folder refuses files", "DATA is a file");
}

// A damaged message is stored as it came: the server may then delete the run's messages, or
// they would come again with every retrieval.
TEST_F(FaultRetrievalTest, DamagedMessageIsStoredOnceAndLeavesTheServer) {
    ResetStoreAndServer(0, /*damagedSecond=*/true);
    RunAutomatic(kDovecot);
    EXPECT_TRUE(Logged(lx::kKeyMalformed)) << data.messages;
    EXPECT_EQ(BackupFiles().size(), 1u);
    EXPECT_EQ(ServerCount(), 0);
    RunAutomatic(kDovecot);
    EXPECT_TRUE(EachStoredOnce()) << data.messages;
    Tally("damaged message", "malformed MIME");
}

} // namespace
} // namespace lxtest
