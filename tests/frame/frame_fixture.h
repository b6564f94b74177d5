// A main frame made in-process on the runner's store, with the program's catalogue, a fresh
// installation folder and a scripted UI hook.
#pragma once
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"
#include "mailer/ui/mainfrm.h"
#include "common/catalog/msgcatalog.h"
#include "common/settings/mailbox_record.h"

#include <memory>
#include <string>

namespace lxtest {

void Pump();
std::string StatusText(HWND statusBar, int pane);
lx::MailboxList TwoMailboxes(); // "Home" (current) and "Work"

class FrameTest : public StoreTest {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the frame (again) with the current mailbox list.
    void MakeFrame();
    HWND Wnd() const { return frame ? frame->Handle() : nullptr; }
    void Command(int id, int code = 0);
    std::string Text(const char* key);

    static lx::MessageCatalog* s_catalog;
    std::string folder;
    lx::MailboxList mailboxes;
    std::unique_ptr<lx::CMainFrame> frame;
    std::unique_ptr<ScriptedHook> hook;
};

} // namespace lxtest
