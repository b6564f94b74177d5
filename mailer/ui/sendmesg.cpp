#include "mailer/ui/sendmesg.h"

#include "common/catalog/msgcatalog.h"
#include "common/schema/subject.h"
#include "common/settings/install_path.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/store/editfram_store.h"

#include <commctrl.h>

namespace lx {

namespace {

std::string ControlText(HWND control) {
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, '\0');
    const int got = ::GetWindowTextA(control, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

std::string SelectedText(HWND combo) {
    const LRESULT at = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return std::string();
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(at),
                   reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

PrepareMessageForm::PrepareMessageForm(EditorFrame& frame) : frame_(frame) { MapMessages(); }

PrepareMessageForm::~PrepareMessageForm() {
    if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool PrepareMessageForm::Create(HWND parent) {
    hwnd_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SENDMESG),
                                 parent, &PrepareMessageForm::Proc, reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

void PrepareMessageForm::FocusFirst() { ::SetFocus(Item(IDC_SENDMESG_TO)); }

std::string PrepareMessageForm::Text(const char* key) const {
    return CatalogText(frame_.Context().catalog, key);
}

int PrepareMessageForm::Box(const char* textKey, const char* captionKey, UINT flags) {
    MessageCatalog* catalog = frame_.Context().catalog;
    return catalog ? ui::CatalogBox(hwnd_, *catalog, textKey, captionKey, flags) : IDCANCEL;
}

void PrepareMessageForm::MapMessages() {
    auto on = [this](int id, void (PrepareMessageForm::*action)()) {
        map_.OnCommand(id, [this, action](int code, HWND) {
            if (code == BN_CLICKED) (this->*action)();
        });
    };
    on(IDC_SENDMESG_SENDNOW, &PrepareMessageForm::SendNow);
    on(IDC_SENDMESG_FILEIN, &PrepareMessageForm::FileInFolder);
    on(IDC_SENDMESG_DELETE, &PrepareMessageForm::DeleteMessage);
    on(IDC_SENDMESG_IMPORT, &PrepareMessageForm::ImportText);
    on(IDC_SENDMESG_SPELL, &PrepareMessageForm::SpellCheck);
    on(IDC_SENDMESG_SELECTFILE, &PrepareMessageForm::SelectFile);
    on(IDC_SENDMESG_REMOVEFILE, &PrepareMessageForm::RemoveFile);
    on(IDC_SENDMESG_FONT, &PrepareMessageForm::ChooseEditorFont);
    map_.OnCommand(IDC_SENDMESG_ADDRBOOK, [this](int code, HWND) {
        if (code == BN_CLICKED) PickRecipients(false);
    });
    map_.OnCommand(IDC_SENDMESG_MAILLIST, [this](int code, HWND) {
        if (code == BN_CLICKED) PickRecipients(true);
    });
    map_.OnCommand(IDC_SENDMESG_HELP, [this](int code, HWND) {
        if (code == BN_CLICKED)
            ui::Help(hwnd_, HelpFileSpec(frame_.Context().installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_SENDMESG);
    });
    // Selection changes copy the chosen entry into the form's data.
    map_.OnCommand(IDC_SENDMESG_RETURN, [this](int code, HWND control) {
        if (code == CBN_SELCHANGE) data_.returnAddress = SelectedText(control);
    });
    map_.OnCommand(IDC_SENDMESG_SIGNATURE, [this](int code, HWND control) {
        if (code == CBN_SELCHANGE) data_.signature = SelectedText(control);
    });
    // A child form has no Cancel: Escape must not end it.
    map_.OnCommand(IDCANCEL, [](int, HWND) {});
    map_.OnCommand(IDOK, [](int, HWND) {});
    map_.On(WM_NOTIFY, [this](WPARAM, LPARAM lParam) -> LRESULT {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SENDMESG_TABS && header->code == TCN_SELCHANGE)
            ShowTab(static_cast<int>(TabCtrl_GetCurSel(header->hwndFrom)));
        return 0;
    });
    map_.On(WM_SIZE, [this](WPARAM, LPARAM lParam) -> LRESULT {
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    });
}

INT_PTR CALLBACK PrepareMessageForm::Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PrepareMessageForm* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<PrepareMessageForm*>(lParam);
        self->hwnd_ = wnd;
        ::SetWindowLongPtrA(wnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->Initialise();
        return TRUE;
    }
    self = reinterpret_cast<PrepareMessageForm*>(::GetWindowLongPtrA(wnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(wnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->map_.Dispatch(message, wParam, lParam, &result)) return FALSE;
    ::SetWindowLongPtrA(wnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void PrepareMessageForm::ToControls() {
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_TO, data_.to.c_str());
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_CC, data_.cc.c_str());
    ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_SUBJECT, EM_LIMITTEXT, kSubjectTextMax, 0);
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_SUBJECT, data_.subject.c_str());
    // The body control takes any length; the limit is checked when the message is stored.
    ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_BODY, EM_LIMITTEXT, 0, 0);
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_BODY, data_.body.c_str());
    ::CheckDlgButton(hwnd_, IDC_SENDMESG_LINEBREAKS, data_.lineBreaks ? BST_CHECKED : 0);
    FillFileList();
}

void PrepareMessageForm::FromControls() {
    data_.to = ControlText(Item(IDC_SENDMESG_TO));
    data_.cc = ControlText(Item(IDC_SENDMESG_CC));
    data_.subject = ControlText(Item(IDC_SENDMESG_SUBJECT));
    data_.body = ControlText(Item(IDC_SENDMESG_BODY));
    data_.lineBreaks = ::IsDlgButtonChecked(hwnd_, IDC_SENDMESG_LINEBREAKS) == BST_CHECKED;
    data_.returnAddress = SelectedText(Item(IDC_SENDMESG_RETURN));
    data_.signature = SelectedText(Item(IDC_SENDMESG_SIGNATURE));
}

void PrepareMessageForm::FillFileList() {
    HWND list = Item(IDC_SENDMESG_FILES);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& path : data_.files)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

} // namespace lx
