// Lorvex killed while it stores what it retrieved: a second process of this program runs the
// retrieval dialog and is killed in the middle of its scan, at a moment found by watching the
// attachment files it writes. The scan is one store transaction and the server deletes only
// after it, so the next retrieval finds every message on the server and stores each once.
#include "tests/faults/faultcases.h"
#include "tests/faults/faultpeer.h"

#include "common/schema/storeconnection.h"
#include "common/win/handles.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/pop3stat.h"
#include "netlib/tern32.h"
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace lxtest {
namespace {

constexpr char kChildInstall[] = "LX_FAULT_CHILD_INSTALL";
constexpr char kChildKey[] = "LX_FAULT_CHILD_KEY";
constexpr int kKillMessages = 16;
constexpr DWORD kMomentMillis = 60000;

// The second process: retrieval in automatic mode with the parent's folder, mailbox and store.
TEST(KilledChild, DISABLED_RetrievesUntilKilled) {
    const char* install = std::getenv(kChildInstall);
    const char* key = std::getenv(kChildKey);
    ASSERT_TRUE(install && key) << "started by KilledDuringTheScanLosesNothing only";
    InstallErrorHook();
    lx::StoreConnection store;
    ASSERT_EQ(store.Open(kDsn), lx::StoreConnection::Outcome::Connected);
    TERNStartWinSock(0x0101);
    ScriptedHook hook;
    lx::TransferMarks marks;
    lx::Pop3StatData data;
    data.catalog = &BuiltCatalogue();
    data.conn = store.Get();
    data.installPath = install;
    data.marks = &marks;
    data.registryKey = key;
    data.automatic = true;
    lx::ShowPop3StatDialog(nullptr, &data);
    TERNEndWinSock();
}

class KilledScan : public FaultRetrievalTest {
protected:
    // This program again, running only the child test above.
    lx::UniqueHandle StartChild() {
        char exe[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, exe, sizeof exe);
        ::SetEnvironmentVariableA(kChildInstall, install.c_str());
        ::SetEnvironmentVariableA(kChildKey, registryKey.c_str());
        std::string command = std::string("\"") + exe +
                              "\" --gtest_also_run_disabled_tests"
                              " --gtest_filter=KilledChild.DISABLED_RetrievesUntilKilled";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi))
            return lx::UniqueHandle();
        lx::UniqueHandle thread(pi.hThread);
        return lx::UniqueHandle(pi.hProcess);
    }

    // Bounded wait until the child's scan has written `files` attachment files; false when the
    // child ended (or the time ran out) before.
    bool WaitForScan(HANDLE child, int files) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kMomentMillis) {
            if (static_cast<int>(AttachmentFiles().size()) >= files) return true;
            if (::WaitForSingleObject(child, 1) == WAIT_OBJECT_0) return false;
        }
        return false;
    }
};

TEST_F(KilledScan, KilledDuringTheScanLosesNothing) {
    struct Moment {
        const char* name;
        int files;
    };
    for (const Moment& m : {Moment{"after the first message's file", 1},
                            Moment{"near the end of the scan", kKillMessages - 4}}) {
        SCOPED_TRACE(m.name);
        ResetStoreAndServer(0, false, kKillMessages);
        MailboxSetting setting;
        setting.server = kDovecot;
        setting.deleteMail = 1;
        WriteMailbox(setting);
        lx::UniqueHandle child = StartChild();
        ASSERT_TRUE(child.Valid());
        const bool reached = WaitForScan(child.Get(), m.files);
        DWORD code = 0;
        ::GetExitCodeProcess(child.Get(), &code);
        ::TerminateProcess(child.Get(), 9);
        ASSERT_EQ(::WaitForSingleObject(child.Get(), 10000), WAIT_OBJECT_0);
        ASSERT_TRUE(reached && code == STILL_ACTIVE) << "the scan ended before it could be cut";
        // Nothing of the killed scan stays in the store; the server still has every message.
        EXPECT_EQ(StoredCount(), 0);
        EXPECT_EQ(ServerCount(), kKillMessages);
        EXPECT_EQ(Lost(), 0);
        // The next start's retrieval brings every message, once.
        RunAutomatic(kDovecot);
        EXPECT_TRUE(EachStoredOnce()) << data.messages;
        EXPECT_EQ(ServerCount(), 0);
        RunAutomatic(kDovecot);
        EXPECT_TRUE(EachStoredOnce());
        Tally("Lorvex killed during the scan", m.name);
    }
}

} // namespace
} // namespace lxtest
