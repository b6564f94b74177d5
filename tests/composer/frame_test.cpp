// The composer in the real main window: the menu command and the start-up command line open it
// over the message list pane, which reloads its folder once a composer saved a message.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "mailer/res/resource.h"
#include "mailer/ui/composer.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/mainspli.h"
#include "mailer/ui/sendmesg.h"
#include "tests/composer/composer_fixture.h"
#include "tests/frame/frame_fixture.h"
#include "tests/panes/panes_store.h"

namespace lxtest {
namespace {

class ComposerInFrame : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        std::strcpy(mailboxes.records[0].address, "me@home.example");
        const lx::ComposerContext context =
            ComposerContextOver(*frame, folder, s_catalog, Conn(), mailboxes);
        composers.reset(new lx::ComposerSet(context));
        lx::PlugComposer(frame->Plugs(), *composers, lx::ViewerLaunch());
        frame->Plugs().Plug(ID_MAIL_SEND, [](void*, const char*) { return lx::kPlugOk; });
    }
    void TearDown() override {
        composers.reset();
        FrameTest::TearDown();
    }
    HWND ListPane() const { return frame->Splitter()->MessagePaneWindow(); }
    std::unique_ptr<lx::ComposerSet> composers;
};

TEST_F(ComposerInFrame, MenuCommandOpensAComposerOwnedByTheListPane) {
    Command(ID_MESSAGE_NEW);
    ASSERT_EQ(composers->OpenFrames().size(), 1u);
    lx::EditorFrame* editor = composers->OpenFrames()[0];
    EXPECT_EQ(editor->Owner(), ListPane());
    EXPECT_EQ(::GetWindow(editor->Handle(), GW_OWNER), Wnd()) << "owned by the main window";
    char title[128] = "";
    ::GetWindowTextA(editor->Handle(), title, sizeof title);
    EXPECT_EQ(title, Text("EDITFRAM_CPP_1"));
}

TEST_F(ComposerInFrame, StartUpMailtoLineAddressesTheComposer) {
    static const char kLine[] = "mailto:friend@example.org";
    ::SendMessageA(Wnd(), lx::WM_LX_COMMAND_LINE, 0, reinterpret_cast<LPARAM>(kLine));
    ASSERT_EQ(composers->OpenFrames().size(), 1u);
    EXPECT_EQ(ControlText(composers->OpenFrames()[0]->Form()->Handle(), IDC_SENDMESG_TO),
              "friend@example.org");
}

TEST_F(ComposerInFrame, ListReloadsWhenAComposerSavedAMessage) {
    const long in = FolderNumOf(Conn(), "_IN");
    ASSERT_EQ(frame->MessageCount(), 0);
    AddMessage(Conn(), in, 'I', "a@b.example", "Hi&&N& ", lx::StoreTime{2026, 12, 9, 12, 0, 0});
    Command(ID_MESSAGE_NEW);
    ASSERT_EQ(composers->OpenFrames().size(), 1u);
    lx::EditorFrame* editor = composers->OpenFrames()[0];
    HWND form = editor->Form()->Handle();
    ::SetDlgItemTextA(form, IDC_SENDMESG_TO, "ann@example.org");
    ::SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDC_SENDMESG_SENDNOW, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(form, IDC_SENDMESG_SENDNOW)));
    ASSERT_TRUE(PumpUntil([this] { return composers->OpenFrames().empty(); }));
    ASSERT_TRUE(PumpUntil([this] { return frame->MessageCount() == 1; }))
        << "the list pane reloaded its folder";
    EXPECT_EQ(CountOf(Conn(), "SELECT COUNT(*) FROM Messages WHERE MesgType = 'O'"), 1);
}

} // namespace
} // namespace lxtest
