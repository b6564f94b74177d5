// The form's initialisation: settings, tabs, what the composer was opened with, the return
// address and signature lists, the body font.
#include "mailer/ui/sendmesg.h"

#include "common/catalog/msgcatalog.h"
#include "common/schema/subject.h"
#include "common/settings/font_desc.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/registry_win32.h"
#include "common/settings/win32_forms.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/signatureindex.h"
#include "mailer/ui/editfram.h"
#include "mailer/addressing/logic/addrpick_rules.h"
#include "mailer/ui/logic/editfram_rules.h"
#include "mailer/ui/store/editfram_store.h"

#include <commctrl.h>

namespace lx {

namespace {

// The entry equal to `text` selected, else the first; the selected text.
std::string SelectEntry(HWND combo, const std::string& text) {
    LRESULT at = text.empty() ? CB_ERR
                              : ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(text.c_str()));
    if (at == CB_ERR) at = 0;
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    char chosen[kReturnAddressChars + 1] = "";
    if (::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0) <
        static_cast<LRESULT>(sizeof chosen))
        ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(at),
                       reinterpret_cast<LPARAM>(chosen));
    return chosen;
}

void AddEntry(HWND combo, const std::string& text) {
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

void PrepareMessageForm::Initialise() {
    const ComposerOpening& opening = frame_.Opening();
    data_.returnAddress = CutTo(opening.returnAddress, kReturnAddressChars);
    data_.commandLine = opening.commandLine;
    ReadSettings();
    HWND tabs = Item(IDC_SENDMESG_TABS);
    const std::string names[2] = {Text("SENDMESG_CPP_31"), Text("SENDMESG_CPP_32")};
    for (int i = 0; i < 2; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i].c_str());
        TabCtrl_InsertItem(tabs, i, &item);
    }
    ShowTab(0);
    TakeOpening();
    FillReturnAddresses();
    LoadBodyFont();
    FillSignatures();
    ToControls();
}

void PrepareMessageForm::ReadSettings() {
    const char* key = frame_.Context().registryKey;
    Win32SettingsRegistry registry(key ? key : kRegistryKey);
    if (!registry.KeyExisted()) return;
    char text[kReturnAddressChars + 1] = "";
    if (registry.ReadString(kRegLastRetAdd, text, sizeof text)) lastReturnAddress_ = text;
    char name[kSignatureNameChars + 1] = "";
    if (registry.ReadString(kRegLastRetSig, name, sizeof name)) lastSignature_ = name;
    std::int32_t lineBreaks = 0;
    if (registry.ReadDword(kRegLineBreaks, lineBreaks)) data_.lineBreaks = lineBreaks != 0;
}

void PrepareMessageForm::TakeFiles(const std::vector<std::string>& files) {
    for (const std::string& path : files)
        if (!AddAttachment(data_.files, path) && !CanAttachMore(data_.files.size())) {
            Box("SENDMESG_CPP_34", "SENDMESG_CPP_35", MB_OK | MB_ICONINFORMATION);
            break;
        }
}

void PrepareMessageForm::TakeOpening() {
    const ComposerOpening& opening = frame_.Opening();
    const ComposerContext& context = frame_.Context();
    if (opening.reply) {
        const ReplyTexts& reply = opening.replyTexts;
        data_.to = reply.to;
        data_.cc = reply.cc;
        data_.subject = ParseSubject(reply.subject).shown;
        if (reply.hasEarlierBody)
            data_.body =
                QuotedReplyBody(reply.quotedSender, reply.earlierBody,
                                QuoteTexts{Text("EDITFRAM_CPP_2"), Text("EDITFRAM_CPP_3"),
                                           Text("EDITFRAM_CPP_4"), Text("EDITFRAM_CPP_5")});
    }
    std::vector<std::string> rows;
    if (!opening.opened) {
        ::EnableWindow(Item(IDC_SENDMESG_DELETE), FALSE);
        data_.returnAddress = lastReturnAddress_;
        if (!data_.commandLine.empty()) {
            TakeCommandLine();
        } else if (opening.mesgNum != -1 && ReadMessageList(context.conn, hwnd_, MessageList::Files,
                                                            opening.mesgNum, &rows)) {
            TakeFiles(rows);
        }
        return;
    }
    // A stored message opened again: its subject without the flag suffix, its text, its
    // recipients and files.
    data_.subject = ParseSubject(opening.message.subject).shown;
    data_.body = opening.message.mailData;
    if (ReadMessageList(context.conn, hwnd_, MessageList::To, opening.mesgNum, &rows))
        data_.to = JoinLines(rows);
    if (ReadMessageList(context.conn, hwnd_, MessageList::Cc, opening.mesgNum, &rows))
        data_.cc = JoinLines(rows);
    if (ReadMessageList(context.conn, hwnd_, MessageList::Files, opening.mesgNum, &rows))
        TakeFiles(rows);
}

void PrepareMessageForm::TakeCommandLine() {
    const CommandLineIntent intent = InterpretCommandLine(data_.commandLine);
    if (!intent.attachment.empty() && AddAttachment(data_.files, intent.attachment)) ShowTab(1);
    if (!intent.keepCommandLine) {
        if (!intent.toAddress.empty())
            data_.to += (data_.to.empty() ? "" : "\r\n") + intent.toAddress;
        data_.commandLine.clear();
    }
}

void PrepareMessageForm::FillReturnAddresses() {
    HWND combo = Item(IDC_SENDMESG_RETURN);
    const MailboxList* mailboxes = frame_.Context().mailboxes;
    const int count = mailboxes ? MailboxCount(*mailboxes) : 0;
    for (int i = 0; i < count; ++i) AddEntry(combo, mailboxes->records[i].address);
    if (count == 0) {
        data_.body = Text("SENDMESG_CPP_7");
        data_.returnAddress.clear();
        return;
    }
    data_.returnAddress = SelectEntry(combo, data_.returnAddress);
}

void PrepareMessageForm::FillSignatures() {
    HWND combo = Item(IDC_SENDMESG_SIGNATURE);
    AddEntry(combo, Text("SENDMESG_CPP_33"));
    SignatureFile file;
    if (file.Open(InstallFile(frame_.Context().installPath, kSignatureFile))) {
        const SignatureIndex& index = file.Index();
        for (int i = 0; i < index.count; ++i)
            if (!index.deleted[i] && !index.names[i].empty()) AddEntry(combo, index.names[i]);
    }
    const ComposerOpening& opening = frame_.Opening();
    const std::string wanted = opening.opened ? opening.message.signature : lastSignature_;
    data_.signature = SelectEntry(combo, wanted);
}

void PrepareMessageForm::LoadBodyFont() {
    FontDesc desc;
    hasLogFont_ = ReadFontFile(frame_.Context().installPath, kComposerFontFile, desc);
    if (hasLogFont_) logFont_ = ToLogFont(desc);
    ApplyBodyFont();
    ::SendDlgItemMessageA(hwnd_, IDC_SENDMESG_BODY, EM_SETTABSTOPS, 0, 0);
}

} // namespace lx
