// The automatic check in the main window under Wine: the countdown, busy ticks, and the dial-up
// branch against the RASAPI32.DLL stand-in of this test's folder, with a run that only counts.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "common/win/handles.h"
#include "mailer/res/resource.h"
#include "mailer/ui/autocheck.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/mainfrm_rules.h"
#include "tests/autocheck/window_fixture.h"

namespace lxtest {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(AutoCheckTest, TheStandInIsTheLibraryLoaded) {
    HMODULE loaded = ::GetModuleHandleA("RASAPI32.DLL");
    ASSERT_NE(nullptr, loaded);
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(loaded, path, sizeof path);
    EXPECT_EQ(0, lstrcmpiA(path, (ProgramFolder() + "\\RASAPI32.DLL").c_str())) << path;
}

TEST_F(AutoCheckTest, AnIntervalOf0ShowsCheckingOffAndNeverSetsTheTimer) {
    PlugCountingRun();
    dialer.localNetwork = 1;
    frame->ArmMailCheck(0);
    EXPECT_EQ(Text("MAINFRM_CPP_45"), StatusText(frame->StatusBar(), 2));
    EXPECT_FALSE(frame->MailCheck().TimerRunning());
    EXPECT_FALSE(::KillTimer(Wnd(), IDT_MAILCHECK)) << "no timer was set";
    for (int i = 0; i < 3; ++i) ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(0, runs);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(Text("MAINFRM_CPP_45"), StatusText(frame->StatusBar(), 2));
}

TEST_F(AutoCheckTest, TheCountdownShowsEverySecond) {
    PlugCountingRun();
    dialer.localNetwork = 1;
    frame->ArmMailCheck(3700);
    const std::string format = Text("MAINFRM_CPP_44");
    EXPECT_EQ(lx::CountdownText(3700, format.c_str()), StatusText(frame->StatusBar(), 2));
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
    EXPECT_EQ(lx::CountdownText(3699, format.c_str()), StatusText(frame->StatusBar(), 2));
    EXPECT_TRUE(frame->MailCheck().TimerRunning());
    EXPECT_EQ(0, runs);
}

// A user command, a composer or a transfer dialog holds the program: the tick writes a busy
// block only, runs nothing, dials nothing and counts down again.
TEST_F(AutoCheckTest, ABusyTickWritesOnlyABusyLineAndRestartsTheCountdown) {
    struct Case {
        bool local;
        bool composer; // holds the gate
        bool retrievalOpen;
    };
    const Case cases[] = {{true, true, false}, {false, true, false}, {false, false, true}};
    for (const Case& c : cases) {
        ::DeleteFileA((folder + "\\Lorvex.Log").c_str());
        ::DeleteFileA(rasLog.c_str());
        PlugCountingRun();
        runs = 0;
        dialer.localNetwork = c.local ? 1 : 0;
        marks.retrieving = c.retrievalOpen;
        {
            std::optional<lx::GateScope> composer;
            if (c.composer) composer.emplace();
            const std::int16_t before = lx::CommandGate::Instance().Value();
            TickToZero();
            EXPECT_EQ(0, runs);
            EXPECT_TRUE(frame->MailCheck().TimerRunning()) << "the countdown runs again";
            EXPECT_EQ(lx::CountdownText(1, Text("MAINFRM_CPP_44").c_str()),
                      StatusText(frame->StatusBar(), 2));
            EXPECT_EQ(before, lx::CommandGate::Instance().Value()) << "the gate is as it was";
        }
        marks.retrieving = false;
        const auto lines = LogLines();
        ASSERT_EQ(4u, lines.size()) << "local " << c.local;
        EXPECT_EQ(0u, lines[0].find(Stamp("MAINFRM_CPP_22")));
        EXPECT_EQ(Text("MAINFRM_CPP_41"), lines[1]);
        EXPECT_EQ(0u, lines[2].find(Stamp("MAINFRM_CPP_27")));
        EXPECT_EQ("", lines[3]);
        EXPECT_TRUE(RasCalls().empty()) << "nothing was dialled";
    }
}

TEST_F(AutoCheckTest, ALocalNetworkCycleRunsBetweenItsStampsAndOpensTheGateAgain) {
    dialer.localNetwork = 1;
    std::int16_t gateDuringRun = 0;
    frame->Plugs().Plug(lx::kPlugAutoMailRun, [&](void*, const char*) {
        ++runs;
        gateDuringRun = lx::CommandGate::Instance().Value();
        EXPECT_TRUE(frame->MailCheck().RunInProgress());
        EXPECT_EQ(Text("MAINFRM_CPP_46"), StatusText(frame->StatusBar(), 2));
        lx::GateScope command;
        EXPECT_FALSE(command.Open()) << "a user command during the cycle does nothing";
        return lx::kPlugOk;
    });
    TickToZero();
    EXPECT_EQ(1, runs);
    EXPECT_EQ(lx::CommandGate::kClosedByCheck, gateDuringRun);
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
    EXPECT_FALSE(frame->MailCheck().RunInProgress());
    EXPECT_TRUE(frame->MailCheck().TimerRunning());
    const auto lines = LogLines();
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(0u, lines[0].find(Stamp("MAINFRM_CPP_22")));
    EXPECT_EQ(Text("MAINFRM_CPP_42"), lines[1]);
    EXPECT_EQ(0u, lines[2].find(Stamp("MAINFRM_CPP_27")));
    EXPECT_TRUE(RasCalls().empty());
}

TEST_F(AutoCheckTest, ADialledLineRunsTheMailWhenUpAndIsHungUpAfterwards) {
    PlugCountingRun();
    ::SetEnvironmentVariableA("LORVEX_RAS_STATES", "5,6,0x2000");
    TickToZero();
    ASSERT_TRUE(WaitFor([this] { return CycleEnded(); }));
    EXPECT_EQ(1, runs);
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
    const auto calls = RasCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ("dial Provider dialer secret [] * *", calls[0]);
    EXPECT_TRUE(Has(calls, "hangup dialled"));
    EXPECT_FALSE(frame->MailCheck().Connection());
    const auto lines = LogLines();
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_23")));
    EXPECT_TRUE(Has(lines, Formatted("MAINFRM_CPP_37", std::string("Provider"))));
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_39")));
    EXPECT_EQ(0u, lines.at(lines.size() - 2).find(Stamp("MAINFRM_CPP_27")));
}

TEST_F(AutoCheckTest, AnEntryConnectedBySomeoneElseIsUsedAndLeftUp) {
    PlugCountingRun();
    ::SetEnvironmentVariableA("LORVEX_RAS_DIAL", "602");
    ::SetEnvironmentVariableA("LORVEX_RAS_CONNECTED", "Provider");
    ::SetEnvironmentVariableA("LORVEX_RAS_STATES", "0x2000");
    TickToZero();
    ASSERT_TRUE(WaitFor([this] { return CycleEnded(); }));
    EXPECT_EQ(1, runs);
    EXPECT_FALSE(Has(RasCalls(), "hangup others")) << "someone else's line stays up";
    const auto lines = LogLines();
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_24")));
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_40")));
    EXPECT_FALSE(Has(lines, Text("MAINFRM_CPP_39")));
    EXPECT_EQ(0, lx::CommandGate::Instance().Value());
}

TEST_F(AutoCheckTest, ADialErrorIsLoggedHungUpAndTheCountdownStartsAgain) {
    struct Case {
        const char* errors;
        std::string expected;
    };
    const Case cases[] = {
        {"691=Access was denied by the provider", "Access was denied by the provider"},
        {"", Formatted("MAINFRM_CPP_25", 691)}};
    for (const Case& c : cases) {
        ::DeleteFileA((folder + "\\Lorvex.Log").c_str());
        ::DeleteFileA(rasLog.c_str());
        PlugCountingRun();
        runs = 0;
        ::SetEnvironmentVariableA("LORVEX_RAS_DIAL", "691");
        ::SetEnvironmentVariableA("LORVEX_RAS_ERRORS", c.errors);
        ::SetEnvironmentVariableA("LORVEX_RAS_STATES", "7");
        TickToZero();
        EXPECT_TRUE(CycleEnded()) << "a refused dial ends the cycle at once";
        EXPECT_EQ(0, runs);
        EXPECT_EQ(0, lx::CommandGate::Instance().Value());
        EXPECT_TRUE(Has(RasCalls(), "hangup dialled"));
        const auto lines = LogLines();
        ASSERT_GE(lines.size(), 6u);
        EXPECT_EQ(Text("MAINFRM_CPP_23"), lines[1]);
        EXPECT_EQ("Connect Status : 7", lines[2]);
        EXPECT_EQ(c.expected, lines[3]);
        EXPECT_EQ(Text("MAINFRM_CPP_26"), lines[4]);
        EXPECT_EQ(0u, lines[5].find(Stamp("MAINFRM_CPP_27")));
    }
}

TEST_F(AutoCheckTest, ALineThatBreaksBeforeTheRunIsLogged) {
    PlugCountingRun();
    ::SetEnvironmentVariableA("LORVEX_RAS_STATES", "5,5:678");
    ::SetEnvironmentVariableA("LORVEX_RAS_ERRORS", "678=There was no answer");
    TickToZero();
    ASSERT_TRUE(WaitFor([this] { return CycleEnded(); }));
    EXPECT_EQ(0, runs);
    const auto lines = LogLines();
    EXPECT_TRUE(Has(lines, "There was no answer"));
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_38")));
    EXPECT_TRUE(Has(RasCalls(), "hangup dialled"));
}

// Two ends that would leave the program locked: no usable library, and a port taken by a
// connection of another entry. The cycle ends, says why, and the program stays usable.
TEST_F(AutoCheckTest, AMissingEntryPointOrABusyPortLeavesTheProgramUsable) {
    struct Case {
        std::string library;
        const char* dial;
        std::string expected;
    };
    const Case cases[] = {
        {ProgramFolder() + "\\without_RasDialA\\RASAPI32.DLL", "0", Text("MAINFRM_CPP_51")},
        {ProgramFolder() + "\\without_RasEnumConnectionsA\\RASAPI32.DLL", "0",
         Text("MAINFRM_CPP_51")},
        {"RASAPI32.DLL", "602", Formatted("MAINFRM_CPP_52", std::string("Provider"))},
    };
    for (const Case& c : cases) {
        ::DeleteFileA((folder + "\\Lorvex.Log").c_str());
        ::SetEnvironmentVariableA("LORVEX_RAS_DIAL", c.dial);
        ::SetEnvironmentVariableA("LORVEX_RAS_CONNECTED", nullptr);
        MakeCheckFrame(c.library);
        PlugCountingRun();
        runs = 0;
        TickToZero();
        EXPECT_TRUE(CycleEnded()) << c.library;
        EXPECT_EQ(0, runs);
        EXPECT_EQ(0, lx::CommandGate::Instance().Value()) << "commands run again";
        EXPECT_FALSE(frame->MailCheck().Dialling());
        const auto lines = LogLines();
        EXPECT_TRUE(Has(lines, c.expected)) << c.library;
        EXPECT_EQ(0u, lines.at(lines.size() - 2).find(Stamp("MAINFRM_CPP_27")));
        lx::GateScope command;
        EXPECT_TRUE(command.Open());
    }
}

TEST_F(AutoCheckTest, ClosingTheWindowDuringADialHangsUpAndClosesTheLog) {
    PlugCountingRun();
    ::SetEnvironmentVariableA("LORVEX_RAS_STATES", "5"); // never comes up
    TickToZero();
    ASSERT_TRUE(frame->MailCheck().Dialling());
    ::DestroyWindow(Wnd());
    EXPECT_TRUE(Has(RasCalls(), "hangup dialled"));
    const auto lines = LogLines();
    EXPECT_TRUE(Has(lines, Text("MAINFRM_CPP_43")));
    EXPECT_EQ(0u, lines.at(lines.size() - 2).find(Stamp("MAINFRM_CPP_27")));
    EXPECT_EQ(0, runs);
}

} // namespace
} // namespace lxtest
