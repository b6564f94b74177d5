#include "tests/mailboxes/mailboxes_fixture.h"

#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"

#include <cstring>
#include <memory>

namespace lxtest {

Script& Script::Do(std::function<void()> step) {
    steps_.push_back([step] {
        step();
        return true;
    });
    return *this;
}

Script& Script::WaitFor(std::function<bool()> done, const char* what, DWORD millis) {
    auto deadline = std::make_shared<DWORD>(0);
    const std::string name = what;
    steps_.push_back([done, deadline, millis, name] {
        if (*deadline == 0) *deadline = ::GetTickCount() + millis;
        if (done()) return true;
        if (static_cast<LONG>(::GetTickCount() - *deadline) >= 0) {
            ADD_FAILURE() << "gave up waiting for " << name;
            return true;
        }
        return false;
    });
    return *this;
}

void Script::Start() {
    later_.Post([this] { RunNext(); });
}

void Script::RunNext() {
    if (next_ >= steps_.size()) return;
    if (steps_[next_]()) {
        ++next_;
        later_.Post([this] { RunNext(); });
    } else {
        // A wait looks again a little later, leaving the loop to the messages meanwhile.
        later_.PostAfter(10, [this] { RunNext(); });
    }
}

void MailboxSetupTest::SetUp() {
    FrameTest::SetUp();
    if (HasFatalFailure()) return;
    // The dialog layer's own messages (field lengths) come from the program's catalogue.
    lx::ui::SetCatalog(s_catalog);
    context.catalog = s_catalog;
    context.conn = &Conn();
    context.installPath = folder;
    context.mailboxes = &mailboxes;
    context.inFolderNum = [this] { return frame->SpecialFolders().in; };
    lx::PlugMailboxSetup(frame->Plugs(), context);
    // Every dialog that opens is noted by its resource id.
    hook->onInit = [this](HWND dialog, int resourceId) { opened[resourceId] = dialog; };
}

void MailboxSetupTest::RunSetup(Script& script) {
    hook->onInit = [this, &script](HWND dialog, int resourceId) {
        opened[resourceId] = dialog;
        if (resourceId == IDD_MBOXLIST) script.Start();
    };
    Command(ID_MAILBOX_SETUP);
    EXPECT_TRUE(script.Finished()) << "the script did not run to its end";
    hook->onInit = [this](HWND dialog, int resourceId) { opened[resourceId] = dialog; };
    Pump();
}

void MailboxSetupTest::TearDown() {
    FrameTest::TearDown();
    lx::ui::SetCatalog(nullptr);
}

HWND MailboxSetupTest::Open(int resourceId) const {
    const auto found = opened.find(resourceId);
    return found == opened.end() ? nullptr : found->second;
}

void MailboxSetupTest::Push(int resourceId, int button) const { Press(Open(resourceId), button); }

void MailboxSetupTest::SetItem(int resourceId, int id, const std::string& text) const {
    ::SetDlgItemTextA(Open(resourceId), id, text.c_str());
}

void MailboxSetupTest::Tick(int resourceId, int id, bool checked) const {
    ::CheckDlgButton(Open(resourceId), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::string MailboxSetupTest::Item(int resourceId, int id) const {
    return ControlText(Open(resourceId), id);
}

std::vector<std::string> MailboxSetupTest::Entries(int resourceId, int id) const {
    HWND control = ::GetDlgItem(Open(resourceId), id);
    char kind[32] = "";
    ::GetClassNameA(control, kind, sizeof kind);
    const bool combo = _stricmp(kind, "ComboBox") == 0;
    const LRESULT count = ::SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = "";
        ::SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

int MailboxSetupTest::Selection(int resourceId, int id) const {
    HWND control = ::GetDlgItem(Open(resourceId), id);
    char kind[32] = "";
    ::GetClassNameA(control, kind, sizeof kind);
    const bool combo = _stricmp(kind, "ComboBox") == 0;
    return static_cast<int>(::SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void MailboxSetupTest::SelectEntry(int resourceId, int id, int index) const {
    HWND control = ::GetDlgItem(Open(resourceId), id);
    char kind[32] = "";
    ::GetClassNameA(control, kind, sizeof kind);
    const bool combo = _stricmp(kind, "ComboBox") == 0;
    ::SendMessageA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool MailboxSetupTest::Visible(int resourceId, int id) const {
    // The control's own style: a dialog under a busy script may not have been shown yet.
    const LONG_PTR style = ::GetWindowLongPtrA(::GetDlgItem(Open(resourceId), id), GWL_STYLE);
    return (style & WS_VISIBLE) != 0;
}

lx::MailboxList MailboxSetupTest::StoredList() const {
    lx::MailboxList list;
    lx::LoadMailboxes(folder, 0, list);
    return list;
}

bool MailboxSetupTest::MailboxFileExists() const {
    return ::GetFileAttributesA((folder + "\\" + lx::kMailboxFile).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

std::string MailboxSetupTest::RegistryString(const char* name) {
    lx::Win32SettingsRegistry registry;
    return lx::ReadStringOr(registry, name, 128, "<absent>");
}

std::int32_t MailboxSetupTest::RegistryDword(const char* name) {
    lx::Win32SettingsRegistry registry;
    return lx::ReadDwordOr(registry, name, -12345);
}

lx::MailboxRecord Record(const std::string& name) {
    lx::MailboxRecord r;
    lx::CopyText(r.name, name.c_str());
    lx::CopyText(r.pop3Server, ("pop." + name + ".example").c_str());
    lx::CopyText(r.smtpServer, ("smtp." + name + ".example").c_str());
    lx::CopyText(r.address, ("me@" + name + ".example").c_str());
    lx::CopyText(r.user, "me");
    lx::CopyText(r.password, "secret");
    lx::Scramble(r.password);
    lx::CopyText(r.defaultFolder, "_IN");
    return r;
}

std::vector<std::string> MailboxSetupTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const BoxSeen& box : hook->boxes) texts.push_back(box.text);
    return texts;
}

std::string Scrambled(const char* plain) {
    char text[17] = "";
    lx::CopyText(text, plain);
    lx::Scramble(text);
    return text;
}

} // namespace lxtest
