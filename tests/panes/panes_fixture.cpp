#include "tests/panes/panes_fixture.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/uiseam.h"
#include "mailer/ui/panewiring.h"
#include "mailer/ui/store/mailfold_store.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace lxtest {

TestCatalogue* PaneTest::s_catalogue = nullptr;

namespace {

std::string ReadSource() {
    const char* root = std::getenv("LX_SOURCE_DIR");
    std::string path = std::string(root && *root == '/' ? "Z:" : "") + (root ? root : ".") +
                       "/mailer/res/DGROUP.msg";
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

LRESULT CALLBACK ParentProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace

void PaneTest::SetUp() {
    StoreTest::SetUp();
    if (!s_catalogue) s_catalogue = new TestCatalogue(ReadSource());
    ASSERT_TRUE(s_catalogue->Ok()) << "the catalogue source could not be built";
    lx::ui::SetCatalog(&s_catalogue->Get());
    specialFolders = lx::SpecialFolderNumbers{};
    installPath = TempFolder("lxpanes");
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "LxPaneTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassA(&wc);
    parent = ::CreateWindowExA(0, "LxPaneTestParent", "Panes",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 900, 480,
                               nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, parent);
    ::SetForegroundWindow(parent);
}

void PaneTest::TearDown() {
    messages.reset();
    folders.reset();
    if (parent) ::DestroyWindow(parent);
    parent = nullptr;
    Pump();
    lx::ui::SetCatalog(nullptr);
}

std::string PaneTest::Text(const char* key) {
    const char* text = s_catalogue->Get().Lookup(key);
    return text ? text : "";
}

lx::PaneContext PaneTest::Context() {
    lx::PaneContext c;
    c.catalog = &s_catalogue->Get();
    c.conn = &Conn();
    c.installPath = installPath;
    c.mailboxes = &mailboxes;
    c.specialFolders = &specialFolders;
    return c;
}

void PaneTest::MakeFolders(const std::vector<std::string>& userFolders) {
    lx::FolderStore store(&Conn(), nullptr);
    std::vector<lx::FolderRow> rows;
    ASSERT_TRUE(store.LoadEnsuringSpecialFolders(rows, [](const char* key) { return Text(key); }));
    for (const auto& name : userFolders) ASSERT_TRUE(store.Insert(name, "U", "About " + name));
}

void PaneTest::CreatePanes() {
    RECT area{};
    ::GetClientRect(parent, &area);
    folders = std::make_unique<lx::FolderPane>(Context());
    ASSERT_TRUE(folders->Create(parent, 1));
    ::MoveWindow(folders->Handle(), 0, 0, lx::FolderPane::kWidth, area.bottom, TRUE);
    messages = std::make_unique<lx::MessageListPane>(Context());
    ASSERT_TRUE(messages->Create(parent, 2));
    ::MoveWindow(messages->Handle(), lx::FolderPane::kWidth + 4, 0,
                 area.right - lx::FolderPane::kWidth - 4, area.bottom, TRUE);
    lx::PaneReports reports;
    reports.folderSelected = [this](long num) { selectedFolders.push_back(num); };
    reports.count = [this](long n) { counts.push_back(n); };
    reports.open = [this](long mesgNum, int flag) { opened.emplace_back(mesgNum, flag); };
    lx::WirePanes(*folders, *messages, std::move(reports));
    // As the frame does once its window stands: the list's query runs again, wired.
    messages->Reload();
    ::UpdateWindow(parent);
    Pump();
}

std::string PaneTest::ItemText(HWND list, int index) {
    const LRESULT n = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return "<none>";
    std::string text(static_cast<size_t>(n) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
}

std::vector<std::string> PaneTest::ItemTexts(HWND list) {
    std::vector<std::string> texts;
    const int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) texts.push_back(ItemText(list, i));
    return texts;
}

POINT PaneTest::RowPoint(HWND list, int index) {
    RECT item{};
    ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(list, &p);
    return p;
}

void PaneTest::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

} // namespace lxtest
