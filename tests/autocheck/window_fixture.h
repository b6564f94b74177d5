// A main frame made in-process with the automatic check's settings of the test, short dial-up
// pauses, and the RASAPI32.DLL stand-in of this test's folder (or one lacking an entry point).
#pragma once
#include "tests/frame/frame_fixture.h"

#include <functional>
#include <string>
#include <vector>

#include "common/settings/dialer_settings.h"
#include "mailer/transfer/logic/transfermarks.h"

namespace lxtest {

// The folder of this test program, where the stand-in lies.
std::string ProgramFolder();

class AutoCheckTest : public FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The frame again with the test's settings and `rasLibrary`.
    void MakeCheckFrame(const std::string& rasLibrary = "RASAPI32.DLL");
    // A run that only counts.
    void PlugCountingRun();
    // Arms a one-second interval and sends the tick that reaches zero.
    void TickToZero();
    // Pumps messages until `done` (bounded); false on time-out.
    bool WaitFor(const std::function<bool()>& done, unsigned millis = 10000);
    // The cycle has ended: no dial under way and the countdown running again.
    bool CycleEnded();
    std::vector<std::string> LogLines() const;
    std::vector<std::string> RasCalls() const;
    std::string Stamp(const char* key) const; // the key's text up to its first conversion
    std::string Formatted(const char* key, int number);
    std::string Formatted(const char* key, const std::string& text);

    lx::DialerSettings dialer{};
    lx::TransferMarks marks;
    int runs = 0;
    std::string rasLog;
};

} // namespace lxtest
