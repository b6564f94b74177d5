#include "mailer/transfer/pop3pass.h"

#include "common/win/dialog.h"
#include "mailer/res/resource.h"

namespace lx {
namespace {

// The POP3 connection takes passwords of at most 15 characters.
constexpr int kPasswordMaxChars = 15;

class Pop3PassDialog : public Dialog {
public:
    Pop3PassDialog(HWND owner, Pop3PassData* data) : Dialog(IDD_POP3PASS, owner) {
        BindText(IDC_POP3PASS_PASSWORD, data->password, sizeof data->password, kPasswordMaxChars);
    }
};

} // namespace

INT_PTR ShowPop3PassDialog(HWND owner, Pop3PassData* data) {
    if (!data) return -1;
    Pop3PassDialog dialog(owner, data);
    return dialog.DoModal();
}

} // namespace lx
