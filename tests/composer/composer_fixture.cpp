#include "tests/composer/composer_fixture.h"

#include "common/catalog/msgcatalog.h"
#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/schema/subject.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/mainfrm.h"
#include "mailer/ui/store/editfram_store.h"

#include <cstring>
#include <fstream>

namespace lxtest {

namespace {
constexpr char kPaneClass[] = "LxComposerTestPane";

// SIGNING.SIG with "Work" in use (slot 0) and "Gone" deleted (slot 1).
void WriteSignatures(const std::string& path) {
    std::string bytes(1296 + 2 * 512, '\0');
    bytes[0] = 2;
    bytes.replace(4, 4, "Work");
    bytes.replace(4 + 32, 4, "Gone");
    for (int slot = 0; slot < 2; ++slot) {
        const int offset = 1296 + 512 * slot;
        for (int i = 0; i < 4; ++i)
            bytes[1028 + 4 * slot + i] = static_cast<char>((offset >> (8 * i)) & 0xff);
    }
    bytes[1156 + 4] = 1; // slot 1 deleted
    const std::string text = "Jo Bloggs\r\nQuorbit Ltd";
    bytes.replace(1296, text.size(), text);
    std::ofstream(path, std::ios::binary) << bytes;
}
} // namespace

BOOL ComposerHook::OnCommonDialog(lx::ui::CommonDialog kind, void* data) {
    if (kind == lx::ui::CommonDialog::Font && chooseFont) {
        LOGFONTA* font = static_cast<CHOOSEFONTA*>(data)->lpLogFont;
        font->lfHeight = -20;
        std::strcpy(font->lfFaceName, "Courier New");
        return TRUE;
    }
    if (kind != lx::ui::CommonDialog::Open || files.empty()) return FALSE;
    auto* open = static_cast<OPENFILENAMEA*>(data);
    std::strncpy(open->lpstrFile, files.front().c_str(), open->nMaxFile - 1);
    files.erase(files.begin());
    return TRUE;
}

PaneStandIn::PaneStandIn() {
    Map().On(lx::WM_LX_MESSAGE_CHANGED, [this](WPARAM, LPARAM) -> LRESULT {
        ++reloads;
        return 0;
    });
    RegisterClass(kPaneClass, 0, nullptr, nullptr);
    Create(kPaneClass, "pane", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100, nullptr, nullptr);
}

lx::ComposerContext ComposerContextOver(lx::CMainFrame& frame, const std::string& folder,
                                        lx::MessageCatalog* catalog, odbcvantConnection& conn,
                                        const lx::MailboxList& mailboxes) {
    lx::ComposerContext context;
    context.installPath = folder.c_str();
    context.catalog = catalog;
    context.conn = &conn;
    context.spell = &frame.Spell();
    context.mailboxes = &mailboxes;
    context.plugs = &frame.Plugs();
    lx::CMainFrame* main = &frame;
    context.outFolder = [main] { return main->SpecialFolders().out; };
    context.trashFolder = [main] { return main->SpecialFolders().trashcan; };
    context.registryKey = kComposerTestKey;
    return context;
}

bool PumpUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (condition()) return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return condition();
}

lx::MessageCatalog& ComposerTest::Catalogue() { return BuiltCatalogue(); }

void ComposerTest::SetUp() {
    StoreTest::SetUp();
    ASSERT_TRUE(Catalogue().Loaded()) << "DGROUP.VSF of the build is needed";
    for (const char* name : {"_IN", "_OUT", "_SENT", "_TRASHCAN"})
        Exec(std::string("INSERT INTO Folders (Folder, FolderType, Description) VALUES (") +
             lx::SqlQuote(name) + ", 'S', 'special')");
    Exec("INSERT INTO Folders (Folder, FolderType, Description) VALUES ('Keep', 'U', 'kept')");
    out = Folder("_OUT");
    sent = Folder("_SENT");
    trash = Folder("_TRASHCAN");
    keep = Folder("Keep");
    folder = TempFolder("lxcompose");
    WriteSignatures(folder + "\\SIGNING.SIG");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kComposerTestKey);
    mailboxes = {};
    mailboxes.count = 2;
    std::strcpy(mailboxes.records[0].name, "Home");
    std::strcpy(mailboxes.records[0].address, "me@home.example");
    std::strcpy(mailboxes.records[1].name, "Work");
    std::strcpy(mailboxes.records[1].address, "me@work.example");
    hook.reset(new ComposerHook);
    pane.reset(new PaneStandIn);
    lx::CommandGate::Instance().Reopen();

    lx::ComposerContext context;
    context.installPath = folder.c_str();
    context.catalog = &Catalogue();
    context.conn = &Conn();
    context.mailboxes = &mailboxes;
    context.spell = &spell;
    context.plugs = &plugs;
    context.outFolder = [this] { return out; };
    context.trashFolder = [] { return -1L; }; // looked up by name
    context.registryKey = kComposerTestKey;
    composers.reset(new lx::ComposerSet(context));
    lx::PlugComposer(plugs, *composers,
                     [this](HWND, const lx::OpenMessageRequest& request, const lx::StoredMessage&) {
                         viewerAsked.push_back(request.mesgNum);
                     });
    plugs.Plug(ID_MAIL_SEND, [this](void*, const char* argument) {
        sendArguments.push_back(argument ? argument : "");
        return lx::kPlugOk;
    });
}

void ComposerTest::TearDown() {
    composers.reset();
    pane.reset();
    PumpUntil([] { return true; });
    hook.reset();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kComposerTestKey);
}

lx::EditorFrame* ComposerTest::Newest() const {
    const std::vector<lx::EditorFrame*> open = composers->OpenFrames();
    return open.empty() ? nullptr : open.back();
}

lx::EditorFrame* ComposerTest::NewComposer(const std::string& commandLine) {
    int result = 0;
    if (!plugs.Run(ID_MESSAGE_NEW, pane->Handle(), commandLine.c_str(), &result) ||
        result != lx::kPlugOk)
        return nullptr;
    return Newest();
}

lx::EditorFrame* ComposerTest::OpenStored(long mesgNum, int flag) {
    int result = 0;
    const std::string argument = lx::OpenMessageArgument(lx::OpenMessageRequest{mesgNum, flag});
    if (!plugs.Run(ID_MESSAGE_READ, pane->Handle(), argument.c_str(), &result) ||
        result != lx::kPlugOk)
        return nullptr;
    return Newest();
}

void ComposerTest::SetText(HWND form, int id, const std::string& text) {
    ::SetDlgItemTextA(form, id, text.c_str());
}

void ComposerTest::Click(HWND form, int id) {
    ::SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(form, id)));
}

bool ComposerTest::WaitClosed(lx::EditorFrame* frame) {
    return PumpUntil([frame] { return frame->Handle() == nullptr; });
}

std::string ComposerTest::Text(const char* key) const { return lx::CatalogText(&Catalogue(), key); }

long ComposerTest::Folder(const char* name) {
    return QueryLong(std::string("SELECT FolderNum FROM Folders WHERE Folder = ") +
                     lx::SqlQuote(name));
}

long ComposerTest::Count(const std::string& sqlWhere) {
    return QueryLong("SELECT COUNT(*) " + sqlWhere);
}

std::string ComposerTest::MakeFile(const std::string& name) {
    const std::string path = folder + "\\" + name;
    std::ofstream(path, std::ios::binary) << "attached " << name << "\r\n";
    return path;
}

long ComposerTest::StoreOutgoing(long folderNum, const std::string& subject,
                                 const std::vector<std::string>& to,
                                 const std::vector<std::string>& cc,
                                 const std::vector<std::string>& files) {
    lx::NewMessage m;
    m.kind = lx::NewMessageKind::Written;
    m.folderNum = folderNum;
    m.mesgId = "Work";
    m.fromAdd = "me@work.example";
    m.appDate = lx::StoreTime{2026, 12, 9, 9, 0, 0};
    m.subject = lx::ComposeSubject(subject, false, !files.empty());
    m.mailData = "Stored text.\r\n";
    m.to = to;
    m.cc = cc;
    m.files = files;
    long mesgNum = -1;
    EXPECT_EQ(lx::StoreNewMessage(&Conn(), m, nullptr, &mesgNum), lx::StoreOutcome::Stored);
    return mesgNum;
}

} // namespace lxtest
