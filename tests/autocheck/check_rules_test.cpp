// The countdown, what a tick at zero goes on with, and the dial-up monitor over scripted states.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <map>

#include "mailer/ui/logic/autocheck_rules.h"
#include "mailer/ui/logic/cmdgate.h"
#include "tests/autocheck/logfixture.h"

namespace {

using lx::CheckStart;
using lx::DialStatus;

TEST(CheckCountdown, AnIntervalBelowOneSecondIsOffAndNeverDue) {
    for (int interval : {0, -5}) {
        lx::CheckCountdown c;
        EXPECT_FALSE(c.Restart(interval, 10)) << interval;
        EXPECT_FALSE(c.On());
        for (int i = 0; i < 20; ++i) EXPECT_FALSE(c.Tick()) << interval;
    }
}

TEST(CheckCountdown, CountsDownFromTheStoredCountdownThenFromTheInterval) {
    lx::CheckCountdown c;
    ASSERT_TRUE(c.Restart(3, 2));
    EXPECT_FALSE(c.Tick());
    EXPECT_EQ(1, c.Seconds());
    EXPECT_TRUE(c.Tick()) << "due at 0";
    EXPECT_EQ(3, c.Seconds()) << "the next countdown starts from the interval";
    EXPECT_FALSE(c.Tick());
    EXPECT_FALSE(c.Tick());
    EXPECT_TRUE(c.Tick());
    // Restarting after a cycle keeps the countdown where it is.
    ASSERT_TRUE(c.Restart());
    EXPECT_EQ(3, c.Seconds());
    // A countdown not running yet starts from the whole interval.
    ASSERT_TRUE(c.Restart(60, 0));
    EXPECT_EQ(60, c.Seconds());
}

TEST(CheckPlan, WhatATickAtZeroGoesOnWith) {
    struct Case {
        bool gateClosed, local, dialling, transferOpen, entryPoints;
        CheckStart expected;
    };
    const Case cases[] = {
        {true, true, false, false, false, CheckStart::LocalRun},
        {false, true, false, false, true, CheckStart::Busy},
        // Local network: a transfer dialog is the run's own business (it notes and skips).
        {true, true, false, true, false, CheckStart::LocalRun},
        {true, false, false, false, true, CheckStart::Dial},
        {false, false, false, false, true, CheckStart::Busy},
        {true, false, false, true, true, CheckStart::Busy},
        {true, false, true, false, true, CheckStart::DialUnderWay},
        {false, false, true, false, true, CheckStart::DialUnderWay},
        {true, false, false, false, false, CheckStart::NoDialLibrary},
        {false, false, false, false, false, CheckStart::Busy},
    };
    for (const Case& c : cases) {
        lx::CheckSituation s;
        s.gateClosed = c.gateClosed;
        s.localNetwork = c.local;
        s.dialling = c.dialling;
        s.transferOpen = c.transferOpen;
        s.dialEntryPoints = c.entryPoints;
        EXPECT_EQ(c.expected, lx::PlanCheck(s))
            << c.gateClosed << c.local << c.dialling << c.transferOpen << c.entryPoints;
    }
}

TEST(CheckPlan, TheGateClosesOnlyWhenNothingHoldsIt) {
    lx::CommandGate gate;
    {
        lx::GateScope composer(gate);
        EXPECT_FALSE(gate.CloseForCheck()) << "a composer holds the gate: busy";
    }
    ASSERT_TRUE(gate.CloseForCheck());
    EXPECT_EQ(lx::CommandGate::kClosedByCheck, gate.Value());
    {
        lx::GateScope command(gate);
        EXPECT_FALSE(command.Open()) << "a command during the cycle does nothing";
    }
    gate.Reopen();
    EXPECT_EQ(0, gate.Value());
}

TEST(CheckPlan, DialResultsAndTheConnectionOfTheEntry) {
    EXPECT_EQ(lx::DialOutcome::Monitor, lx::ClassifyDial(0));
    EXPECT_EQ(lx::DialOutcome::PortOpen, lx::ClassifyDial(602));
    EXPECT_EQ(lx::DialOutcome::Failed, lx::ClassifyDial(691));
    EXPECT_EQ(lx::DialOutcome::Failed, lx::ClassifyDial(603));
    int a = 0, b = 0;
    const std::vector<lx::ActiveConnection> up{{&a, "Office"}, {&b, "Provider"}};
    EXPECT_EQ(&b, lx::FindEntryConnection(up, "Provider"));
    EXPECT_EQ(nullptr, lx::FindEntryConnection(up, "provider")) << "names compare exactly";
    EXPECT_EQ(nullptr, lx::FindEntryConnection(up, "Prov"));
    EXPECT_EQ(nullptr, lx::FindEntryConnection({}, "Provider"));
}

// A connection whose statuses the test scripts; the last one repeats.
class ScriptedLine : public lx::DialLine {
public:
    std::deque<DialStatus> statuses;
    std::map<unsigned, std::string> errorTexts;
    int hangUps = 0;
    int runs = 0;
    int readings = 0;
    unsigned waited = 0;
    bool runInProgress = false;
    std::vector<std::string> events;

    DialStatus Status() override {
        ++readings;
        DialStatus s = statuses.front();
        if (statuses.size() > 1) statuses.pop_front();
        return s;
    }
    void HangUp() override {
        ++hangUps;
        events.push_back("hang up");
    }
    std::string ErrorText(unsigned error) override {
        auto it = errorTexts.find(error);
        return it == errorTexts.end() ? std::string() : it->second;
    }
    void Wait(unsigned millis) override { waited += millis; }
    void RunMail() override {
        ++runs;
        events.push_back("run");
        // The line drops after the run when the script says so.
        if (dropAfterRun) statuses = {{lx::kRasDisconnected, 0}};
    }
    bool RunInProgress() override { return runInProgress; }
    bool dropAfterRun = false;
};

constexpr DialStatus kConnecting{0x0005, 0};
constexpr DialStatus kUp{lx::kRasConnected, 0};
constexpr DialStatus kDown{lx::kRasDisconnected, 0};

class Monitor : public lxtest::CheckLogFixture {
protected:
    lx::MonitorEnd Watch(bool own = true) {
        lx::MonitorSettings s;
        s.entry = "Provider";
        s.ownConnection = own;
        s.waitMillis = 3000;
        s.connectMillis = 15000; // five readings
        const lx::MonitorEnd end = lx::WatchDialConnection(line, s, log, catalog);
        log.CloseRun(catalog, lx::LogTime{});
        return end;
    }
    ScriptedLine line;
};

TEST_F(Monitor, AnOwnConnectionRunsOnceWhenUpAndIsHungUpAfterTheRun) {
    line.statuses = {kConnecting, kConnecting, kUp};
    EXPECT_EQ(lx::MonitorEnd::Finished, Watch());
    EXPECT_EQ(1, line.runs);
    EXPECT_EQ(1, line.hangUps);
    EXPECT_EQ((std::vector<std::string>{"run", "hang up"}), line.events);
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("connected to Provider", lines[0]);
    EXPECT_EQ("own finished", lines[1]);
}

TEST_F(Monitor, AConnectionSomeoneElseMadeIsUsedAndLeftUp) {
    line.statuses = {kUp};
    EXPECT_EQ(lx::MonitorEnd::Finished, Watch(false));
    EXPECT_EQ(1, line.runs);
    EXPECT_EQ(0, line.hangUps);
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("connected to Provider", lines[0]);
    EXPECT_EQ("found finished", lines[1]);
}

TEST_F(Monitor, AnErrorStatusIsLoggedWithItsTextAndAnOwnLineHungUp) {
    struct Case {
        bool own;
        bool withText;
        int hangUps;
        const char* first;
    };
    const Case cases[] = {
        {true, true, 1, "The modem does not answer"},
        {true, false, 1, "dial error 678"},
        {false, true, 0, "The modem does not answer"},
    };
    for (const Case& c : cases) {
        std::remove(path.c_str());
        ASSERT_TRUE(log.Open(path));
        line = ScriptedLine{};
        line.statuses = {kConnecting, {0x0005, 678}};
        if (c.withText) line.errorTexts[678] = "The modem does not answer";
        EXPECT_EQ(lx::MonitorEnd::Broken, Watch(c.own));
        EXPECT_EQ(0, line.runs);
        EXPECT_EQ(c.hangUps, line.hangUps) << "own " << c.own;
        const auto lines = Lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(c.first, lines[0]);
        EXPECT_EQ("hung up after error", lines[1]);
        EXPECT_EQ("broken", lines[2]);
    }
}

TEST_F(Monitor, PendingIsNoError) {
    line.statuses = {{0x0005, lx::kRasPending}, kUp};
    EXPECT_EQ(lx::MonitorEnd::Finished, Watch());
    EXPECT_EQ(1, line.runs);
}

TEST_F(Monitor, ALineThatDropsBeforeTheRunIsBroken) {
    line.statuses = {kConnecting, kDown};
    EXPECT_EQ(lx::MonitorEnd::Broken, Watch());
    EXPECT_EQ(0, line.runs);
    EXPECT_EQ(1, line.hangUps);
    EXPECT_EQ("broken", Lines().at(0));
}

TEST_F(Monitor, ALineThatDropsRightAfterTheRunStillFinishedTheRun) {
    line.statuses = {kUp};
    line.dropAfterRun = true;
    EXPECT_EQ(lx::MonitorEnd::Finished, Watch());
    EXPECT_EQ(1, line.runs);
    EXPECT_EQ("own finished", Lines()[1]);
}

TEST_F(Monitor, ARunAlreadyInProgressIsNotStartedAgain) {
    // Another run holds the frame: the monitor does not start one of its own meanwhile.
    lx::MonitorSettings s;
    s.entry = "Provider";
    // The run stays in progress for a few readings, then ends: no run is started by the monitor.
    struct Ending : ScriptedLine {
        DialStatus Status() override {
            if (++readings >= 3) {
                runInProgress = false;
                return kDown;
            }
            return kUp;
        }
    } ending;
    ending.runInProgress = true;
    EXPECT_EQ(lx::MonitorEnd::Broken, lx::WatchDialConnection(ending, s, log, catalog));
    EXPECT_EQ(0, ending.runs);
}

TEST_F(Monitor, AConnectionThatNeverComesUpIsGivenUp) {
    line.statuses = {kConnecting};
    EXPECT_EQ(lx::MonitorEnd::NeverConnected, Watch());
    EXPECT_EQ(5, line.readings);
    EXPECT_EQ(1, line.hangUps);
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("never connected 15", lines[0]);
    EXPECT_EQ("broken", lines[1]);
}

} // namespace
