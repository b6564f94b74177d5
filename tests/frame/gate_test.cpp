// The command gate: the counter's rules, the automatic check closing it, the frame's runner
// refusing a second command while one runs, and the plug-in point of the commands wired in from elsewhere.
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(CommandGate, EnterReturnsTheValueBeforeAndLeaveUndoesIt) {
    lx::CommandGate gate;
    EXPECT_EQ(0, gate.Enter());
    EXPECT_EQ(1, gate.Enter());
    EXPECT_EQ(2, gate.Value());
    gate.Leave();
    gate.Leave();
    EXPECT_EQ(0, gate.Value());
}

TEST(CommandGate, TheCheckClosesTheGateOnlyWhenNothingHoldsIt) {
    lx::CommandGate gate;
    {
        lx::GateScope composer(gate); // a composer holds the gate for its life
        EXPECT_TRUE(composer.Open());
        EXPECT_FALSE(gate.CloseForCheck());
        EXPECT_EQ(1, gate.Value());
    }
    EXPECT_TRUE(gate.CloseForCheck());
    EXPECT_EQ(lx::CommandGate::kClosedByCheck, gate.Value());
    {
        lx::GateScope command(gate);
        EXPECT_FALSE(command.Open());
    }
    // Leaving a refused command still balances the counter.
    EXPECT_EQ(lx::CommandGate::kClosedByCheck, gate.Value());
    gate.Reopen();
    lx::GateScope after(gate);
    EXPECT_TRUE(after.Open());
}

TEST(CommandGate, ReopenWhileScopesAreHeldKeepsTheirHoldsBalanced) {
    struct Case {
        const char* what;
        bool closeFirst;
    };
    for (const Case c : {Case{"a reset while a command runs", false},
                         Case{"the check ends while a refused command is under way", true}}) {
        SCOPED_TRACE(c.what);
        lx::CommandGate gate;
        if (c.closeFirst) {
            ASSERT_TRUE(gate.CloseForCheck());
        }
        {
            lx::GateScope held(gate);
            EXPECT_EQ(!c.closeFirst, held.Open());
            gate.Reopen();
            lx::GateScope nested(gate);
            EXPECT_TRUE(nested.Open()) << "the gate is open again";
        }
        EXPECT_EQ(0, gate.Value()) << "every Leave balanced its Enter";
        lx::GateScope next(gate);
        EXPECT_TRUE(next.Open()) << "later commands still run";
        EXPECT_TRUE(!gate.CloseForCheck()) << "the running command holds the gate";
    }
}

TEST(CommandGate, ANegativeCounterFoundByTheCheckIsClosedToo) {
    lx::CommandGate gate;
    gate.Leave();
    EXPECT_TRUE(gate.CloseForCheck());
    EXPECT_EQ(-100, gate.Value());
}

TEST(CommandGate, CounterStaysExactUnderTwoThreads) {
    lx::CommandGate gate;
    auto work = [&gate] {
        for (int i = 0; i < 20000; ++i) {
            gate.Enter();
            gate.Leave();
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(0, gate.Value());
}

TEST(CommandRunner, ASecondCommandDoesNothingWhileOneRuns) {
    lx::CommandGate gate;
    lx::CommandRunner runner(gate);
    int first = 0, second = 0;
    bool nestedRan = true;
    EXPECT_TRUE(runner.RunGated([&] {
        ++first;
        EXPECT_TRUE(runner.Busy());
        // What a modal loop would dispatch: another command of the frame.
        nestedRan = runner.RunGated([&] { ++second; });
        EXPECT_FALSE(runner.RunUngated([&] { ++second; }));
    }));
    EXPECT_EQ(1, first);
    EXPECT_EQ(0, second);
    EXPECT_FALSE(nestedRan);
    EXPECT_EQ(0, gate.Value());
    // Once the first has ended, the next command runs.
    EXPECT_TRUE(runner.RunGated([&] { ++second; }));
    EXPECT_EQ(1, second);
}

TEST(CommandRunner, PaneActionsNestInsideAFrameCommand) {
    lx::CommandGate gate;
    lx::CommandRunner runner(gate);
    bool paneRan = false;
    runner.RunGated([&] {
        lx::GateScope pane(gate); // e.g. Empty _TRASHCAN running the list's Delete
        paneRan = pane.Open();
    });
    EXPECT_TRUE(paneRan);
}

TEST(CommandRunner, NothingRunsWhileTheCheckHoldsTheGate) {
    lx::CommandGate gate;
    lx::CommandRunner runner(gate);
    ASSERT_TRUE(gate.CloseForCheck());
    bool ran = false;
    EXPECT_FALSE(runner.RunGated([&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(-100, gate.Value());
    // Commands marked as running without the gate (help) still run.
    EXPECT_TRUE(runner.RunUngated([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(CommandRunner, ABodyThatThrowsLeavesTheRunnerFree) {
    lx::CommandGate gate;
    lx::CommandRunner runner(gate);
    EXPECT_THROW(runner.RunGated([] { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_FALSE(runner.Busy());
    EXPECT_EQ(0, gate.Value());
}

TEST(CommandPlugs, UnpluggedCommandsDoNothingPluggedOnesGetTheirArgument) {
    lx::CommandPlugs plugs;
    int result = 77;
    EXPECT_FALSE(plugs.Run(40001, nullptr, nullptr, &result));
    EXPECT_EQ(77, result);
    EXPECT_FALSE(plugs.IsPlugged(40001));
    std::string seen;
    plugs.Plug(40001, [&seen](void*, const char* argument) {
        seen = argument ? argument : "(none)";
        return lx::kPlugOk;
    });
    EXPECT_TRUE(plugs.IsPlugged(40001));
    EXPECT_TRUE(plugs.Run(40001, nullptr, "mailto:a@b.c", &result));
    EXPECT_EQ(lx::kPlugOk, result);
    EXPECT_EQ("mailto:a@b.c", seen);
    plugs.Plug(40001, nullptr);
    EXPECT_FALSE(plugs.IsPlugged(40001));
}

TEST(CommandPlugs, EachOwnerHasItsOwnCommands) {
    lx::CommandPlugs first;
    lx::CommandPlugs second;
    first.Plug(40002, [](void*, const char*) { return lx::kPlugOk; });
    EXPECT_TRUE(first.IsPlugged(40002));
    EXPECT_FALSE(second.IsPlugged(40002));
    int result = 0;
    EXPECT_FALSE(second.Run(40002, nullptr, nullptr, &result));
}

TEST(CommandPlugs, AHandlerMayUnplugItselfWhileItRuns) {
    lx::CommandPlugs plugs;
    int runs = 0;
    plugs.Plug(40003, [&](void*, const char*) {
        ++runs;
        plugs.Plug(40003, nullptr);
        return lx::kPlugCancel;
    });
    int result = 0;
    EXPECT_TRUE(plugs.Run(40003, nullptr, nullptr, &result));
    EXPECT_EQ(lx::kPlugCancel, result);
    EXPECT_EQ(1, runs);
    EXPECT_FALSE(plugs.Run(40003, nullptr, nullptr, &result));
}

} // namespace
