#include "mailer/ui/signatur.h"

#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/signatur_file.h"

#include <vector>

namespace lx {
namespace {

enum class EditMode { New, Change };

class SignatureFilesDialog : public Dialog {
public:
    SignatureFilesDialog(HWND owner, SignatureFilesData* data)
        : Dialog(IDD_SIGNATUR, owner), data_(data) {
        Map().OnCommand(IDC_SIGNATUR_LIST, [this](int code, HWND) {
            if (code == LBN_SELCHANGE) ShowSelected();
        });
        Map().OnCommand(IDC_SIGNATUR_ADD, [this](int, HWND) { Add(); });
        Map().OnCommand(IDC_SIGNATUR_EDIT, [this](int, HWND) { Edit(); });
        Map().OnCommand(IDC_SIGNATUR_DELETE, [this](int, HWND) { Delete(); });
        Map().OnCommand(IDC_SIGNATUR_SAVE, [this](int, HWND) { Save(); });
        Map().OnCommand(IDC_SIGNATUR_CLEAR, [this](int, HWND) {
            mode_ = EditMode::New;
            Browse(true);
            ShowSelected();
        });
        Map().OnCommand(IDC_SIGNATUR_HELP, [this](int, HWND) {
            ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_SIGNATUR);
        });
    }

protected:
    BOOL OnInitDialog() override {
        // What fits the file with its terminating zero.
        ::SendMessageA(Item(IDC_SIGNATUR_NAME), EM_LIMITTEXT, kSignatureNameMax, 0);
        ::SendMessageA(Item(IDC_SIGNATUR_TEXT), EM_LIMITTEXT, kSignatureTextMax, 0);
        const std::string oldName = Text("SIGNATUR_CPP_3");
        const SignatureFileState state = file_.Open(data_->installPath, oldName);
        ready_ = state == SignatureFileState::Ready;
        if (!ready_) {
            // Nothing to edit: the list tells why.
            const std::string why =
                Text(state == SignatureFileState::Damaged ? "SIGNATUR_CPP_2" : "SIGNATUR_CPP_4");
            ::SendMessageA(Item(IDC_SIGNATUR_LIST), LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(why.c_str()));
        }
        Browse(true);
        if (ready_) RefillAndShowFirst();
        return TRUE;
    }

    // Enter saves while editing and does nothing while browsing.
    void OnOK() override {
        if (editing_) Save();
    }

private:
    std::string Text(const char* key) const {
        const char* text = data_->catalog->Lookup(key);
        return text ? text : "";
    }

    // Browsing: the list and its buttons; editing: the fields and their buttons. Never both.
    void Browse(bool browsing) {
        editing_ = !browsing && ready_;
        const bool listed = ready_ && !file_.Book().Names().empty();
        ::EnableWindow(Item(IDC_SIGNATUR_LIST), browsing && ready_);
        ::EnableWindow(Item(IDC_SIGNATUR_ADD), browsing && ready_);
        ::EnableWindow(Item(IDC_SIGNATUR_EDIT), browsing && listed);
        ::EnableWindow(Item(IDC_SIGNATUR_DELETE), browsing && listed);
        for (const int id :
             {IDC_SIGNATUR_NAME, IDC_SIGNATUR_TEXT, IDC_SIGNATUR_SAVE, IDC_SIGNATUR_CLEAR})
            ::EnableWindow(Item(id), !browsing && ready_);
    }

    // The signatures in use, the first selected and shown.
    void RefillAndShowFirst() {
        HWND list = Item(IDC_SIGNATUR_LIST);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : file_.Book().Names())
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        ShowSelected();
        Browse(true);
    }

    // The slot of the selected name; -1 when none.
    int SelectedSlot() {
        HWND list = Item(IDC_SIGNATUR_LIST);
        const LRESULT line = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (!ready_ || line == LB_ERR) return -1;
        char name[kSignatureNameSize * 2] = "";
        if (::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0) >=
            static_cast<LRESULT>(sizeof name))
            return -1;
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(name));
        return file_.Book().SlotOf(name);
    }

    void ShowSelected() {
        const int slot = SelectedSlot();
        const SignatureIndex& index = file_.Book().Index();
        ::SetDlgItemTextA(Handle(), IDC_SIGNATUR_NAME, slot >= 0 ? index.names[slot].c_str() : "");
        ::SetDlgItemTextA(Handle(), IDC_SIGNATUR_TEXT,
                          slot >= 0 ? file_.Book().TextOf(slot).c_str() : "");
    }

    void StartEditing(EditMode mode) {
        mode_ = mode;
        Browse(false);
        ::SetFocus(Item(IDC_SIGNATUR_NAME));
    }

    void Add() {
        if (!file_.Book().HasFreeSlot()) {
            Box("SIGNATUR_CPP_8", "SIGNATUR_CPP_7");
            return;
        }
        ::SetDlgItemTextA(Handle(), IDC_SIGNATUR_NAME, "");
        ::SetDlgItemTextA(Handle(), IDC_SIGNATUR_TEXT, "");
        StartEditing(EditMode::New);
    }

    void Edit() {
        slot_ = SelectedSlot();
        if (slot_ >= 0) StartEditing(EditMode::Change);
    }

    void Delete() {
        const int slot = SelectedSlot();
        if (slot < 0) return;
        if (!file_.Book().Remove(slot)) Box("SIGNATUR_CPP_10", "SIGNATUR_CPP_5");
        RefillAndShowFirst();
    }

    void Save() {
        const std::string name = FieldText(IDC_SIGNATUR_NAME);
        const std::string text = FieldText(IDC_SIGNATUR_TEXT);
        const int slot = mode_ == EditMode::New ? -1 : slot_;
        switch (file_.Book().Save(slot, name, text, &slot_)) {
        case SignatureSave::Saved:
            RefillAndShowFirst();
            ::SetFocus(Item(IDC_SIGNATUR_LIST));
            return;
        case SignatureSave::EmptyName: Box("SIGNATUR_CPP_9", "SIGNATUR_CPP_5"); break;
        case SignatureSave::NameTaken: Box("SIGNATUR_CPP_6", "SIGNATUR_CPP_5"); break;
        case SignatureSave::Full: Box("SIGNATUR_CPP_8", "SIGNATUR_CPP_7"); break;
        case SignatureSave::WriteFailed: Box("SIGNATUR_CPP_10", "SIGNATUR_CPP_5"); break;
        }
        ::SetFocus(Item(IDC_SIGNATUR_NAME));
    }

    std::string FieldText(int id) {
        char text[kSignatureTextSize + 1] = "";
        ::GetDlgItemTextA(Handle(), id, text, sizeof text);
        return text;
    }

    void Box(const char* textKey, const char* captionKey) {
        ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | MB_ICONEXCLAMATION);
    }

    SignatureFilesData* data_;
    HeldSignatureFile file_; // open from opening to closing
    bool ready_ = false;
    bool editing_ = false;
    EditMode mode_ = EditMode::New;
    int slot_ = -1; // the slot being changed
};

} // namespace

INT_PTR ShowSignatureFilesDialog(HWND owner, SignatureFilesData* data) {
    if (!data || !data->catalog) return -1;
    SignatureFilesDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugSignatureFiles(CommandPlugs& plugs, const SignatureFilesData& data) {
    plugs.Plug(ID_SIGNATURE_FILE, [data](void* owner, const char*) {
        SignatureFilesData shown = data;
        return static_cast<int>(ShowSignatureFilesDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
