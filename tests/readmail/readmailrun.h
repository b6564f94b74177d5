// The two programs' windows as the reading-mail tests drive them from outside, by class and
// control id: the main window's message list and folder pane, composers, dialogs and boxes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lxtest {

// Visible top-level windows of class `className` of process `pid` (0: of any process).
std::vector<HWND> TopWindowsOf(const char* className, DWORD pid);
HWND TopWindowOf(const char* className, DWORD pid);
// A visible top-level dialog of process `pid` holding a control with id `id`.
HWND DialogWithItem(DWORD pid, int id);
// The first descendant of `parent` with control id `id`, or of class `className`.
HWND DescendantById(HWND parent, int id);
HWND DescendantByClass(HWND parent, const char* className);
DWORD ProcessOf(HWND wnd);
std::string WindowText(HWND wnd);
// The lines of a list box of another process.
std::vector<std::string> ListLines(HWND list);
// Whether the window's thread answers a message within `millis`.
bool Answers(HWND wnd, DWORD millis);
// Waits until process `pid` waits for input, as a program that started it does.
void AwaitInputIdle(DWORD pid);

// The main program, from its main window.
class MainWindow {
public:
    explicit MainWindow(HWND frame) : frame_(frame) {}
    HWND Handle() const { return frame_; }
    DWORD Process() const { return ProcessOf(frame_); }
    // Rows of the message list (an empty folder shows one line saying so).
    int Rows() const;
    // Whether the listed folder holds messages: Delete on the toolbar is enabled only then.
    bool ListsMessages() const;
    // Selects the row with a click of the mouse, then gives the open command.
    void OpenRow(int row) const;
    // Selects the folder named `folder` in the folder pane; false when it is not listed.
    bool ShowFolder(const std::string& folder) const;
    // The composers the program has open.
    std::vector<HWND> Composers() const;
    // The "Addresses From Message" dialog and the addresses it lists.
    HWND AddressesDialog() const;
    static std::vector<std::string> AddressesShown(HWND dialog);

private:
    HWND MessageList() const;
    HWND frame_;
};

struct ComposerTexts {
    std::string to, cc, subject;
};
ComposerTexts ReadComposer(HWND composer);

} // namespace lxtest
