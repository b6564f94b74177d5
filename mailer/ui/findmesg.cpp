#include "mailer/ui/findmesg.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/schema/schema.h"
#include "common/schema/subject.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/logic/findmesg_query.h"
#include "mailer/ui/store/findmesg_store.h"

#include <vector>

namespace lx {
namespace {

constexpr int kDateChars = 10; // YYYY-MM-DD

class MessageSearchDialog : public Dialog {
public:
    MessageSearchDialog(HWND owner, MessageSearchData* data)
        : Dialog(IDD_FINDMESG, owner), data_(data), owner_(owner), store_(data->conn, nullptr),
          months_([data](const char* key) { return Text(data->catalog, key); }) {
        BindText(IDC_FINDMESG_SENDER, sender_, sizeof sender_, kFromAddLen);
        BindText(IDC_FINDMESG_SUBJECT, subject_, sizeof subject_,
                 static_cast<int>(kSubjectTextMax));
        BindText(IDC_FINDMESG_BEGIN, begin_, sizeof begin_, kDateChars);
        BindText(IDC_FINDMESG_END, end_, sizeof end_, kDateChars);
        Map().OnCommand(IDC_FINDMESG_FIND, [this](int, HWND) { OnFind(); });
        Map().OnCommand(IDC_FINDMESG_OPEN, [this](int, HWND) { OnOpen(); });
        Map().OnCommand(IDC_FINDMESG_RESULTS, [this](int code, HWND) {
            if (code == LBN_DBLCLK) OnOpen();
        });
        Map().OnCommand(IDC_FINDMESG_HELP, [this](int, HWND) {
            ui::Help(Handle(), HelpFileSpec(data_->installPath).c_str(), HELP_CONTEXT,
                     HELP_CONTEXT_FINDMESG);
        });
    }

protected:
    BOOL OnInitDialog() override {
        store_.SetOwner(Handle());
        // The results' columns: date, then address from 52, subject from 170 (dialog units).
        int tabs[2] = {52, 170};
        ::SendMessageA(Results(), LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabs));
        unavailable_ = !store_.Ready();
        if (unavailable_) ShowLine("FINDMESG_CPP_1");
        return TRUE;
    }

private:
    static std::string Text(MessageCatalog* catalog, const char* key) {
        const char* text = catalog ? catalog->Lookup(key) : nullptr;
        return text ? text : "";
    }
    HWND Results() const { return Item(IDC_FINDMESG_RESULTS); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(Handle(), id) == BST_CHECKED; }
    int Box(const char* text, UINT flags) {
        return ui::MessageBox(Handle(), text, Text(data_->catalog, "FINDMESG_CPP_2").c_str(),
                              flags);
    }

    // The list holds one line without a message (searching, nothing found, ...).
    void ShowLine(const char* key) {
        hits_.clear();
        ::SendMessageA(Results(), LB_RESETCONTENT, 0, 0);
        const std::string line = Text(data_->catalog, key) + "\t\t";
        ::SendMessageA(Results(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }

    void OnFind() {
        if (unavailable_ || !UpdateData(true)) return;
        const SearchFields fields{sender_,  Checked(IDC_FINDMESG_SENDER_EXACT),
                                  subject_, Checked(IDC_FINDMESG_SUBJECT_EXACT),
                                  begin_,   end_};
        if (SearchFieldsEmpty(fields)) {
            ui::CatalogBox(Handle(), *data_->catalog, "FINDMESG_CPP_3", "FINDMESG_CPP_2",
                           MB_OK | MB_ICONINFORMATION);
            return;
        }
        // A date that is not a date is named before anything is asked of the store.
        const SearchDateFault fault = CheckSearchDates(fields);
        if (fault != SearchDateFault::None) {
            const bool begin = fault == SearchDateFault::Begin;
            const std::string format = Text(data_->catalog, "FINDMESG_CPP_8");
            const char* typed = begin ? begin_ : end_;
            Box(FormatTextOr(format.c_str(), {typed}, format).c_str(), MB_OK | MB_ICONEXCLAMATION);
            ::SetFocus(Item(begin ? IDC_FINDMESG_BEGIN : IDC_FINDMESG_END));
            return;
        }
        ShowLine("FINDMESG_CPP_4");
        ::UpdateWindow(Results());
        std::vector<ListedMessage> rows;
        long count = -1;
        const MessageSearchStore::Outcome outcome =
            store_.Search(SearchSql(fields), months_, rows, count);
        if (outcome != MessageSearchStore::Outcome::Listed) {
            ShowLine("FINDMESG_CPP_9");
            return;
        }
        if (rows.empty()) {
            ShowLine("FINDMESG_CPP_5");
            return;
        }
        ::SendMessageA(Results(), LB_RESETCONTENT, 0, 0);
        for (const ListedMessage& row : rows) {
            ::SendMessageA(Results(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
            hits_.push_back(row.mesgNum);
        }
    }

    // Opens the selected hit the way the message list opens a message; its new mark stays.
    void OnOpen() {
        if (hits_.empty()) return;
        const LRESULT sel = ::SendMessageA(Results(), LB_GETCURSEL, 0, 0);
        if (sel == LB_ERR || static_cast<size_t>(sel) >= hits_.size()) {
            ui::CatalogBox(Handle(), *data_->catalog, "FINDMESG_CPP_7", "FINDMESG_CPP_6",
                           MB_OK | MB_ICONINFORMATION);
            return;
        }
        if (!data_->plugs) return;
        const std::string argument =
            OpenMessageArgument(OpenMessageRequest{hits_[static_cast<size_t>(sel)], 0, true});
        data_->plugs->Run(ID_MESSAGE_READ, owner_, argument.c_str(), nullptr);
    }

    MessageSearchData* data_;
    HWND owner_;
    MessageSearchStore store_;
    MonthNames months_;
    bool unavailable_ = false;
    std::vector<long> hits_; // MesgNum of list entry i
    char sender_[kFromAddLen + 1] = "";
    char subject_[kSubjectLen + 1] = "";
    char begin_[kDateChars + 1] = "";
    char end_[kDateChars + 1] = "";
};

} // namespace

INT_PTR ShowMessageSearchDialog(HWND owner, MessageSearchData* data) {
    if (!data || !data->catalog) return -1;
    MessageSearchDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMessageSearch(CommandPlugs& plugs, const MessageSearchData& data) {
    // The handler lives in `plugs` itself, so pointing back at them cannot outlive them.
    plugs.Plug(ID_MESSAGE_SEARCH, [data, &plugs](void* owner, const char*) {
        MessageSearchData shown = data;
        shown.plugs = &plugs;
        return static_cast<int>(ShowMessageSearchDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
