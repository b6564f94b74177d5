#include "spellcheck/spelldlg.h"
#include "spellcheck/core/checksession.h"
#include "spellcheck/sscedres.h"

#include <cstdio>
#include <string>
#include <vector>

namespace lx {

namespace {

constexpr size_t kSuggestions = 10;
constexpr INT_PTR kComplete = 0;
constexpr INT_PTR kCancelled = 1;

std::string LoadText(HINSTANCE module, UINT id) {
    char buffer[512] = "";
    ::LoadStringA(module, id, buffer, sizeof buffer);
    return buffer;
}

// Makes the session's edits in the edit control, one selection replaced at a time (each
// undoable, as if typed).
void ApplyEdits(HWND control, const std::vector<spell::TextEdit>& edits) {
    for (const spell::TextEdit& e : edits) {
        ::SendMessageA(control, EM_SETSEL, e.begin, e.begin + e.length);
        ::SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(e.text.c_str()));
    }
}

// Moves the dialog off the word it shows, so the user sees the word in its sentence.
void KeepWordVisible(HWND dialog, HWND control, size_t offset) {
    const LRESULT pos = ::SendMessageA(control, EM_POSFROMCHAR, offset, 0);
    if (pos == -1) return;
    POINT word = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ::ClientToScreen(control, &word);
    RECT box;
    ::GetWindowRect(dialog, &box);
    const int lineHeight = 24;
    if (word.y + lineHeight < box.top || word.y > box.bottom || word.x < box.left ||
        word.x > box.right)
        return;
    const int height = box.bottom - box.top;
    const int screen = ::GetSystemMetrics(SM_CYSCREEN);
    int top = word.y + lineHeight;
    if (top + height > screen) top = word.y - height - 4;
    if (top < 0) top = 0;
    ::SetWindowPos(dialog, nullptr, box.left, top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class SpellDialog {
public:
    explicit SpellDialog(SpellDialogData* data) : data_(*data), session_(*data->session) {}

    INT_PTR Run(HWND owner) {
        return ::DialogBoxParamA(data_.module, MAKEINTRESOURCEA(IDD_SSCED_CHECK), owner, &Proc,
                                 reinterpret_cast<LPARAM>(this));
    }

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            auto* self = reinterpret_cast<SpellDialog*>(lParam);
            self->dialog_ = dialog;
            self->ShowCurrent();
            // The user starts in the suggestions (or the "Change to" box when there are none).
            HWND list = ::GetDlgItem(dialog, IDC_SSCED_SUGGESTIONS);
            ::SetFocus(::IsWindowEnabled(list) ? list : ::GetDlgItem(dialog, IDC_SSCED_CHANGETO));
            return FALSE;
        }
        auto* self = reinterpret_cast<SpellDialog*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (!self || message != WM_COMMAND) return FALSE;
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }

    void OnCommand(int id, int code) {
        switch (id) {
        case IDC_SSCED_SUGGESTIONS:
            if (code == LBN_SELCHANGE) TakeSuggestion();
            if (code == LBN_DBLCLK && TakeSuggestion())
                Answer([&] { session_.Replace(ChangeTo()); });
            break;
        case IDC_SSCED_REPLACE: Answer([&] { session_.Replace(ChangeTo()); }); break;
        case IDC_SSCED_REPLACEALL: Answer([&] { session_.ReplaceAll(ChangeTo()); }); break;
        case IDC_SSCED_IGNORE: Answer([&] { session_.Ignore(); }); break;
        case IDC_SSCED_IGNOREALL: Answer([&] { session_.IgnoreAll(); }); break;
        case IDC_SSCED_ADD: Answer([&] { status_ = session_.Add() ? "" : NotSaved(); }); break;
        case IDCANCEL: ::EndDialog(dialog_, kCancelled); break;
        default: break;
        }
    }

    // Carries out the user's answer, then moves to the next misspelled word or ends.
    template <typename Fn>
    void Answer(Fn fn) {
        status_.clear();
        fn();
        const bool more = session_.FindNext();
        ApplyEdits(data_.control, session_.TakeEdits());
        if (!more) {
            ::EndDialog(dialog_, kComplete);
            return;
        }
        ShowCurrent();
    }

    void ShowCurrent() {
        const spell::TextWord& w = session_.Current();
        ::SendMessageA(data_.control, EM_SETSEL, w.begin, w.begin + w.length);
        ::SendMessageA(data_.control, EM_SCROLLCARET, 0, 0);
        const std::string word = session_.CurrentWord();
        ::SetDlgItemTextA(dialog_, IDC_SSCED_WORD, word.c_str());
        HWND list = ::GetDlgItem(dialog_, IDC_SSCED_SUGGESTIONS);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        suggestions_ = session_.Suggestions(word, kSuggestions);
        for (const std::string& s : suggestions_)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (suggestions_.empty()) {
            const std::string none = LoadText(data_.module, IDS_SSCED_NO_SUGGESTIONS);
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(none.c_str()));
            ::EnableWindow(list, FALSE);
            ::SetDlgItemTextA(dialog_, IDC_SSCED_CHANGETO, word.c_str());
        } else {
            ::EnableWindow(list, TRUE);
            ::SendMessageA(list, LB_SETCURSEL, 0, 0);
            ::SetDlgItemTextA(dialog_, IDC_SSCED_CHANGETO, suggestions_.front().c_str());
        }
        ::SetDlgItemTextA(dialog_, IDC_SSCED_STATUS, status_.c_str());
        KeepWordVisible(dialog_, data_.control, w.begin);
    }

    bool TakeSuggestion() {
        const LRESULT index =
            ::SendDlgItemMessageA(dialog_, IDC_SSCED_SUGGESTIONS, LB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<size_t>(index) >= suggestions_.size()) return false;
        ::SetDlgItemTextA(dialog_, IDC_SSCED_CHANGETO,
                          suggestions_[static_cast<size_t>(index)].c_str());
        return true;
    }

    std::string ChangeTo() const { return WindowText(::GetDlgItem(dialog_, IDC_SSCED_CHANGETO)); }

    std::string NotSaved() const {
        const std::string format = LoadText(data_.module, IDS_SSCED_NOT_SAVED);
        const std::string& path = session_.UserDictionaryPath();
        std::vector<char> text(format.size() + path.size() + 1);
        std::snprintf(text.data(), text.size(), format.c_str(), path.c_str());
        return text.data();
    }

    SpellDialogData data_;
    spell::CheckSession& session_;
    HWND dialog_ = nullptr;
    std::vector<std::string> suggestions_;
    std::string status_;
};

} // namespace

std::string WindowText(HWND wnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(wnd)) + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(wnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

SpellDialogResult ShowSpellCheckDialog(HWND owner, SpellDialogData* data) {
    SpellDialog dialog(data);
    return dialog.Run(owner) == kComplete ? SpellDialogResult::Complete
                                          : SpellDialogResult::Cancelled;
}

} // namespace lx
