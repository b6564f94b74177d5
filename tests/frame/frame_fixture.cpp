#include "tests/frame/frame_fixture.h"
#include "tests/frame/mailboxes.h"
#include "mailer/ui/logic/cmdgate.h"

#include <commctrl.h>
#include <cstring>
#include <cstdlib>

namespace lxtest {

lx::MessageCatalog* FrameTest::s_catalog = nullptr;

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue; // the frame posts it when destroyed
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string StatusText(HWND statusBar, int pane) {
    char text[256] = "";
    const LRESULT length = ::SendMessageA(statusBar, SB_GETTEXTLENGTHA, pane, 0);
    if (LOWORD(length) >= sizeof text) return "";
    ::SendMessageA(statusBar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text));
    return text;
}

lx::MailboxList TwoMailboxes() {
    lx::MailboxList list = HomeAndWork("pop.home.example", "pop.work.example");
    std::strcpy(list.records[0].defaultFolder, "_IN");
    std::strcpy(list.records[1].defaultFolder, "_IN");
    return list;
}

void FrameTest::SetUpTestSuite() {
    StoreTest::SetUpTestSuite();
    if (s_catalog) return;
    s_catalog = new lx::MessageCatalog;
    const char* bin = std::getenv("LX_BINARY_DIR");
    const std::string path = std::string(bin ? bin : ".") + "/bin/DGROUP.VSF";
    s_catalog->Open(path.c_str(), lx::CatalogMagic::Exact);
}

void FrameTest::TearDownTestSuite() {}

void FrameTest::SetUp() {
    StoreTest::SetUp();
    ASSERT_TRUE(s_catalog && s_catalog->Loaded()) << "DGROUP.VSF of the build is needed";
    folder = TempFolder("lxframe");
    mailboxes = TwoMailboxes();
    hook.reset(new ScriptedHook);
    lx::CommandGate::Instance().Reopen();
    MakeFrame();
}

void FrameTest::MakeFrame() {
    if (frame && frame->Handle()) ::DestroyWindow(frame->Handle());
    frame.reset();
    Pump();
    lx::MainFrameContext context{folder.c_str(), s_catalog, &Conn(), &mailboxes};
    frame.reset(new lx::CMainFrame(context));
    ASSERT_TRUE(frame->CreateFrame());
    ::ShowWindow(frame->Handle(), SW_SHOWNORMAL);
    Pump();
}

void FrameTest::TearDown() {
    if (frame && frame->Handle()) ::DestroyWindow(frame->Handle());
    frame.reset();
    Pump();
    hook.reset();
}

void FrameTest::Command(int id, int code) {
    ::SendMessageA(Wnd(), WM_COMMAND, MAKEWPARAM(id, code), 0);
}

std::string FrameTest::Text(const char* key) {
    const char* text = s_catalog->Lookup(key);
    return text ? text : "";
}

} // namespace lxtest
