// The loader and the page writer on two threads: whatever the timing on either side, the page
// comes out whole and equal to the page written in one go, each part as soon as its stage is in.
#include "viewer/core/pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>

namespace lx::viewer {
namespace {

using namespace std::chrono_literals;

// A message as the store would give it.
MessageData SampleMessage() {
    MessageData m;
    m.record.folderNum = 3;
    m.record.mesgId = "<42@example.org>";
    m.record.mesgDate = "Wed, 9 Dec 2026 09:00:00 +0000";
    m.record.mailData = "Hello Ann,\r\nsee www.example.org.\r\n";
    m.record.mesgSize = static_cast<std::uint32_t>(m.record.mailData.size());
    m.record.fromAdd = "bob@example.org";
    m.record.subject = "Lunch&&N&F";
    m.record.appDate = AppDate{2026, 12, 9, 10, 30, 5, 0};
    AddRecipient(m.to, "ann@example.org");
    AddRecipient(m.to, "carl@example.org");
    AddRecipient(m.cc, "dora@example.org");
    AddAttachment(m.attachments, "C:\\LORVEX\\DATA\\MENU.TXT");
    return m;
}

// Hands out the sample's parts, each one at a time into the loader's data.
class FakeSource : public MessageSource {
public:
    explicit FakeSource(MessageData m, bool reachable = true, bool rowThere = true)
        : m_(std::move(m)), reachable_(reachable), rowThere_(rowThere) {}
    bool Connect() override { return reachable_; }
    bool ReadRecord(MessageRecord& record) override {
        if (rowThere_) record = m_.record;
        return rowThere_;
    }
    void ReadRecipients(MessageList which, RecipientList& list) override {
        ++listReads;
        // Filled name by name, as rows are fetched.
        for (const std::string& name : (which == MessageList::To ? m_.to : m_.cc).names)
            AddRecipient(list, name);
    }
    void ReadAttachments(AttachmentList& attachments) override {
        ++listReads;
        for (int i = 0; i < m_.attachments.count; ++i)
            AddAttachment(attachments, m_.attachments.slots[i].name);
    }
    std::atomic<int> listReads{0};

private:
    MessageData m_;
    bool reachable_, rowThere_;
};

PageTexts Texts() {
    PageTexts t;
    t.months = MakeMonthNames(
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    t.partFailed = "Error: part missing";
    return t;
}

const LoadTexts kLoadTexts{"Error: no store", "Error: no message"};

// The page written in one go, without threads.
std::string ReferencePage(const MessageData& m) {
    MessagePageWriter w("C:\\LX\\MSG01001.HTM", Texts());
    w.WriteRecord(m.record);
    w.WriteToList(m.to);
    w.WriteCcList(m.cc);
    w.WriteAttachments(m.attachments);
    w.WriteBody(m.record, 8192, true, "", nullptr);
    return w.TakeOutput();
}

struct RoundResult {
    PageOutcome outcome = PageOutcome::TimedOut;
    std::string page;
    MessageData data;
};

// One round: loader and writer on their own threads, each slowed by its hook.
RoundResult RunBoth(MessageSource& source, const StageHook& loaderHook, const StageHook& writerHook,
                    bool writerFirst, std::chrono::milliseconds timeout = 10s) {
    RoundResult run;
    StageHandover handover;
    MessagePageWriter writer("C:\\LX\\MSG01001.HTM", Texts());
    PageJob job;
    job.bufferSize = 8192;
    job.stageTimeout = timeout;
    std::mutex pageLock;
    auto writeThread = [&] {
        run.outcome = RunPageWriter(
            writer, run.data, handover, job,
            [&](const std::string& part) {
                std::lock_guard<std::mutex> g(pageLock);
                run.page += part;
                return true;
            },
            writerHook);
    };
    auto loadThread = [&] { RunLoader(source, run.data, handover, kLoadTexts, loaderHook); };
    std::thread first(writerFirst ? std::function<void()>(writeThread) : loadThread);
    std::thread second(writerFirst ? std::function<void()>(loadThread) : writeThread);
    first.join();
    second.join();
    return run;
}

struct Timing {
    const char* name;
    int loaderMaxMicros; // random delay before each stage is handed over
    int writerMaxMicros; // random delay before each stage is read
    bool writerFirst;
};

class HandoverTimings : public ::testing::TestWithParam<Timing> {};

TEST_P(HandoverTimings, EveryRoundWritesTheWholePage) {
    const Timing t = GetParam();
    const std::string expected = ReferencePage(SampleMessage());
    std::mt19937 random(1234);
    std::mutex randomLock;
    auto delay = [&](int maxMicros) {
        if (maxMicros == 0) return;
        int micros;
        {
            std::lock_guard<std::mutex> g(randomLock);
            micros = std::uniform_int_distribution<int>(0, maxMicros)(random);
        }
        // Jitter, not a wait: it shifts the two threads against each other; each round still
        // waits for both to finish before the page is compared.
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
    };
    for (int round = 0; round < 200; ++round) {
        FakeSource source(SampleMessage());
        const RoundResult run = RunBoth(
            source, [&](LoadStage) { delay(t.loaderMaxMicros); },
            [&](LoadStage) { delay(t.writerMaxMicros); }, t.writerFirst);
        ASSERT_EQ(run.outcome, PageOutcome::Written) << t.name << " round " << round;
        ASSERT_EQ(run.page, expected) << t.name << " round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Viewer, HandoverTimings,
                         ::testing::Values(Timing{"no delays", 0, 0, false},
                                           Timing{"writer first", 0, 0, true},
                                           Timing{"slow loader", 2000, 0, false},
                                           Timing{"slow loader, writer first", 2000, 0, true},
                                           Timing{"slow writer", 0, 2000, false},
                                           Timing{"both slow", 1500, 1500, true}),
                         [](const ::testing::TestParamInfo<Timing>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// The writer does not wait for the whole message: the record's part of the page is written while
// the loader still holds back the To list.
TEST(ViewerHandover, RecordPartIsWrittenBeforeTheListsAreRead) {
    FakeSource source(SampleMessage());
    StageHandover handover;
    MessageData data;
    MessagePageWriter writer("C:\\LX\\MSG01001.HTM", Texts());
    PageJob job;
    job.bufferSize = 8192;
    std::mutex pageLock;
    std::condition_variable pageGrew;
    std::string page;
    bool sawRecordBeforeTo = false;
    std::thread writerThread([&] {
        RunPageWriter(writer, data, handover, job, [&](const std::string& part) {
            {
                std::lock_guard<std::mutex> g(pageLock);
                page += part;
            }
            pageGrew.notify_all();
            return true;
        });
    });
    RunLoader(source, data, handover, kLoadTexts, [&](LoadStage stage) {
        if (stage != LoadStage::ToList) return;
        std::unique_lock<std::mutex> g(pageLock);
        sawRecordBeforeTo = pageGrew.wait_for(g, 10s, [&] {
            return page.find("bob@example.org") != std::string::npos &&
                   page.find("<B><U>To</U></B>") == std::string::npos;
        });
    });
    writerThread.join();
    EXPECT_TRUE(sawRecordBeforeTo);
    EXPECT_EQ(page, ReferencePage(SampleMessage()));
}

struct FailedLoad {
    const char* name;
    bool reachable;
    bool rowThere;
    const char* shownText;
};

class ViewerFailedLoad : public ::testing::TestWithParam<FailedLoad> {};

// A message that cannot be read gives the short error page at once; no list is read.
TEST_P(ViewerFailedLoad, GivesTheErrorPageWithoutReadingTheLists) {
    const FailedLoad f = GetParam();
    FakeSource source(SampleMessage(), f.reachable, f.rowThere);
    const RoundResult run = RunBoth(source, nullptr, nullptr, true);
    EXPECT_EQ(run.outcome, PageOutcome::ErrorPage);
    EXPECT_EQ(run.data.record.mesgId, f.shownText);
    EXPECT_NE(run.page.find("Error: part missing</BODY></HTML>\r\n"), std::string::npos);
    EXPECT_EQ(source.listReads, 0);
}

INSTANTIATE_TEST_SUITE_P(Viewer, ViewerFailedLoad,
                         ::testing::Values(FailedLoad{"NoStore", false, true, "Error: no store"},
                                           FailedLoad{"NoRow", true, false, "Error: no message"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A stage that never comes: closing the viewer ends the writer's wait, and without that the
// writer gives up after its bounded wait instead of hanging.
TEST(ViewerHandover, WriterWaitEndsWhenAbandonedOrTimedOut) {
    MessageData data;
    PageJob job;
    job.bufferSize = 8192;
    {
        StageHandover handover;
        handover.Complete(LoadStage::Record);
        data.record = SampleMessage().record;
        MessagePageWriter writer("P", Texts());
        PageOutcome outcome = PageOutcome::Written;
        std::thread t([&] {
            outcome =
                RunPageWriter(writer, data, handover, job, [](const std::string&) { return true; });
        });
        handover.Abandon();
        t.join();
        EXPECT_EQ(outcome, PageOutcome::Abandoned);
    }
    {
        StageHandover handover;
        job.stageTimeout = 50ms;
        MessagePageWriter writer("P", Texts());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(
            RunPageWriter(writer, data, handover, job, [](const std::string&) { return true; }),
            PageOutcome::TimedOut);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    }
}

TEST(ViewerHandover, RefusedPartStopsTheWriter) {
    FakeSource source(SampleMessage());
    StageHandover handover;
    MessageData data;
    RunLoader(source, data, handover, kLoadTexts);
    MessagePageWriter writer("P", Texts());
    PageJob job;
    job.bufferSize = 8192;
    int parts = 0;
    EXPECT_EQ(
        RunPageWriter(writer, data, handover, job, [&](const std::string&) { return ++parts < 2; }),
        PageOutcome::WriteFailed);
    EXPECT_EQ(parts, 2);
}

} // namespace
} // namespace lx::viewer
