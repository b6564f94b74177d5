#include "tests/autocheck/window_fixture.h"

#include <windows.h>

#include <cstdio>

#include "common/catalog/textformat.h"
#include "common/settings/fixed_text.h"
#include "mailer/res/resource.h"
#include "mailer/ui/autocheck.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/logic/cmdplug.h"

namespace lxtest {

namespace {

constexpr unsigned kShortWaitMillis = 20;
const char* const kScriptVariables[] = {
    "LORVEX_RAS_ENTRIES",   "LORVEX_RAS_USER",   "LORVEX_RAS_PASSWORD", "LORVEX_RAS_DIAL",
    "LORVEX_RAS_CONNECTED", "LORVEX_RAS_STATES", "LORVEX_RAS_ERRORS"};

std::vector<std::string> LinesOf(const std::string& path, const char* end) {
    std::vector<std::string> lines;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return lines;
    std::string text;
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) text.append(block, got);
    std::fclose(f);
    const std::string cut = end;
    size_t from = 0;
    for (size_t at = text.find(cut); at != std::string::npos; at = text.find(cut, from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + cut.size();
    }
    return lines;
}

} // namespace

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

void AutoCheckTest::SetUp() {
    FrameTest::SetUp();
    for (const char* name : kScriptVariables) ::SetEnvironmentVariableA(name, nullptr);
    rasLog = folder + "\\ras.log";
    ::DeleteFileA(rasLog.c_str());
    ::DeleteFileA((folder + "\\Lorvex.Log").c_str());
    ::SetEnvironmentVariableA("LORVEX_RAS_LOG", rasLog.c_str());
    dialer = lx::DialerSettings{};
    lx::CopyText(dialer.phoneBookEntry, "Provider");
    lx::CopyText(dialer.dialUser, "dialer");
    lx::CopyText(dialer.dialPassword, "secret");
    lx::CopyText(dialer.selectedMailboxes[0], "Home");
    dialer.selectedCount = 1;
    runs = 0;
    MakeCheckFrame();
}

void AutoCheckTest::TearDown() {
    FrameTest::TearDown();
    lx::CommandGate::Instance().Reopen();
}

void AutoCheckTest::MakeCheckFrame(const std::string& rasLibrary) {
    if (frame && frame->Handle()) ::DestroyWindow(frame->Handle());
    frame.reset();
    Pump();
    lx::MainFrameContext context{folder.c_str(), s_catalog, &Conn(), &mailboxes};
    context.dialer = &dialer;
    context.transfers = &marks;
    context.dialWaitMillis = kShortWaitMillis;
    context.rasLibrary = rasLibrary.c_str();
    frame.reset(new lx::CMainFrame(context));
    ASSERT_TRUE(frame->CreateFrame());
    ::ShowWindow(frame->Handle(), SW_SHOWNORMAL);
    Pump();
}

void AutoCheckTest::PlugCountingRun() {
    frame->Plugs().Plug(lx::kPlugAutoMailRun, [this](void*, const char*) {
        ++runs;
        return lx::kPlugOk;
    });
}

void AutoCheckTest::TickToZero() {
    frame->ArmMailCheck(1);
    ::SendMessageA(Wnd(), WM_TIMER, IDT_MAILCHECK, 0);
}

bool AutoCheckTest::WaitFor(const std::function<bool()>& done, unsigned millis) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > millis) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

bool AutoCheckTest::CycleEnded() {
    return !frame->MailCheck().Dialling() && frame->MailCheck().TimerRunning() &&
           !frame->CheckLog().IsOpen();
}

std::vector<std::string> AutoCheckTest::LogLines() const {
    return LinesOf(folder + "\\Lorvex.Log", "\r\n");
}

std::vector<std::string> AutoCheckTest::RasCalls() const { return LinesOf(rasLog, "\n"); }

std::string AutoCheckTest::Stamp(const char* key) const {
    const char* text = s_catalog->Lookup(key);
    const std::string all = text ? text : "";
    return all.substr(0, all.find('%'));
}

std::string AutoCheckTest::Formatted(const char* key, int number) {
    return lx::FormatTextOr(Text(key).c_str(), {number}, Text(key));
}

std::string AutoCheckTest::Formatted(const char* key, const std::string& text) {
    return lx::FormatTextOr(Text(key).c_str(), {text}, Text(key));
}

} // namespace lxtest
