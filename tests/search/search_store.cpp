#include "tests/search/search_store.h"

#include "common/schema/newmessage.h"
#include "common/schema/subject.h"

namespace lxtest {

Stored Msg(const char* from, const char* subject, int day, int hour, int minute, int second) {
    Stored s;
    s.from = from;
    s.subject = subject;
    s.date = lx::StoreTime{2026, 12, day, hour, minute, second};
    return s;
}

void SearchStoreTest::SetUp() {
    StoreTest::SetUp();
    for (const char* name : {"_IN", "_SENT"})
        Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
             lx::SqlQuote(name) + ", 'S', 'special')");
    in = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_IN'");
    sent = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_SENT'");
}

long SearchStoreTest::Store(const Stored& s, long folder) {
    lx::NewMessage m;
    m.kind = s.type == 'O' ? lx::NewMessageKind::Written : lx::NewMessageKind::Retrieved;
    m.folderNum = folder >= 0 ? folder : in;
    // Unique, so two messages of one second are told apart by the retrieved form too.
    m.mesgId = "<" + std::to_string(++stored_) + "@search.test>";
    m.fromAdd = s.from;
    m.appDate = s.date;
    m.subject = lx::ComposeSubject(s.subject, s.type == 'I' && s.unread, false);
    m.mailData = "Body " + s.subject + "\r\n";
    m.to = s.to;
    long mesgNum = -1;
    EXPECT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);
    return mesgNum;
}

} // namespace lxtest
