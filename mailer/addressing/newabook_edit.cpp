// "Address Book": saving an address with its mailing lists, deleting one, printing the book,
// exporting it to LXADBOOK.TXT and running the import dialogs.
#include "mailer/addressing/newabook_dialog.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/install_path.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/addrprint.h"
#include "mailer/addressing/logic/abook_export.h"
#include "mailer/addressing/logic/addrprint_rules.h"
#include "mailer/addressing/waitcursor.h"
#include "mailer/res/resource.h"

namespace lx {

bool AddressBookDialog::FieldsReady() {
    if (!UpdateData(true)) return false;
    const std::pair<const char*, int> required[] = {{"NEWABOOK_CPP_17", IDC_NEWABOOK_NAME},
                                                    {"NEWABOOK_CPP_18", IDC_NEWABOOK_DEST}};
    for (const auto& [key, id] : required) {
        const char* value = id == IDC_NEWABOOK_NAME ? name_ : dest_;
        if (std::string(value).find_first_not_of(" \t") != std::string::npos) continue;
        Box(key, "NEWABOOK_CPP_5", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(id));
        return false;
    }
    return true;
}

void AddressBookDialog::Save() {
    if (state_.mode != AddressBookMode::Editing || !FieldsReady()) return;
    AddressToSave address;
    address.kind = state_.saveKind;
    address.addNum = shownAddNum_;
    address.name = name_;
    address.dest = dest_;
    address.note = note_;
    address.lists = pick_.MemberNums();
    AddressSaveOutcome outcome;
    {
        WaitCursor wait(Handle());
        outcome = SaveAddress(data_->conn, address, Handle(), nullptr);
    }
    switch (outcome) {
    case AddressSaveOutcome::NoMembershipTable:
        Box("NEWABOOK_CPP_6", "NEWABOOK_CPP_5", MB_OK | MB_ICONEXCLAMATION);
        return;
    case AddressSaveOutcome::NotSaved: return; // reported; the fields stay for another try
    case AddressSaveOutcome::KeyNotFound:
        Box("NEWABOOK_CPP_16", "NEWABOOK_CPP_5", MB_OK | MB_ICONEXCLAMATION);
        break;
    case AddressSaveOutcome::MembershipsNotSaved: // reported
    case AddressSaveOutcome::Saved: break;
    }
    Step(AddressBookEvent::Save);
    ReadLists();
    ShowTab();
}

void AddressBookDialog::Delete() {
    const AddressBookRow* row = SelectedRow();
    if (!row) {
        Box("NEWABOOK_CPP_4", "NEWABOOK_CPP_3", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const long addNum = row->addNum;
    if (Box("NEWABOOK_CPP_2", "NEWABOOK_CPP_1", MB_YESNO | MB_ICONQUESTION) == IDNO) return;
    // The box of this dialog tells the failure; the store's own report would be a second box.
    if (!DeleteAddress(data_->conn, addNum, nullptr)) {
        Box("NEWABOOK_CPP_4", "NEWABOOK_CPP_3", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Step(AddressBookEvent::Delete);
    ReadLists();
    ClearFields();
    ShowTab();
}

bool AddressBookDialog::ReadAllAddresses(std::vector<AddressBookRow>* rows) {
    if (!ReadAddressBookRows(data_->conn, kAllAddressesQuery, rows, Handle())) return false;
    if (!rows->empty()) return true;
    Box("NEWABOOK_CPP_14", "NEWABOOK_CPP_13", MB_OK | MB_ICONINFORMATION);
    return false;
}

void AddressBookDialog::Print() {
    std::vector<AddressBookRow> rows;
    if (!ReadAllAddresses(&rows)) return;
    EntryPrintRun run;
    run.owner = Handle();
    run.catalog = data_->catalog;
    run.font = data_->font;
    run.documentName = Text("NEWABOOK_CPP_8");
    run.title = FormatTextOr(Text("NEWABOOK_CPP_7").c_str(), {static_cast<int>(rows.size())},
                             Text("NEWABOOK_CPP_5"));
    for (const AddressBookRow& row : rows)
        run.entries.push_back({row.name, AddressDetailLine(row.dest, row.note)});
    if (PrintEntries(run) == EntryPrintOutcome::NotStarted)
        Box("NEWABOOK_CPP_6", "NEWABOOK_CPP_5", MB_OK | MB_ICONEXCLAMATION);
}

void AddressBookDialog::Export() {
    std::vector<AddressBookRow> rows;
    if (!ReadAllAddresses(&rows)) return;
    std::vector<ExportedAddress> addresses;
    for (const AddressBookRow& row : rows) addresses.push_back({row.name, row.dest, row.note});
    const std::string path = InstallFile(data_->installPath, kAddressExportFile);
    if (!WriteAddressExport(path, addresses)) {
        Box("NEWABOOK_CPP_10", "NEWABOOK_CPP_9", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string caption = Text("NEWABOOK_CPP_11");
    const std::string text = FormatTextOr(Text("NEWABOOK_CPP_12").c_str(), {path}, path);
    ui::MessageBox(Handle(), text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

void AddressBookDialog::Import(int kind) {
    if (!data_->importAddresses) return;
    data_->importAddresses(Handle(), kind);
    ReadLists();
    ShowTab();
}

void AddressBookDialog::ImportAscii() {
    if (!data_->importAscii) return;
    data_->importAscii(Handle());
    ReadLists();
    ShowTab();
}

} // namespace lx
