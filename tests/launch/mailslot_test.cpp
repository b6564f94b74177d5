// The viewers' requests through \\.\mailslot\LX_MS_20: whole 4073-byte records reach the message
// list pane's handlers in order, others are dropped; a reply leaves the user's own address out,
// a mail-to opens a composer, add-addresses shows "Addresses From Message".
#include <gtest/gtest.h>

#include <windows.h>

#include "common/viewreq/viewreqrecord.h"
#include "mailer/res/resource.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/sendmesg.h"
#include "tests/composer/composer_fixture.h"
#include "tests/launch/launch_fixture.h"
#include "tests/panes/panes_store.h"

namespace lxtest {
namespace {

lx::ViewerRequest Request(lx::ViewerRequestCode code) {
    lx::ViewerRequest r;
    r.code = code;
    r.sender = "ann@example.org";
    r.toList = "Me <me@home.example>\r\nbob@example.org\r\n";
    r.toCount = 2;
    r.ccList = "carol@example.org\r\nME@HOME.EXAMPLE\r\n";
    r.ccCount = 2;
    r.subject = "Lunch";
    return r;
}

std::vector<std::uint8_t> Record(const lx::ViewerRequest& request) {
    return lx::EncodeViewerRequest(request);
}

class Mailslot : public LaunchTest {
protected:
    HWND NewestForm() const {
        const auto open = composers->OpenFrames();
        return open.empty() ? nullptr : open.back()->Form()->Handle();
    }
    bool ComposersOpen(size_t n) {
        return PumpUntil([this, n] { return composers->OpenFrames().size() == n; });
    }
};

TEST_F(Mailslot, TheReaderRunsWithTheList) { EXPECT_NE(List()->RequestReaderThread(), 0u); }

TEST_F(Mailslot, MessageChangedReloadsTheList) {
    const long in = FolderNumOf(Conn(), "_IN");
    AddMessage(Conn(), in, 'I', "ann@example.org", "New&&N& ", lx::StoreTime{2026, 1, 2, 3, 4, 5});
    ASSERT_EQ(frame->MessageCount(), 0);
    ASSERT_TRUE(WriteRecord(Record(Request(lx::ViewerRequestCode::MessageChanged))));
    EXPECT_TRUE(PumpUntil([this] { return frame->MessageCount() == 1; }));
}

// Records are handled in order: once the mail-to behind them is seen, the others had their turn.
TEST_F(Mailslot, RecordsOfOtherSizesOrCodesAreDropped) {
    const long in = FolderNumOf(Conn(), "_IN");
    AddMessage(Conn(), in, 'I', "ann@example.org", "New&&N& ", lx::StoreTime{2026, 1, 2, 3, 4, 5});
    std::vector<std::uint8_t> shorter = Record(Request(lx::ViewerRequestCode::MessageChanged));
    shorter.pop_back();
    std::vector<std::uint8_t> longer = Record(Request(lx::ViewerRequestCode::MessageChanged));
    longer.push_back(0);
    std::vector<std::uint8_t> badCode = Record(Request(lx::ViewerRequestCode::MessageChanged));
    badCode[0] = 5;
    for (const auto& bytes : {shorter, longer, badCode}) ASSERT_TRUE(WriteRecord(bytes));
    lx::ViewerRequest mailTo;
    mailTo.code = lx::ViewerRequestCode::MailTo;
    mailTo.toList = "link@example.org";
    mailTo.subject = "???";
    ASSERT_TRUE(WriteRecord(Record(mailTo)));
    ASSERT_TRUE(ComposersOpen(1));
    EXPECT_EQ(frame->MessageCount(), 0) << "no reload came from the dropped records";
    EXPECT_EQ(ControlText(NewestForm(), IDC_SENDMESG_TO), "link@example.org");
    EXPECT_EQ(ControlText(NewestForm(), IDC_SENDMESG_SUBJECT), "???");
}

TEST_F(Mailslot, ReplyOpensAComposerWithoutTheUsersOwnAddress) {
    const long in = FolderNumOf(Conn(), "_IN");
    lx::ViewerRequest reply = Request(lx::ViewerRequestCode::ReplyOrForward);
    reply.mesgNum = AddMessage(Conn(), in, 'I', "ann@example.org", "Lunch&& & ",
                               lx::StoreTime{2026, 1, 2, 3, 4, 5});
    reply.mesgSize = 4;
    ASSERT_TRUE(WriteRecord(Record(reply)));
    ASSERT_TRUE(ComposersOpen(1));
    EXPECT_EQ(composers->OpenFrames()[0]->Owner(), List()->Handle());
    EXPECT_EQ(ControlText(NewestForm(), IDC_SENDMESG_TO), "ann@example.org\r\nbob@example.org");
    EXPECT_EQ(ControlText(NewestForm(), IDC_SENDMESG_CC), "carol@example.org");
}

struct AddCase {
    bool bookPlugged;
};

TEST_F(Mailslot, AddAddressesListsThemAndAddsThroughTheAddressBook) {
    for (const AddCase c : {AddCase{true}, AddCase{false}}) {
        std::vector<std::string> presets;
        if (c.bookPlugged)
            frame->Plugs().Plug(ID_ADDRESS_BOOK, [&presets](void*, const char* address) {
                presets.push_back(address ? address : "");
                return lx::kPlugOk;
            });
        else
            frame->Plugs().Plug(ID_ADDRESS_BOOK, nullptr);
        std::vector<std::string> listed;
        bool addEnabled = false;
        HWND shown = nullptr;
        hook->onInit = [&](HWND dialog, int id) {
            if (id != IDD_ADDRFROM) return;
            shown = dialog;
            HWND list = ::GetDlgItem(dialog, IDC_ADDRFROM_LIST);
            const int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i) {
                char text[128] = "";
                ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                listed.push_back(text);
            }
            addEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_ADDRFROM_ADD)) != FALSE;
            ::SendMessageA(list, LB_SETCURSEL, 1, 0);
            Press(dialog, IDC_ADDRFROM_ADD);
            Press(dialog, IDCANCEL);
        };
        ASSERT_TRUE(WriteRecord(Record(Request(lx::ViewerRequestCode::AddAddresses))));
        ASSERT_TRUE(PumpUntil([&] { return shown && !::IsWindow(shown); }));
        EXPECT_EQ(listed, (std::vector<std::string>{"ann@example.org", "bob@example.org",
                                                    "carol@example.org"}));
        EXPECT_EQ(addEnabled, c.bookPlugged);
        EXPECT_EQ(presets, c.bookPlugged ? std::vector<std::string>{"bob@example.org"}
                                         : std::vector<std::string>{});
    }
}

} // namespace
} // namespace lxtest
