// The automatic mail run: sending when asked, one retrieval per selected account that exists,
// the registry left on the selector's account, and every step in the log.
#include <gtest/gtest.h>

#include "common/settings/fixed_text.h"
#include "mailer/ui/logic/autorun.h"
#include "tests/autocheck/logfixture.h"
#include "tests/settings/fake_registry.h"

namespace {

lx::MailboxList Accounts(std::initializer_list<const char*> names, int current) {
    lx::MailboxList list{};
    int i = 0;
    for (const char* name : names) {
        lx::CopyText(list.records[i].name, name);
        lx::CopyText(list.records[i].pop3Server, (std::string("pop.") + name).c_str());
        list.records[i].current = i == current ? 1 : 0;
        ++i;
    }
    list.count = static_cast<std::int16_t>(i);
    return list;
}

lx::DialerSettings Selecting(const std::vector<const char*>& names, bool sendToo) {
    lx::DialerSettings s{};
    s.checkInterval = 60;
    s.localNetwork = 1;
    s.sendToo = sendToo ? 1 : 0;
    int i = 0;
    for (const char* name : names) lx::CopyText(s.selectedMailboxes[i++], name);
    s.selectedCount = i;
    return s;
}

// Records which server each retrieval found in the registry.
class Host : public lx::AutoRunHost {
public:
    explicit Host(lx_test::FakeRegistry& registry) : registry_(registry) {}
    bool SendingOpen() override { return sendingOpen; }
    bool RetrievingOpen() override { return retrievingOpen; }
    lx::SendSummary Send() override {
        order.push_back("send");
        return {3, 2, "All mail sent"};
    }
    lx::RetrieveSummary Retrieve() override {
        order.push_back("retrieve " + registry_.strings["Server"]);
        return {"4", "4", "Message 1 stored\r\nMessage 2 stored\r\n"};
    }
    bool sendingOpen = false;
    bool retrievingOpen = false;
    std::vector<std::string> order;

private:
    lx_test::FakeRegistry& registry_;
};

TEST(AutoRunPlan, StepsForTheSettings) {
    using K = lx::AutoRunStep::Kind;
    const lx::MailboxList accounts = Accounts({"Home", "Work", "Club"}, 0);
    struct Case {
        std::vector<const char*> selected;
        bool sendToo, sendingOpen, retrievingOpen;
        std::vector<std::pair<K, int>> steps;
    };
    const Case cases[] = {
        {{"Work", "Home"}, true, false, false, {{K::Send, -1}, {K::Retrieve, 1}, {K::Retrieve, 0}}},
        {{"Work"}, false, false, false, {{K::SendOff, -1}, {K::Retrieve, 1}}},
        // A sending dialog already open: nothing is sent by this run.
        {{"Work"}, true, true, false, {{K::SendOff, -1}, {K::Retrieve, 1}}},
        // Names without an account are skipped, exactly as written.
        {{"Gone", "Club", "work"}, false, false, false, {{K::SendOff, -1}, {K::Retrieve, 2}}},
        {{"Home"}, true, false, true, {{K::Send, -1}, {K::RetrievalBusy, -1}}},
        {{}, false, false, false, {{K::SendOff, -1}}},
    };
    for (const Case& c : cases) {
        const auto steps = lx::PlanAutoRun(Selecting(c.selected, c.sendToo), accounts,
                                           c.sendingOpen, c.retrievingOpen);
        std::vector<std::pair<K, int>> got;
        for (const auto& s : steps) got.push_back({s.kind, s.mailbox});
        EXPECT_EQ(c.steps, got) << "case with " << c.selected.size() << " names";
    }
}

TEST(AutoRunPlan, AStoredCountBeyondTheSlotsUsesTheTenSlots) {
    lx::DialerSettings s = Selecting({"Home"}, false);
    s.selectedCount = 99;
    const auto steps = lx::PlanAutoRun(s, Accounts({"Home"}, 0), false, false);
    EXPECT_EQ(2u, steps.size()) << "empty slots select nothing";
}

class AutoRun : public lxtest::CheckLogFixture {
protected:
    lx_test::FakeRegistry registry{true};
    Host host{registry};
};

TEST_F(AutoRun, SendsThenRetrievesEachSelectedAccountAndLogsEveryStep) {
    const lx::MailboxList accounts = Accounts({"Home", "Work"}, 0);
    lx::RunAutoMail(host, Selecting({"Work", "Nobody", "Home"}, true), accounts, registry, log,
                    catalog);
    log.CloseRun(catalog, lx::LogTime{});
    EXPECT_EQ((std::vector<std::string>{"send", "retrieve pop.Work", "retrieve pop.Home"}),
              host.order);
    const std::vector<std::string> expected{"run started",
                                            "queued 3",
                                            "last accepted 2",
                                            "All mail sent",
                                            "checking",
                                            "mailbox Work",
                                            "waiting: 4",
                                            "retrieving: 4",
                                            "Message 1 stored",
                                            "Message 2 stored",
                                            "mailbox Home",
                                            "waiting: 4",
                                            "retrieving: 4",
                                            "Message 1 stored",
                                            "Message 2 stored",
                                            "end 00/00/0000 00:00:00",
                                            ""};
    EXPECT_EQ(expected, Lines());
}

TEST_F(AutoRun, TheRegistryHoldsTheSelectorsAccountAfterTheRun) {
    const lx::MailboxList accounts = Accounts({"Home", "Work", "Club"}, 2);
    lx::RunAutoMail(host, Selecting({"Home", "Work"}, false), accounts, registry, log, catalog);
    EXPECT_EQ((std::vector<std::string>{"retrieve pop.Home", "retrieve pop.Work"}), host.order);
    EXPECT_EQ("pop.Club", registry.strings["Server"]);
}

TEST_F(AutoRun, WithSendingOffOnlyRetrievalRuns) {
    lx::RunAutoMail(host, Selecting({"Home"}, false), Accounts({"Home"}, 0), registry, log,
                    catalog);
    log.CloseRun(catalog, lx::LogTime{});
    EXPECT_EQ((std::vector<std::string>{"retrieve pop.Home"}), host.order);
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("send off", lines[1]);
    EXPECT_EQ("checking", lines[2]);
    EXPECT_EQ("mailbox Home", lines[3]);
}

TEST_F(AutoRun, AnOpenRetrievalWindowIsNotedAndLeftAlone) {
    host.retrievingOpen = true;
    lx::RunAutoMail(host, Selecting({"Home"}, false), Accounts({"Home"}, 0), registry, log,
                    catalog);
    log.CloseRun(catalog, lx::LogTime{});
    EXPECT_TRUE(host.order.empty());
    EXPECT_EQ(0, registry.writes) << "the registry is not touched";
    EXPECT_EQ("retrieval busy", Lines().at(3));
}

} // namespace
