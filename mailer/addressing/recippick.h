// What "Select Recipients" and "Select Mailing List" share: the To and Cc being picked, shown in
// their two lists and handed to the caller on OK.
#pragma once
#include "common/win/dialog.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/addressing/seladdrs.h"

namespace lx {

class RecipientPickDialog : public Dialog {
protected:
    RecipientPickDialog(int resourceId, HWND owner, RecipientPickData* data, int toId, int ccId)
        : Dialog(resourceId, owner), data_(data), toId_(toId), ccId_(ccId) {}

    void OnOK() override {
        data_->to = picked_.ToText();
        data_->cc = picked_.CcText();
        End(IDOK);
    }

    void ShowPicked() {
        FillLines(Item(toId_), picked_.To());
        FillLines(Item(ccId_), picked_.Cc());
    }

    RecipientPickData* data_;
    RecipientLists picked_;

private:
    int toId_;
    int ccId_;
};

} // namespace lx
