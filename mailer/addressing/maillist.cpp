// "Mailing List": every list by name; adding and editing one through "Build Mailing List",
// deleting one with its members, printing one, and writing a merge file from one.
#include "mailer/addressing/maillist.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/install_path.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "mailer/addressing/addrprint.h"
#include "mailer/addressing/lettertabs.h"
#include "mailer/addressing/logic/addrprint_rules.h"
#include "mailer/addressing/logic/mergefile_rules.h"
#include "mailer/addressing/store/addrpick_store.h"
#include "mailer/addressing/store/distro_store.h"
#include "mailer/addressing/waitcursor.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"

#include <vector>

namespace lx {
namespace {

class MailingListDialog : public Dialog {
public:
    MailingListDialog(HWND owner, MailingListData* data)
        : Dialog(IDD_MAILLIST, owner), data_(data) {
        Map().OnCommand(IDC_MAILLIST_ADD, [this](int, HWND) { Build(nullptr); });
        Map().OnCommand(IDC_MAILLIST_EDIT, [this](int, HWND) { EditSelected(); });
        Map().OnCommand(IDC_MAILLIST_LISTS, [this](int code, HWND) {
            if (code == LBN_DBLCLK) EditSelected();
        });
        Map().OnCommand(IDC_MAILLIST_DELETE, [this](int, HWND) { Delete(); });
        Map().OnCommand(IDC_MAILLIST_MERGE, [this](int, HWND) { WriteMergeFileOf(); });
        Map().OnCommand(IDC_MAILLIST_PRINT, [this](int, HWND) { Print(); });
        Map().OnCommand(IDC_MAILLIST_HELP, [this](int, HWND) {
            ShowPickerHelp(Handle(), data_->installPath, HELP_CONTEXT_MAILLIST);
        });
    }

protected:
    BOOL OnInitDialog() override {
        odbcvantTableInfo distribution(data_->conn, "Distribution");
        if (!distribution.IsValid()) Box("MAILLIST_CPP_6", "MAILLIST_CPP_5", MB_ICONEXCLAMATION);
        Refill(0);
        return TRUE;
    }

private:
    std::string Text(const char* key) const {
        const char* text = data_->catalog->Lookup(key);
        return text ? text : "";
    }

    int Box(const char* textKey, const char* captionKey, UINT flags) {
        return ui::CatalogBox(Handle(), *data_->catalog, textKey, captionKey, MB_OK | flags);
    }

    // The lists by name, the line `select` selected; the buttons that need a list only with one.
    void Refill(long select) {
        ReadMailingLists(data_->conn, &lists_, Handle());
        std::vector<std::string> names;
        for (const MailingListRow& list : lists_) names.push_back(list.name);
        HWND box = Item(IDC_MAILLIST_LISTS);
        FillLines(box, names);
        if (!lists_.empty())
            ::SendMessageA(
                box, LB_SETCURSEL,
                static_cast<WPARAM>(select < static_cast<long>(lists_.size()) ? select : 0), 0);
        for (const int id :
             {IDC_MAILLIST_EDIT, IDC_MAILLIST_DELETE, IDC_MAILLIST_MERGE, IDC_MAILLIST_PRINT})
            ::EnableWindow(Item(id), !lists_.empty());
    }

    const MailingListRow* Selected() const {
        const LRESULT line = ::SendMessageA(Item(IDC_MAILLIST_LISTS), LB_GETCURSEL, 0, 0);
        if (line < 0 || static_cast<size_t>(line) >= lists_.size()) return nullptr;
        return &lists_[static_cast<size_t>(line)];
    }

    long SelectedLine() const {
        return static_cast<long>(::SendMessageA(Item(IDC_MAILLIST_LISTS), LB_GETCURSEL, 0, 0));
    }

    void EditSelected() {
        if (const MailingListRow* list = Selected()) Build(list);
    }

    // A new list (`list` null) or an existing one.
    void Build(const MailingListRow* list) {
        BuildMailingListData build;
        build.catalog = data_->catalog;
        build.conn = data_->conn;
        build.installPath = data_->installPath;
        if (list) {
            build.distroNum = list->distroNum;
            build.name = list->name;
        }
        const long line = SelectedLine();
        ShowBuildMailingListDialog(Handle(), &build);
        Refill(line < 0 ? 0 : line);
    }

    void Delete() {
        const MailingListRow* list = Selected();
        if (!list) return;
        const long distroNum = list->distroNum;
        if (Box("MAILLIST_CPP_3", "MAILLIST_CPP_4", MB_YESNO | MB_ICONSTOP) == IDNO) return;
        DeleteMailingList(data_->conn, distroNum, Handle()); // a failure is reported
        Refill(0);
    }

    void WriteMergeFileOf() {
        const MailingListRow* list = Selected();
        if (!list) return;
        const long distroNum = list->distroNum;
        MergeFileNameData name;
        name.catalog = data_->catalog;
        name.installPath = data_->installPath;
        if (ShowMergeFileDialog(Handle(), &name) != IDOK) return;
        const std::string path = InstallFile(data_->installPath, name.fileName.c_str());
        std::vector<std::string> to, cc;
        bool written = false;
        {
            WaitCursor wait(Handle());
            if (!ReadMemberAddresses(data_->conn, distroNum, true, &to, Handle()) ||
                !ReadMemberAddresses(data_->conn, distroNum, false, &cc, Handle()))
                return; // reported
            written = WriteMergeFile(path, to, cc);
        }
        if (!written) {
            Box("MAILLIST_CPP_7", "MAILLIST_CPP_5", MB_ICONEXCLAMATION);
            return;
        }
        const std::string text = Text("MAILLIST_CPP_8");
        ui::MessageBox(Handle(), text.c_str(), path.c_str(), MB_OK | MB_ICONINFORMATION);
    }

    void Print() {
        const MailingListRow* list = Selected();
        if (!list) return;
        std::vector<PrintedMember> members;
        if (!ReadPrintedMembers(data_->conn, list->distroNum, &members, Handle())) return;
        if (members.empty()) {
            Box("MAILLIST_CPP_13", "MAILLIST_CPP_5", MB_ICONINFORMATION);
            return;
        }
        EntryPrintRun run;
        run.owner = Handle();
        run.catalog = data_->catalog;
        run.font = data_->font;
        run.documentName = Text("MAILLIST_CPP_10");
        run.title = FormatTextOr(Text("MAILLIST_CPP_9").c_str(), {list->name}, list->name);
        for (const PrintedMember& m : members)
            run.entries.push_back(
                {MemberHeadingLine(m.name, m.isTo), MemberDetailLine(m.dest, m.note)});
        if (PrintEntries(run) == EntryPrintOutcome::NotStarted)
            Box("MAILLIST_CPP_6", "MAILLIST_CPP_5", MB_ICONEXCLAMATION);
    }

    MailingListData* data_;
    std::vector<MailingListRow> lists_; // the rows behind the list's lines
};

} // namespace

INT_PTR ShowMailingListDialog(HWND owner, MailingListData* data) {
    if (!data || !data->catalog || !data->conn) return -1;
    MailingListDialog dialog(owner, data);
    return dialog.DoModal();
}

void PlugMailingLists(CommandPlugs& plugs, const MailingListData& data) {
    plugs.Plug(ID_MAILING_LISTS, [data](void* owner, const char*) {
        MailingListData shown = data;
        return static_cast<int>(ShowMailingListDialog(static_cast<HWND>(owner), &shown));
    });
}

} // namespace lx
