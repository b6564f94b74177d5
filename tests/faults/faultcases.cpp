#include "tests/faults/faultcases.h"
#include "tests/faults/faultpeer.h"

#include "tests/retrieval/mailsamples.h"
#include "tests/retrieval/pop3mailbox.h"

#include "mailer/transfer/logic/pop3stat_rules.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace lxtest {
namespace {

constexpr char kFlagSuffix[] = "&&";

void RemoveFiles(const std::string& dir, const std::vector<std::string>& names) {
    for (const std::string& name : names) ::DeleteFileA((dir + "\\" + name).c_str());
}

std::string Attachment(int n) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 31 + n) & 0xff);
    return bytes;
}

} // namespace

void FaultRetrievalTest::SetUp() {
    RetrievalDialogTest::SetUp();
    SetPop3Fault("pass");
}

void FaultRetrievalTest::TearDown() {
    SetPop3Fault("pass");
    if (StoreIsSqlite()) LimitStoreGrowth(-1);
    BlockAttachmentFolder(false);
    RetrievalDialogTest::TearDown();
}

void FaultRetrievalTest::ResetStoreAndServer(int bodyBytes, bool damagedSecond, int count) {
    for (const char* table : {"ToList", "CcList", "Files", "Messages"})
        Exec(std::string("DELETE FROM ") + table);
    RemoveFiles(install, BackupFiles());
    RemoveFiles(install + "\\DATA", AttachmentFiles());
    hook->boxes.clear();
    ReportedErrors().clear();
    std::vector<std::string> mails;
    subjects_.clear();
    for (int i = 1; i <= count; ++i) {
        SampleMail m;
        m.to = "joe@example.org";
        m.subject = "Fault " + std::to_string(i);
        m.body = bodyBytes > 0 ? std::string(static_cast<size_t>(bodyBytes), 'a' + i) + "\r\n"
                               : "Message number " + std::to_string(i) + ".\r\n";
        m.fileName = "fault" + std::to_string(i) + ".bin";
        m.fileBytes = Attachment(i);
        subjects_.push_back(m.subject);
        mails.push_back(damagedSecond && i == 2 ? MalformedMail(m.subject) : MailText(m));
    }
    FillServer(mails);
}

void FaultRetrievalTest::RunWith(const char* server, bool automatic) {
    MailboxSetting setting;
    setting.server = server;
    setting.deleteMail = deleteMail ? 1 : 0;
    WriteMailbox(setting);
    data.automatic = automatic;
    const INT_PTR result =
        automatic ? Run(nullptr) : Run([this](HWND dialog) { return RunFinished(dialog); });
    EXPECT_EQ(result, IDOK) << server;
}

void FaultRetrievalTest::RunAutomatic(const char* server) { RunWith(server, true); }
void FaultRetrievalTest::RunManual(const char* server) { RunWith(server, false); }

std::vector<std::string> FaultRetrievalTest::StoredSubjects() const {
    std::vector<std::string> subjects;
    for (const StoredRow& r : Rows())
        subjects.push_back(r.subject.substr(0, r.subject.find(kFlagSuffix)));
    return subjects;
}

std::vector<std::string> FaultRetrievalTest::ServerSubjects() const {
    std::vector<std::string> subjects;
    for (const char* sub : {"\\new", "\\cur"}) {
        const std::string dir = Pop3MailDir() + sub;
        for (const std::string& name : FilesIn(dir, "*")) {
            const std::string mail = ReadBytes(dir + "\\" + name);
            const size_t at = mail.find("Subject: ");
            if (at == std::string::npos) continue;
            subjects.push_back(mail.substr(at + 9, mail.find('\n', at) - at - 9));
        }
    }
    return subjects;
}

int FaultRetrievalTest::StoredCount() const { return static_cast<int>(Rows().size()); }

int FaultRetrievalTest::Lost() const {
    const std::vector<std::string> stored = StoredSubjects(), onServer = ServerSubjects();
    int lost = 0;
    for (const std::string& s : subjects_)
        if (std::count(stored.begin(), stored.end(), s) == 0 &&
            std::count(onServer.begin(), onServer.end(), s) == 0)
            ++lost;
    return lost;
}

bool FaultRetrievalTest::EachStoredOnce() const {
    std::vector<std::string> stored = StoredSubjects(), expected = subjects_;
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    return stored == expected;
}

void FaultRetrievalTest::Tally(const std::string& fault, const std::string& what) const {
    const std::vector<std::string> stored = StoredSubjects();
    std::map<std::string, int> times;
    for (const std::string& s : stored) ++times[s];
    int doubled = 0;
    for (const auto& t : times) doubled += t.second > 1 ? t.second - 1 : 0;
    const char* b = std::getenv("LX_BINARY_DIR");
    const std::string path = std::string("Z:") + (b ? b : "/tmp") + "/faultpeers/report.txt";
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s | %s | lost %d | stored twice %d\n", fault.c_str(), what.c_str(),
                     Lost(), doubled);
        std::fclose(f);
    }
    EXPECT_EQ(doubled, 0) << fault << ": " << what;
}

bool FaultRetrievalTest::StoreIsSqlite() const {
    return ContainsNoCase(s_conn->GetDbmsName(), "sqlite");
}

void FaultRetrievalTest::LimitStoreGrowth(int pages) {
    if (pages < 0) {
        Exec("PRAGMA max_page_count = 1073741823");
        return;
    }
    Exec("VACUUM"); // free pages would be used before the file grows
    const long now = QueryLong("PRAGMA page_count");
    ASSERT_GT(now, 0);
    Exec("PRAGMA max_page_count = " + std::to_string(now + pages));
}

bool FaultRetrievalTest::StoreSaid(const std::string& word) const {
    for (const ReportedError& e : ReportedErrors())
        if (ContainsNoCase(e.text, word)) return true;
    for (const BoxSeen& box : hook->boxes)
        if (ContainsNoCase(box.text, word)) return true;
    return false;
}

void FaultRetrievalTest::BlockAttachmentFolder(bool block) {
    const std::string dir = install + "\\DATA";
    if (block) {
        RemoveFiles(dir, AttachmentFiles());
        ::RemoveDirectoryA(dir.c_str());
        ASSERT_TRUE(WriteBytes(dir, "not a folder"));
        return;
    }
    const DWORD attributes = ::GetFileAttributesA(dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        ::DeleteFileA(dir.c_str());
    ::CreateDirectoryA(dir.c_str(), nullptr);
}

std::vector<std::string> FaultRetrievalTest::AttachmentFiles() const {
    return FilesIn(install + "\\DATA", "*");
}

std::string FaultRetrievalTest::LoggedLine(const char* key) const {
    // The longest piece of the text between its arguments identifies the line.
    const std::string format = Text(key);
    std::string piece;
    for (size_t from = 0; from <= format.size();) {
        size_t to = format.find('%', from);
        if (to == std::string::npos) to = format.size();
        if (to - from > piece.size()) piece = format.substr(from, to - from);
        from = to + 2;
    }
    const size_t at = data.messages.find(piece);
    if (piece.empty() || at == std::string::npos) return "";
    const size_t start = data.messages.rfind("\n", at);
    const size_t begin = start == std::string::npos ? 0 : start + 1;
    return data.messages.substr(begin, data.messages.find("\r\n", at) - begin);
}

} // namespace lxtest
