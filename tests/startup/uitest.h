// In-process helpers of the dialog tests: a scripted UI hook and a catalogue made for the test.
#pragma once
#include "common/catalog/msgcatalog.h"
#include "common/win/uiseam.h"
#include "common/win/window.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace lxtest {

struct BoxSeen {
    std::string text;
    std::string caption;
    UINT flags;
};

// Records boxes and dialog starts; the test's callbacks drive the dialog by control ids.
class ScriptedHook : public lx::ui::UiHook {
public:
    ScriptedHook() { lx::ui::SetHook(this); }
    ~ScriptedHook() override { lx::ui::SetHook(nullptr); }

    std::vector<BoxSeen> boxes;
    std::vector<int> dialogsStarted;
    std::vector<std::pair<std::string, ULONG_PTR>> helpCalls;
    int boxAnswer = IDOK;
    std::function<void(HWND dialog, int resourceId)> onInit;
    // Runs after each recorded box, with the dialog that was last started.
    std::function<void(HWND dialog, size_t boxIndex)> afterBox;

    int OnMessageBox(HWND, const char* text, const char* caption, UINT flags) override {
        boxes.push_back({text, caption, flags});
        if (afterBox) afterBox(lastDialog_, boxes.size() - 1);
        return boxAnswer;
    }
    void OnDialogInit(HWND dialog, int resourceId) override {
        lastDialog_ = dialog;
        // A dialog the script forgot to close ends after a while instead of hanging the run.
        ::SetTimer(dialog, kWatchdogTimer, kWatchdogMillis, &Watchdog);
        dialogsStarted.push_back(resourceId);
        if (onInit) onInit(dialog, resourceId);
    }
    void OnHelp(HWND, const char* file, UINT, ULONG_PTR data) override {
        helpCalls.emplace_back(file, data);
    }

private:
    static constexpr UINT_PTR kWatchdogTimer = 0x4C58;
    static constexpr UINT kWatchdogMillis = 20000;
    static void CALLBACK Watchdog(HWND dialog, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(dialog, id);
        ADD_FAILURE() << "dialog left open by the test script";
        ::EndDialog(dialog, -2);
    }
    HWND lastDialog_ = nullptr;
};

// A catalogue file written from `source` ("KEY text" lines) into the temp folder and opened.
class TestCatalogue {
public:
    explicit TestCatalogue(const std::string& source);
    ~TestCatalogue();
    lx::MessageCatalog& Get() { return catalog_; }
    bool Ok() const { return catalog_.Loaded(); }

private:
    std::string path_;
    lx::MessageCatalog catalog_;
};

// The program's own catalogue as the build made it (LX_BINARY_DIR/bin/DGROUP.VSF), opened once
// per test program.
lx::MessageCatalog& BuiltCatalogue();

// Presses a button of a dialog the way a click would (posted, handled by its loop).
inline void Press(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::string ControlText(HWND dialog, int id);

// Runs functions later, from whatever message loop runs (a dialog's modal loop included).
class Later : public lx::Window {
public:
    Later();
    void Post(std::function<void()> fn);
    // Runs fn once `millis` have passed, the message loop running meanwhile.
    void PostAfter(unsigned millis, std::function<void()> fn);

private:
    std::vector<std::function<void()>> queue_;
    std::vector<std::function<void()>> delayed_;
};
// Every text a control is given while a dialog runs (one control at a time).
class TextWatch {
public:
    static void Start(HWND control, std::vector<std::string>* texts) {
        texts_ = texts;
        old_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETTEXT && texts_ && lParam)
            texts_->push_back(reinterpret_cast<const char*>(lParam));
        return ::CallWindowProcA(old_, wnd, message, wParam, lParam);
    }
    static inline WNDPROC old_ = nullptr;
    static inline std::vector<std::string>* texts_ = nullptr;
};

std::string TempFolder(const char* name); // a fresh, empty folder under the temp folder

} // namespace lxtest
