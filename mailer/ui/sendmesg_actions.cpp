// The form's actions on the store and beyond: saving, Send Now, File In Folder, Delete Message,
// the recipient pickers and the spelling check.
#include "mailer/ui/sendmesg.h"

#include "common/catalog/msgcatalog.h"
#include "common/clock/localtime.h"
#include "common/folderdlg/selfolde.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/seladdrs.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/store/folderlookup.h"
#include "mailer/ui/editfram.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/editfram_rules.h"
#include "mailer/ui/store/editfram_store.h"
#include "spellcheck/ssced.h"

#include <ctime>

namespace lx {

namespace {
// The spelling check's caption is at most this many characters.
constexpr std::size_t kSpellCaptionChars = 15;
constexpr char kOutFolder[] = "_OUT";
constexpr char kTrashFolder[] = "_TRASHCAN";
} // namespace

long PrepareMessageForm::SpecialFolder(const std::function<long()>& known, const char* name) {
    const long number = known ? known() : -1;
    return number >= 0 ? number : FindFolderNum(frame_.Context().conn, name, hwnd_);
}

ComposedMessage PrepareMessageForm::Composed(long folderNum) const {
    ComposedMessage m;
    m.folderNum = folderNum;
    m.signature = CutTo(data_.signature, kSignatureNameChars);
    m.returnAddress = CutTo(data_.returnAddress, kReturnAddressChars);
    m.subjectText = data_.subject;
    m.body = data_.body;
    m.to = RecipientLines(data_.to);
    m.cc = RecipientLines(data_.cc);
    m.files = data_.files;
    if (m.files.size() > kMaxAttachments) m.files.resize(kMaxAttachments);
    m.appDate = ToLocalTime(std::time(nullptr));
    return m;
}

void PrepareMessageForm::WriteSettings() {
    const char* key = frame_.Context().registryKey;
    Win32SettingsRegistry registry(key ? key : kRegistryKey);
    if (!registry.KeyExisted()) return;
    registry.WriteString(kRegLastRetAdd, CutTo(data_.returnAddress, kReturnAddressChars).c_str());
    registry.WriteString(kRegLastRetSig, CutTo(data_.signature, kSignatureNameChars).c_str());
    registry.WriteDword(kRegLineBreaks, data_.lineBreaks ? 1 : 0);
}

// Stores the message in `folderNum`; an opened message is replaced. False (with the reason shown)
// when nothing was stored.
bool PrepareMessageForm::Save(long folderNum) {
    if (data_.returnAddress.empty()) {
        Box("SENDMESG_CPP_8", "SENDMESG_CPP_9", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (folderNum < 0) return false; // the folder look-up reported why
    if (data_.lineBreaks) data_.body = BodyWithLineBreaks(DisplayLines());
    const ComposerOpening& opening = frame_.Opening();
    long key = -1;
    if (SaveComposedMessage(frame_.Context().conn, hwnd_, Composed(folderNum),
                            opening.opened ? opening.mesgNum : -1, &key) != SaveResult::Saved)
        return false;
    WriteSettings();
    return true;
}

void PrepareMessageForm::SendNow() {
    FromControls();
    if (RecipientLines(data_.to).empty() && RecipientLines(data_.cc).empty()) {
        Box("SENDMESG_CPP_3", "SENDMESG_CPP_4", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!BodyFits(data_.body.size())) {
        Box("SENDMESG_CPP_5", "SENDMESG_CPP_6", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!Save(SpecialFolder(frame_.Context().outFolder, kOutFolder))) return;
    frame_.MarkSaved();
    if (const CommandPlugs* plugs = frame_.Context().plugs)
        plugs->Run(ID_MAIL_SEND, frame_.Handle(), kSendAutomatic, nullptr);
    frame_.CloseSoon();
}

void PrepareMessageForm::FileInFolder() {
    FromControls();
    if (!BodyFits(data_.body.size())) {
        Box("SENDMESG_CPP_5", "SENDMESG_CPP_6", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    MessageCatalog* catalog = frame_.Context().catalog;
    if (!catalog) return;
    long folderNum = -1;
    char name[32] = "";
    if (ShowSelectFolderDialog(hwnd_, *catalog, frame_.Context().conn, &folderNum, name,
                               sizeof name, HelpFileSpec(frame_.Context().installPath)) != IDOK)
        return;
    if (!Save(folderNum)) return;
    frame_.MarkSaved();
    frame_.CloseSoon();
}

void PrepareMessageForm::DeleteMessage() {
    const ComposerOpening& opening = frame_.Opening();
    if (!opening.opened) return;
    const ComposerContext& context = frame_.Context();
    const long trash = SpecialFolder(context.trashFolder, kTrashFolder);
    if (trash < 0) return;
    bool done = false;
    if (opening.message.folderNum != trash) {
        done = MoveComposedMessage(context.conn, hwnd_, opening.mesgNum, trash);
    } else {
        if (Box("SENDMESG_CPP_30", "SENDMESG_CPP_29", MB_YESNO | MB_ICONSTOP) != IDYES) return;
        done = DeleteMessageWithRows(context.conn, hwnd_, opening.mesgNum);
    }
    if (!done) return; // the store reported why; the composer stays
    frame_.MarkSaved();
    frame_.CloseSoon();
}

// The pickers' To and Cc lines join the texts (each line once).
void PrepareMessageForm::PickRecipients(bool mailingLists) {
    FromControls();
    const ComposerContext& context = frame_.Context();
    RecipientPickData pick;
    pick.catalog = context.catalog;
    pick.conn = context.conn;
    if (context.plugs && context.plugs->IsPlugged(ID_ADDRESS_BOOK)) {
        const CommandPlugs* plugs = context.plugs;
        pick.manageAddressBook = [plugs](HWND owner) {
            plugs->Run(ID_ADDRESS_BOOK, owner, "", nullptr);
        };
    }
    const INT_PTR answer = mailingLists ? ShowSelectMailingListDialog(hwnd_, &pick)
                                        : ShowSelectRecipientsDialog(hwnd_, &pick);
    if (answer != IDOK) return;
    MergeRecipients(data_.to, pick.to);
    MergeRecipients(data_.cc, pick.cc);
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_TO, data_.to.c_str());
    ::SetDlgItemTextA(hwnd_, IDC_SENDMESG_CC, data_.cc.c_str());
}

void PrepareMessageForm::SpellCheck() {
    SpellChecker* spell = frame_.Context().spell;
    const int result =
        spell ? spell->CheckCtrlDlg(hwnd_, Item(IDC_SENDMESG_BODY), 0) : SSCED_ERR_NO_LEXICON;
    const char* key = result == 0                      ? "SENDMESG_CPP_10"
                      : result == SSCED_ERR_NO_LEXICON ? "SENDMESG_CPP_12"
                                                       : nullptr;
    if (!key) return; // the user cancelled the check
    const std::string caption = CutTo(Text("SENDMESG_CPP_11"), kSpellCaptionChars);
    ui::MessageBox(hwnd_, Text(key).c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

} // namespace lx
