// "Import Addresses": a Pegasus address book, a Eudora Light nickname file or the addresses
// chosen in the mail system's address book, stored one AddBook row each.
#include "mailer/addressing/impaddr.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/dialog.h"
#include "common/win/choosefile.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/importrun.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/alias_import.h"
#include "mailer/addressing/logic/fixedrec_import.h"
#include "mailer/addressing/mapiaddr.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

// A chosen path this long or longer does not fit the file name field.
constexpr size_t kImportPathLimit = 256;

const ImportKeys kImportKeys = {"IMPORTAD_CPP_1", "IMPORTAD_CPP_2", "IMPORTAD_CPP_3",
                                "IMPORTAD_CPP_4"};

class ImportAddressesDialog : public Dialog {
public:
    ImportAddressesDialog(HWND owner, ImportAddressesData* data)
        : Dialog(IDD_IMPORTAD, owner), data_(data) {
        BindText(IDC_IMPORTAD_FILE, path_, sizeof path_, sizeof path_ - 1);
        Map().OnCommand(IDC_IMPORTAD_BROWSE, [this](int, HWND) { Browse(); });
        Map().OnCommand(IDC_IMPORTAD_START, [this](int, HWND) { Start(); });
        Map().OnCommand(IDC_IMPORTAD_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_IMPORTAD);
        });
    }

protected:
    BOOL OnInitDialog() override {
        static const char* const kCaptions[] = {"IMPORTAD_CPP_25", "IMPORTAD_CPP_26",
                                                "IMPORTAD_CPP_27", "IMPORTAD_CPP_24"};
        ::SetWindowTextA(Handle(), Text(kCaptions[static_cast<int>(Source())]).c_str());
        if (Source() == ImportSourceKind::SimpleMapi) {
            ::EnableWindow(Item(IDC_IMPORTAD_FILE), FALSE);
            ::EnableWindow(Item(IDC_IMPORTAD_BROWSE), FALSE);
        }
        PrepareStatusBox(Item(IDC_IMPORTAD_STATUS));
        return TRUE;
    }

    // Enter starts the import; only Close ends the dialog.
    void OnOK() override { Start(); }

private:
    ImportSourceKind Source() const {
        const int kind = static_cast<int>(data_->source);
        return kind >= 0 && kind <= 3 ? data_->source : ImportSourceKind::None;
    }
    std::string Text(const char* key) const { return CatalogText(data_->catalog, key); }
    void Box(const char* textKey, const char* captionKey) {
        ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | MB_ICONEXCLAMATION);
    }
    void Show(const StatusLine& line) {
        AddStatusLine(Item(IDC_IMPORTAD_STATUS), data_->catalog, line);
    }

    void Browse() {
        if (Source() == ImportSourceKind::None) {
            Box("IMPORTAD_CPP_5", "IMPORTAD_CPP_6");
            return;
        }
        const char* filter =
            Source() == ImportSourceKind::FixedRecordFile ? "IMPORTAD_CPP_8" : "IMPORTAD_CPP_9";
        const std::string path = ChooseFileToOpen(Handle(), Text("IMPORTAD_CPP_7"), Text(filter));
        if (path.empty()) return;
        if (path.size() >= kImportPathLimit) {
            Box("IMPORTAD_CPP_10", "IMPORTAD_CPP_11");
            return;
        }
        ::SetDlgItemTextA(Handle(), IDC_IMPORTAD_FILE, path.c_str());
    }

    void Start() {
        switch (Source()) {
        case ImportSourceKind::SimpleMapi: ImportFromMapi(); return;
        case ImportSourceKind::None: Box("IMPORTAD_CPP_5", "IMPORTAD_CPP_6"); return;
        default: ImportFromFile(); return;
        }
    }

    void ImportFromFile() {
        if (!UpdateData(true)) return;
        if (path_[0] == '\0') {
            Box("IMPORTAD_CPP_12", "IMPORTAD_CPP_13");
            return;
        }
        std::string bytes;
        const ImportFileRead read = ReadImportFile(path_, &bytes);
        if (read == ImportFileRead::NotOpened) {
            Box("IMPORTAD_CPP_14", "IMPORTAD_CPP_15");
            return;
        }
        if (read == ImportFileRead::ReadFailed) {
            // Nothing of a file that could not be read whole is stored.
            Show(Line("IMPORTAD_CPP_19"));
            Show(Line("IMPORTAD_CPP_20"));
            return;
        }
        Run(Source() == ImportSourceKind::FixedRecordFile ? ParseFixedRecordFile(bytes)
                                                          : ParseAliasFile(bytes));
    }

    void ImportFromMapi() {
        const MapiPick pick = PickMapiRecipients(Handle(), data_->mapiLibrary.c_str());
        if (pick.missingKey) {
            Show(Line(pick.missingKey));
            return;
        }
        if (pick.chosen) Run(MapiImportScript(pick.recipients));
    }

    void Run(const ImportScript& script) {
        const ImportTally tally = RunImport(Handle(), IDC_IMPORTAD_STATUS, data_->catalog,
                                            data_->conn, script, kImportKeys);
        data_->stored = tally.stored;
        data_->refused = tally.refused;
    }

    ImportAddressesData* data_;
    char path_[kImportPathLimit] = "";
};

} // namespace

INT_PTR ShowImportAddressesDialog(HWND owner, ImportAddressesData* data) {
    if (!data || !data->catalog) return -1;
    ImportAddressesDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
