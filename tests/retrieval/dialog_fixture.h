// The "Retrieving Mail [POP3]" dialog run in-process under Wine against Dovecot (and scripted
// servers) and the runner's store, with an installation folder and mailbox values of its own.
#pragma once

#include "tests/retrieval/storerows.h"
#include "tests/startup/uitest.h"

#include "common/catalog/msgcatalog.h"
#include "mailer/transfer/logic/transfermarks.h"
#include "mailer/transfer/pop3stat.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lxtest {

// The names of the files (not folders) in `dir` that match `pattern`.
std::vector<std::string> FilesIn(const std::string& dir, const std::string& pattern);

// The current mailbox's registry values the dialog reads.
struct MailboxSetting {
    std::string server = "127.0.0.2";
    std::string user = "joe";
    std::string password = "secret"; // stored scrambled
    int deleteMail = 0;
    int apop = 0;
    std::string defaultFolder = "_IN";
    long defaultFolderNum = 0; // 0: the _IN of the test store
};

class RetrievalDialogTest : public RetrievalStoreTest {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    void TearDown() override;

    // The Dovecot mailbox of user joe holds exactly these messages.
    void FillServer(const std::vector<std::string>& messages);
    int ServerCount() const;
    void WriteMailbox(const MailboxSetting& setting);

    // Runs the dialog until it ends. `until` is asked every few milliseconds while the dialog is
    // open; when it answers true the dialog is closed as the user would. `onStatus` sees every
    // status message after the dialog has handled it.
    INT_PTR Run(std::function<bool(HWND dialog)> until,
                std::function<void(HWND dialog, int code, LPARAM value)> onStatus = nullptr);
    // The connection's run is over and what it brought is stored.
    bool RunFinished(HWND dialog) const;
    std::string Text(const char* key) const;
    bool Logged(const char* key) const; // the last run's Messages box holds the key's text
    std::vector<std::string> BackupFiles() const;

    static lx::MessageCatalog* s_catalog;
    std::string install;
    std::string registryKey;
    lx::TransferMarks marks;
    lx::Pop3StatData data;
    long in = 0;
    std::unique_ptr<ScriptedHook> hook;
};

} // namespace lxtest
