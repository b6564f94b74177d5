#include "mailer/ui/addrfrom.h"

#include "common/win/dialog.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"

namespace lx {
namespace {

class AddressesFromMessageDialog : public Dialog {
public:
    AddressesFromMessageDialog(HWND owner, AddressesFromMessageData* data)
        : Dialog(IDD_ADDRFROM, owner), data_(data) {
        Map().OnCommand(IDC_ADDRFROM_ADD, [this](int, HWND) { OnAdd(); });
        Map().OnCommand(IDC_ADDRFROM_LIST, [this](int code, HWND) {
            if (code == LBN_DBLCLK) OnAdd();
        });
    }

protected:
    BOOL OnInitDialog() override {
        HWND list = Item(IDC_ADDRFROM_LIST);
        for (const std::string& address : data_->addresses)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(address.c_str()));
        ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        // Without an address book there is nowhere to add to.
        ::EnableWindow(Item(IDC_ADDRFROM_ADD), BookPlugged());
        return TRUE;
    }

private:
    bool BookPlugged() const { return data_->plugs && data_->plugs->IsPlugged(ID_ADDRESS_BOOK); }

    void OnAdd() {
        if (!BookPlugged()) return;
        const LRESULT row = ::SendMessageA(Item(IDC_ADDRFROM_LIST), LB_GETCURSEL, 0, 0);
        const std::string preset = row >= 0 && row < static_cast<LRESULT>(data_->addresses.size())
                                       ? data_->addresses[static_cast<size_t>(row)]
                                       : std::string();
        data_->plugs->Run(ID_ADDRESS_BOOK, Handle(), preset.c_str(), nullptr);
    }

    AddressesFromMessageData* data_;
};

} // namespace

INT_PTR ShowAddressesFromMessageDialog(HWND owner, AddressesFromMessageData* data) {
    if (!data) return -1;
    AddressesFromMessageDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
