// "Import Adresses From ASCII File": the file, its quote character and delimiter, the columns of
// name, address and note and the first line to import; each usable line is stored as one
// AddBook row, each unusable one refused with its line number.
#include "mailer/addressing/asciiimp.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/dialog.h"
#include "common/win/choosefile.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/importrun.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/delimited_import.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

// A chosen path this long or longer does not fit the file name field.
constexpr size_t kAsciiPathLimit = 256;

const ImportKeys kAsciiKeys = {"ASCIIIMP_CPP_14", "ASCIIIMP_CPP_15", "ASCIIIMP_CPP_7",
                               "ASCIIIMP_CPP_8"};

// The text of a drop-down list's selected entry.
std::string SelectedEntry(HWND list) {
    const LRESULT index = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::string();
    const LRESULT length = ::SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

void SelectEntry(HWND list, const char* entry) {
    ::SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry));
}

class AsciiImportDialog : public Dialog {
public:
    AsciiImportDialog(HWND owner, AsciiImportData* data)
        : Dialog(IDD_ASCIIIMP, owner), data_(data) {
        BindText(IDC_ASCIIIMP_FILE, path_, sizeof path_, sizeof path_ - 1);
        BindInt(IDC_ASCIIIMP_NAMECOL, &options_.nameColumn, kMinColumn, kMaxColumn);
        BindInt(IDC_ASCIIIMP_ADDRCOL, &options_.destColumn, kMinColumn, kMaxColumn);
        BindInt(IDC_ASCIIIMP_NOTECOL, &options_.noteColumn, kMinColumn, kMaxColumn);
        BindInt(IDC_ASCIIIMP_FIRSTLINE, &options_.firstLine, kMinColumn, kMaxColumn);
        Map().OnCommand(IDC_ASCIIIMP_BROWSE, [this](int, HWND) { Browse(); });
        Map().OnCommand(IDC_ASCIIIMP_START, [this](int, HWND) { Start(); });
        Map().OnCommand(IDC_ASCIIIMP_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_ASCIIIMP);
        });
    }

protected:
    BOOL OnInitDialog() override {
        HWND quotes = Item(IDC_ASCIIIMP_QUOTE);
        for (const char* entry : kQuoteChoices)
            ::SendMessageA(quotes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        // The double quote: the address book's own export is quoted with it.
        SelectEntry(quotes, "\"");
        HWND delimiters = Item(IDC_ASCIIIMP_DELIMITER);
        for (const char* entry : kDelimiterChoices)
            ::SendMessageA(delimiters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SelectEntry(delimiters, kDelimiterChoices[0]);
        PrepareStatusBox(Item(IDC_ASCIIIMP_STATUS));
        return TRUE;
    }

    // Enter starts the import; only Cancel ends the dialog.
    void OnOK() override { Start(); }

private:
    std::string Text(const char* key) const { return CatalogText(data_->catalog, key); }
    void Box(const char* textKey, const char* captionKey) {
        ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | MB_ICONEXCLAMATION);
    }

    void Browse() {
        const std::string path =
            ChooseFileToOpen(Handle(), Text("ASCIIIMP_CPP_1"), Text("ASCIIIMP_CPP_2"));
        if (path.empty()) return;
        if (path.size() >= kAsciiPathLimit) {
            Box("ASCIIIMP_CPP_18", "ASCIIIMP_CPP_3");
            return;
        }
        ::SetDlgItemTextA(Handle(), IDC_ASCIIIMP_FILE, path.c_str());
    }

    void Start() {
        if (!UpdateData(true)) return;
        if (!ColumnsDiffer(options_)) {
            Box("ASCIIIMP_CPP_12", "ASCIIIMP_CPP_11");
            return;
        }
        std::string bytes;
        if (ReadImportFile(path_, &bytes) != ImportFileRead::Read) {
            Box("ASCIIIMP_CPP_4", "ASCIIIMP_CPP_3");
            return;
        }
        ChooseQuote(SelectedEntry(Item(IDC_ASCIIIMP_QUOTE)), &options_);
        ChooseDelimiter(SelectedEntry(Item(IDC_ASCIIIMP_DELIMITER)), &options_);
        const ImportTally tally =
            RunImport(Handle(), IDC_ASCIIIMP_STATUS, data_->catalog, data_->conn,
                      ParseDelimitedFile(bytes, options_), kAsciiKeys);
        data_->stored = tally.stored;
        data_->refused = tally.refused;
    }

    AsciiImportData* data_;
    char path_[kAsciiPathLimit] = "";
    DelimitedOptions options_;
};

} // namespace

INT_PTR ShowAsciiImportDialog(HWND owner, AsciiImportData* data) {
    if (!data || !data->catalog) return -1;
    AsciiImportDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
