// The "Address Book" dialog's class, shared by its two source files: newabook.cpp (browsing,
// showing and picking lists) and newabook_edit.cpp (save, delete, print, export, import).
#pragma once
#include "common/win/dialog.h"
#include "mailer/addressing/logic/abook_rules.h"
#include "mailer/addressing/newabook.h"
#include "mailer/addressing/store/abook_store.h"

#include <string>
#include <vector>

namespace lx {

class AddressBookDialog : public Dialog {
public:
    AddressBookDialog(HWND owner, AddressBookData* data);

protected:
    BOOL OnInitDialog() override;
    // Enter saves while editing and does nothing while browsing.
    void OnOK() override;

private:
    // newabook.cpp
    std::string Text(const char* key) const;
    int Box(const char* textKey, const char* captionKey, UINT flags);
    void Enable();
    void Step(AddressBookEvent event);
    bool ReadLists();
    void ShowTab();
    void ShowSelected();
    void ShowMemberships();
    void ClearFields();
    void StartNew();
    void OnTabChange();
    void Join();
    void Leave();
    const AddressBookRow* SelectedRow() const;

    // newabook_edit.cpp
    void Save();
    bool FieldsReady();
    void Delete();
    void Print();
    void Export();
    void Import(int kind);
    void ImportAscii();
    bool ReadAllAddresses(std::vector<AddressBookRow>* rows);

    AddressBookData* data_;
    AddressBookState state_;
    std::vector<AddressBookRow> rows_;  // the current tab's rows, behind the list's lines
    std::vector<MailingListRow> lists_; // every mailing list by name
    MembershipPick pick_;               // the lists of the address being edited
    long shownAddNum_ = -1;             // the address in the fields, -1 when none
    char name_[kAddNameLen + 1] = "";
    char dest_[kAddDestLen + 1] = "";
    char note_[kAddNoteLen + 1] = "";
};

} // namespace lx
