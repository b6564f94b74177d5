// "Address Book": browsing by letter tab, showing an address with its mailing lists, starting
// and ending editing, and moving lists between "Possible Mailing Lists" and "Add To Mailing
// List". Saving, deleting, printing, export and import are in newabook_edit.cpp.
#include "mailer/addressing/newabook_dialog.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"

namespace lx {

AddressBookDialog::AddressBookDialog(HWND owner, AddressBookData* data)
    : Dialog(IDD_NEWABOOK, owner), data_(data) {
    BindText(IDC_NEWABOOK_NAME, name_, sizeof name_, kAddNameLen);
    BindText(IDC_NEWABOOK_DEST, dest_, sizeof dest_, kAddDestLen);
    BindText(IDC_NEWABOOK_NOTE, note_, sizeof note_, kAddNoteLen);
    Map().OnCommand(IDC_NEWABOOK_LIST, [this](int code, HWND) {
        if (code == LBN_SELCHANGE) ShowSelected();
    });
    Map().OnCommand(IDC_NEWABOOK_ADD, [this](int, HWND) { StartNew(); });
    Map().OnCommand(IDC_NEWABOOK_EDIT, [this](int, HWND) {
        ShowSelected(); // the fields may have been cleared since
        if (shownAddNum_ < 0) return;
        Step(AddressBookEvent::Edit);
        ::SetFocus(Item(IDC_NEWABOOK_NAME));
    });
    Map().OnCommand(IDC_NEWABOOK_CLEAR, [this](int, HWND) {
        Step(AddressBookEvent::Clear);
        ReadLists();
        pick_.Reset(lists_, {});
        ShowMemberships();
        ClearFields();
        ::SetFocus(Item(IDC_NEWABOOK_LIST));
    });
    Map().OnCommand(IDC_NEWABOOK_DELETE, [this](int, HWND) { Delete(); });
    Map().OnCommand(IDC_NEWABOOK_SAVE, [this](int, HWND) { Save(); });
    Map().OnCommand(IDC_NEWABOOK_JOIN, [this](int, HWND) { Join(); });
    Map().OnCommand(IDC_NEWABOOK_LEAVE, [this](int, HWND) { Leave(); });
    Map().OnCommand(IDC_NEWABOOK_POSSIBLE, [this](int code, HWND) {
        if (code == LBN_DBLCLK) Join();
    });
    Map().OnCommand(IDC_NEWABOOK_MEMBERS, [this](int code, HWND) {
        if (code == LBN_DBLCLK) Leave();
    });
    Map().OnCommand(IDC_NEWABOOK_PRINT, [this](int, HWND) { Print(); });
    Map().OnCommand(IDC_NEWABOOK_EXPORT, [this](int, HWND) { Export(); });
    Map().OnCommand(IDC_NEWABOOK_EUDORA, [this](int, HWND) { Import(kImportEudoraLight); });
    Map().OnCommand(IDC_NEWABOOK_PEGASUS, [this](int, HWND) { Import(kImportPegasus); });
    Map().OnCommand(IDC_NEWABOOK_EXCHANGE, [this](int, HWND) { Import(kImportExchange); });
    Map().OnCommand(IDC_NEWABOOK_ASCII, [this](int, HWND) { ImportAscii(); });
    Map().OnCommand(IDC_NEWABOOK_HELP, [this](int, HWND) {
        ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_NEWABOOK);
    });
    Map().On(WM_HELP, [this](WPARAM, LPARAM) -> LRESULT { // F1
        ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_NEWABOOK);
        return TRUE;
    });
    Map().On(WM_NOTIFY, [this](WPARAM, LPARAM notify) -> LRESULT {
        if (IsTabChange(notify, IDC_NEWABOOK_TABS)) OnTabChange();
        return 0;
    });
}

BOOL AddressBookDialog::OnInitDialog() {
    AddLetterTabs(Item(IDC_NEWABOOK_TABS));
    ReadLists();
    ShowTab();
    if (data_->preset.empty()) return TRUE;
    StartNew();
    std::string name, dest;
    SplitPresetAddress(data_->preset, &name, &dest);
    ::SetDlgItemTextA(Handle(), IDC_NEWABOOK_NAME, name.c_str());
    ::SetDlgItemTextA(Handle(), IDC_NEWABOOK_DEST, dest.c_str());
    return FALSE; // the focus is on Full Name
}

void AddressBookDialog::OnOK() {
    if (state_.mode == AddressBookMode::Editing) Save();
}

std::string AddressBookDialog::Text(const char* key) const {
    const char* text = data_->catalog->Lookup(key);
    return text ? text : "";
}

int AddressBookDialog::Box(const char* textKey, const char* captionKey, UINT flags) {
    return ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, flags);
}

void AddressBookDialog::Enable() {
    const AddressBookEnabling e =
        EnablingFor(state_.mode, !rows_.empty(), static_cast<bool>(data_->importAddresses),
                    static_cast<bool>(data_->importAscii));
    const std::pair<int, bool> controls[] = {
        {IDC_NEWABOOK_NAME, e.fields},
        {IDC_NEWABOOK_DEST, e.fields},
        {IDC_NEWABOOK_NOTE, e.fields},
        {IDC_NEWABOOK_POSSIBLE, e.memberLists},
        {IDC_NEWABOOK_MEMBERS, e.memberLists},
        {IDC_NEWABOOK_JOIN, e.memberLists},
        {IDC_NEWABOOK_LEAVE, e.memberLists},
        {IDC_NEWABOOK_SAVE, e.save},
        {IDC_NEWABOOK_CLEAR, e.clear},
        {IDC_NEWABOOK_ADD, e.add},
        {IDC_NEWABOOK_EDIT, e.edit},
        {IDC_NEWABOOK_DELETE, e.remove},
        {IDC_NEWABOOK_PRINT, e.print},
        {IDC_NEWABOOK_EXPORT, e.exportFile},
        {IDC_NEWABOOK_EUDORA, e.importAddresses},
        {IDC_NEWABOOK_PEGASUS, e.importAddresses},
        {IDC_NEWABOOK_EXCHANGE, e.importAddresses},
        {IDC_NEWABOOK_ASCII, e.importAscii},
        {IDC_NEWABOOK_LIST, e.addressList},
    };
    for (const auto& [id, enabled] : controls) ::EnableWindow(Item(id), enabled);
}

void AddressBookDialog::Step(AddressBookEvent event) {
    state_ = AddressBookStep(state_, event);
    Enable();
}

bool AddressBookDialog::ReadLists() { return ReadMailingLists(data_->conn, &lists_, Handle()); }

void AddressBookDialog::ShowTab() {
    const int tab = CurrentLetterTab(Item(IDC_NEWABOOK_TABS));
    const bool read = ReadAddressBookRows(data_->conn, AddressBookTabQuery(tab), &rows_, Handle());
    std::vector<std::string> lines;
    for (const AddressBookRow& row : rows_) lines.push_back(row.name);
    if (read && rows_.empty()) lines.push_back(Text("NEWABOOK_CPP_15"));
    HWND list = Item(IDC_NEWABOOK_LIST);
    FillLines(list, lines);
    if (!rows_.empty()) ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    ShowSelected();
    Enable();
}

const AddressBookRow* AddressBookDialog::SelectedRow() const {
    const LRESULT line = ::SendMessageA(Item(IDC_NEWABOOK_LIST), LB_GETCURSEL, 0, 0);
    if (line < 0 || static_cast<size_t>(line) >= rows_.size()) return nullptr;
    return &rows_[static_cast<size_t>(line)];
}

void AddressBookDialog::ShowSelected() {
    const AddressBookRow* row = SelectedRow();
    std::vector<long> memberOf;
    if (row) ReadMemberships(data_->conn, row->addNum, &memberOf, Handle());
    shownAddNum_ = row ? row->addNum : -1;
    ::SetDlgItemTextA(Handle(), IDC_NEWABOOK_NAME, row ? row->name.c_str() : "");
    ::SetDlgItemTextA(Handle(), IDC_NEWABOOK_DEST, row ? row->dest.c_str() : "");
    ::SetDlgItemTextA(Handle(), IDC_NEWABOOK_NOTE, row ? row->note.c_str() : "");
    pick_.Reset(lists_, memberOf);
    ShowMemberships();
}

void AddressBookDialog::ShowMemberships() {
    FillLines(Item(IDC_NEWABOOK_POSSIBLE), pick_.PossibleNames());
    FillLines(Item(IDC_NEWABOOK_MEMBERS), pick_.MemberNames());
}

void AddressBookDialog::ClearFields() {
    for (const int id : {IDC_NEWABOOK_NAME, IDC_NEWABOOK_DEST, IDC_NEWABOOK_NOTE})
        ::SetDlgItemTextA(Handle(), id, "");
}

void AddressBookDialog::StartNew() {
    Step(AddressBookEvent::Add);
    ReadLists();
    pick_.Reset(lists_, {});
    ShowMemberships();
    ClearFields();
    ::SetFocus(Item(IDC_NEWABOOK_NAME));
}

void AddressBookDialog::OnTabChange() {
    Step(AddressBookEvent::TabChange);
    ReadLists();
    ShowTab();
}

void AddressBookDialog::Join() {
    const LRESULT line = ::SendMessageA(Item(IDC_NEWABOOK_POSSIBLE), LB_GETCURSEL, 0, 0);
    if (line >= 0 && pick_.Join(static_cast<size_t>(line))) ShowMemberships();
}

void AddressBookDialog::Leave() {
    const LRESULT line = ::SendMessageA(Item(IDC_NEWABOOK_MEMBERS), LB_GETCURSEL, 0, 0);
    if (line >= 0 && pick_.Leave(static_cast<size_t>(line))) ShowMemberships();
}

INT_PTR ShowAddressBookDialog(HWND owner, AddressBookData* data) {
    if (!data || !data->catalog || !data->conn) return -1;
    LoadTabControls();
    AddressBookDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugAddressBook(CommandPlugs& plugs, const AddressBookData& data) {
    plugs.Plug(ID_ADDRESS_BOOK, [data](void* owner, const char* argument) {
        AddressBookData shown = data;
        shown.preset = argument ? argument : "";
        return static_cast<int>(ShowAddressBookDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
