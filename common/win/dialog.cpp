#include "common/win/dialog.h"
#include "common/win/intfield.h"
#include "common/win/uiseam.h"
#include "common/win/window.h"
#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"

#include <string>

namespace lx {

const char* const kFieldTooLongKey = "NEWMAIL_CPP_4";
const char* const kIntegerRangeKey = "NEWMAIL_CPP_5";
const char* const kIntegerNeededKey = "NEWMAIL_CPP_6";

INT_PTR Dialog::DoModal() {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId_), owner_,
                             &Dialog::Proc, reinterpret_cast<LPARAM>(this));
}

void Dialog::BindText(int controlId, char* buffer, size_t size, int maxChars) {
    if (size == 0) return;
    if (maxChars < 0 || static_cast<size_t>(maxChars) > size - 1)
        maxChars = static_cast<int>(size - 1);
    fields_.push_back(Field{controlId, false, buffer, size, maxChars, nullptr, 0, 0});
}

void Dialog::BindInt(int controlId, int* value, int minValue, int maxValue) {
    fields_.push_back(Field{controlId, true, nullptr, 0, 0, value, minValue, maxValue});
}

bool Dialog::UpdateData(bool save) {
    if (!save) {
        for (const Field& f : fields_) {
            if (f.isInt) {
                ::SetDlgItemInt(hwnd_, f.id, static_cast<UINT>(*f.number), TRUE);
            } else {
                f.text[f.size - 1] = '\0';
                ::SendDlgItemMessageA(hwnd_, f.id, EM_LIMITTEXT, static_cast<WPARAM>(f.maxChars),
                                      0);
                ::SetDlgItemTextA(hwnd_, f.id, f.text);
            }
        }
        return true;
    }
    // Every field is checked before any is stored: a refused OK leaves the caller's data
    // as it was.
    std::vector<int> numbers(fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i)
        if (!CheckField(fields_[i], &numbers[i])) return false;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const Field& f = fields_[i];
        if (f.isInt)
            *f.number = numbers[i];
        else
            ::GetDlgItemTextA(hwnd_, f.id, f.text, static_cast<int>(f.size));
    }
    return true;
}

bool Dialog::CheckField(const Field& f, int* number) {
    HWND control = Item(f.id);
    const int length = ::GetWindowTextLengthA(control);
    if (!f.isInt) {
        // The edit limit stops typing, not text set by a program or pasted by other means.
        if (length > f.maxChars) {
            Refuse(f.id, kFieldTooLongKey, {f.maxChars});
            return false;
        }
        return true;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(control, &text[0], length + 1);
    int value = 0;
    if (!ParseInt(text.c_str(), &value)) {
        Refuse(f.id, kIntegerNeededKey, {});
        return false;
    }
    if (value < f.minValue || value > f.maxValue) {
        Refuse(f.id, kIntegerRangeKey, {f.minValue, f.maxValue});
        return false;
    }
    *number = value;
    return true;
}

void Dialog::Refuse(int controlId, const char* key, const std::vector<FormatArg>& args) {
    std::string text;
    if (MessageCatalog* catalog = ui::Catalog()) {
        if (const char* format = catalog->Lookup(key)) text = FormatTextOr(format, args, format);
    }
    ui::AppMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    HWND control = Item(controlId);
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void Dialog::OnOK() {
    if (UpdateData(true)) End(IDOK);
}

INT_PTR CALLBACK Dialog::Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = wnd;
        ::SetWindowLongPtrA(wnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        CenterOver(wnd, self->owner_);
        self->UpdateData(false);
        const BOOL focus = self->OnInitDialog();
        if (ui::NotifyDialogInit(wnd, self->resourceId_)) self->OnCancel();
        return focus;
    }
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(wnd, DWLP_USER));
    if (!self) return FALSE;

    LRESULT result = 0;
    if (self->map_.Dispatch(message, wParam, lParam, &result)) {
        ::SetWindowLongPtrA(wnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(wnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return FALSE;
}

} // namespace lx
