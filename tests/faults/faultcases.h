// The retrieval dialog run against a POP3 server through faults, with the reckoning of every
// case: which of the server's messages are lost (in neither the store nor the server) and which
// are stored more than once.
#pragma once

#include "tests/retrieval/dialog_fixture.h"

#include <string>
#include <vector>

namespace lxtest {

constexpr int kFaultMessages = 4;
constexpr int kBigText = 24000; // a text body that fills store pages quickly

class FaultRetrievalTest : public RetrievalDialogTest {
public:
    // The store and the attachment folder emptied, no backups; the server holds the fault
    // messages "Fault 1".."Fault <count>", each with an attachment (bodyBytes: the text's size;
    // damagedSecond: message 2 has a broken MIME structure).
    void ResetStoreAndServer(int bodyBytes = 0, bool damagedSecond = false,
                             int count = kFaultMessages);
    // One run of the dialog with the mailbox's server set to `server`, deleting on the server
    // unless deleteMail is false. Automatic: it closes itself; manual: closed once it finished.
    void RunAutomatic(const char* server);
    void RunManual(const char* server);

    int StoredCount() const;
    // Messages of the server's original set that are neither stored nor on the server.
    int Lost() const;
    // Every message of the set is stored, and only once.
    bool EachStoredOnce() const;
    // One line of the fault report (LX_BINARY_DIR/faultpeers/report.txt): fault, case, lost and
    // duplicated messages as they stand now.
    void Tally(const std::string& fault, const std::string& what) const;

    bool StoreIsSqlite() const;
    // The store may grow by at most this many pages from now on (-1: no limit).
    void LimitStoreGrowth(int pages);
    // The store's error report, or a message box, said something holding `word`.
    bool StoreSaid(const std::string& word) const;
    // A file named DATA where the attachment folder should be (block), or the folder again.
    void BlockAttachmentFolder(bool block);
    std::vector<std::string> AttachmentFiles() const;
    // The Messages box line that holds the key's text up to its first argument ("" when none).
    std::string LoggedLine(const char* key) const;

    using RetrievalDialogTest::BackupFiles;
    using RetrievalDialogTest::data;
    using RetrievalDialogTest::Logged;
    using RetrievalDialogTest::ServerCount;
    using RetrievalDialogTest::Text;
    bool deleteMail = true;

protected:
    void SetUp() override;
    void TearDown() override;

private:
    void RunWith(const char* server, bool automatic);
    std::vector<std::string> StoredSubjects() const;
    std::vector<std::string> ServerSubjects() const;
    std::vector<std::string> subjects_; // the set the server was filled with
};

} // namespace lxtest
