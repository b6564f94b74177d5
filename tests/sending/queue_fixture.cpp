#include "tests/sending/queue_fixture.h"

#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/schema/subject.h"

namespace lxtest {

void QueueTest::SetUp() {
    StoreTest::SetUp();
    for (const char* name : {"_IN", "_OUT", "_SENT"})
        Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
             lx::SqlQuote(name) + ", 'S', 'special')");
    out = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_OUT'");
    sent = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_SENT'");
}

long QueueTest::Queue(const Queued& q, int second) {
    lx::NewMessage m;
    m.kind = lx::NewMessageKind::Written;
    m.folderNum = out;
    m.mesgId = q.signature;
    m.fromAdd = q.from;
    m.appDate = lx::StoreTime{2026, 12, 9, 10, 0, second};
    m.subject = lx::ComposeSubject(q.subject, false, !q.files.empty());
    m.mailData = q.text;
    m.to = q.to;
    m.cc = q.cc;
    m.files = q.files;
    long mesgNum = -1;
    EXPECT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);
    return mesgNum;
}

long QueueTest::FolderOf(long mesgNum) {
    return QueryLong("SELECT FolderNum FROM Messages WHERE " + lx::ConditionMesgNum(mesgNum));
}

} // namespace lxtest
