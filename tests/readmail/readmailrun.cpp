#include "tests/readmail/readmailrun.h"

#include "mailer/res/resource.h"
#include "mailer/ui/editfram.h"

#include <commctrl.h>

namespace lxtest {

namespace {

struct TopSearch {
    const char* className;
    DWORD pid;
    std::vector<HWND> found;
};

bool ClassIs(HWND wnd, const char* className) {
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof name);
    return ::lstrcmpiA(name, className) == 0;
}

BOOL CALLBACK MatchTop(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<TopSearch*>(param);
    if (::IsWindowVisible(wnd) && ClassIs(wnd, search->className) &&
        (search->pid == 0 || ProcessOf(wnd) == search->pid))
        search->found.push_back(wnd);
    return TRUE;
}

struct ChildSearch {
    int id;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    const bool match =
        search->className ? ClassIs(wnd, search->className) : ::GetDlgCtrlID(wnd) == search->id;
    if (!match) return TRUE;
    search->found = wnd;
    return FALSE;
}

HWND ListOfPane(HWND frame, const char* paneClass) {
    HWND pane = DescendantByClass(frame, paneClass);
    return pane ? DescendantByClass(pane, "ListBox") : nullptr;
}

} // namespace

DWORD ProcessOf(HWND wnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    return pid;
}

std::vector<HWND> TopWindowsOf(const char* className, DWORD pid) {
    TopSearch search{className, pid, {}};
    ::EnumWindows(&MatchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND TopWindowOf(const char* className, DWORD pid) {
    const std::vector<HWND> found = TopWindowsOf(className, pid);
    return found.empty() ? nullptr : found.front();
}

HWND DialogWithItem(DWORD pid, int id) {
    for (HWND dialog : TopWindowsOf("#32770", pid))
        if (::GetDlgItem(dialog, id)) return dialog;
    return nullptr;
}

HWND DescendantById(HWND parent, int id) {
    ChildSearch search{id, nullptr, nullptr};
    ::EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DescendantByClass(HWND parent, const char* className) {
    ChildSearch search{0, className, nullptr};
    ::EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Texts of another process's windows are asked for in UTF-16, which every window answers in
// full (the narrow forms of some lose all but the first character across processes).
std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                              size, nullptr, nullptr);
    return text;
}

std::string WindowText(HWND wnd) {
    // Sent, not GetWindowText: that gives a control of another process only its caption.
    wchar_t text[4096] = L"";
    ::SendMessageW(wnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&line[0]));
        line.resize(std::char_traits<wchar_t>::length(line.c_str()));
        lines.push_back(Narrow(line));
    }
    return lines;
}

bool Answers(HWND wnd, DWORD millis) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_NORMAL, millis, &answer) != 0;
}

void AwaitInputIdle(DWORD pid) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return;
    ::WaitForInputIdle(process, 30000);
    ::CloseHandle(process);
}

HWND MainWindow::MessageList() const { return ListOfPane(frame_, "LxMessageList"); }

int MainWindow::Rows() const {
    HWND list = MessageList();
    return list ? static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)) : -1;
}

bool MainWindow::ListsMessages() const {
    HWND toolbar = DescendantByClass(frame_, TOOLBARCLASSNAMEA);
    return toolbar && ::SendMessageA(toolbar, TB_ISBUTTONENABLED, ID_MESSAGE_DELETE, 0) != 0;
}

void MainWindow::OpenRow(int row) const {
    HWND list = MessageList();
    const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM at = MAKELPARAM(4, row * height + height / 2);
    // Posted in order: the click is handled before the command that opens the selection.
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    ::PostMessageA(frame_, WM_COMMAND, MAKEWPARAM(ID_MESSAGE_READ, 0), 0);
}

bool MainWindow::ShowFolder(const std::string& folder) const {
    HWND list = ListOfPane(frame_, "LxFolderPane");
    if (!list) return false;
    const std::vector<std::string> lines = ListLines(list);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != folder) continue;
        ::SendMessageA(list, LB_SETCURSEL, i, 0);
        ::SendMessageA(::GetParent(list), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
        return true;
    }
    return false;
}

std::vector<HWND> MainWindow::Composers() const {
    return TopWindowsOf(lx::kEditorFrameClass, Process());
}

HWND MainWindow::AddressesDialog() const { return DialogWithItem(Process(), IDC_ADDRFROM_LIST); }

std::vector<std::string> MainWindow::AddressesShown(HWND dialog) {
    return ListLines(::GetDlgItem(dialog, IDC_ADDRFROM_LIST));
}

ComposerTexts ReadComposer(HWND composer) {
    ComposerTexts texts;
    texts.to = WindowText(DescendantById(composer, IDC_SENDMESG_TO));
    texts.cc = WindowText(DescendantById(composer, IDC_SENDMESG_CC));
    texts.subject = WindowText(DescendantById(composer, IDC_SENDMESG_SUBJECT));
    return texts;
}

} // namespace lxtest
