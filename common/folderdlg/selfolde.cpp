#include "common/folderdlg/selfolde.h"

#include "common/catalog/msgcatalog.h"
#include "common/folderdlg/folderres.h"
#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "odbcvant/odbcvant.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace lx {

std::string SelectFolderLine(const char* name, long folderNum) {
    char number[24];
    std::snprintf(number, sizeof number, "\t%ld", folderNum);
    return std::string(name ? name : "") + number;
}

bool ParseSelectFolderLine(const std::string& line, std::string& name, long& folderNum) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) return false;
    const char* digits = line.c_str() + tab + 1;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(digits, &end, 10);
    if (end == digits || errno != 0) return false;
    name = line.substr(0, tab);
    folderNum = value;
    return true;
}

namespace {

constexpr int kTabStop = 160; // dialog units: the numbers line up in one column

class SelectFolderDialog : public Dialog {
public:
    SelectFolderDialog(HWND owner, MessageCatalog& catalog, odbcvantConnection* conn,
                       long* folderNum, char* name, size_t nameSize, const std::string& helpFile)
        : Dialog(IDD_SELFOLDER, owner), catalog_(catalog), conn_(conn), folderNum_(folderNum),
          name_(name), nameSize_(nameSize), helpFile_(helpFile) {
        Map().OnCommand(IDC_SELFOLDER_HELP, [this](int, HWND) {
            ui::Help(Handle(), helpFile_.c_str(), HELP_CONTEXT, HELP_CONTEXT_SELFOLDER);
        });
        Map().OnCommand(IDC_SELFOLDER_LIST, [this](int code, HWND) {
            if (code == LBN_DBLCLK) OnOK();
        });
    }

protected:
    BOOL OnInitDialog() override {
        HWND list = Item(IDC_SELFOLDER_LIST);
        int stop = kTabStop;
        ::SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
        Fill(list);
        return TRUE;
    }

    void OnOK() override {
        HWND list = Item(IDC_SELFOLDER_LIST);
        const LRESULT index = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) {
            ui::CatalogBox(Handle(), catalog_, "SELFOLDE_CPP_1", "SELFOLDE_CPP_2",
                           MB_OK | MB_ICONINFORMATION);
            return;
        }
        const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::string line(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&line[0]));
        line.resize(std::strlen(line.c_str()));
        std::string name;
        long number = 0;
        if (!folderNum_ || !ParseSelectFolderLine(line, name, number)) {
            End(IDCANCEL);
            return;
        }
        if (name_ && nameSize_ > 0) std::snprintf(name_, nameSize_, "%s", name.c_str());
        *folderNum_ = number;
        End(IDOK);
    }

private:
    void Fill(HWND list) {
        if (!conn_) return;
        odbcvantCursor cursor(conn_, kSqlFolderNames);
        SQLINTEGER number = 0;
        char name[kFolderLen + 1] = {};
        if (!cursor.IsValid() || !cursor.SetSingleResult() ||
            !cursor.BindColumns(1, ODBCVANT_INT32, &number, 0) ||
            !cursor.BindColumns(2, ODBCVANT_TEXT, name, sizeof name) || !cursor.ExecuteStmt()) {
            cursor.ReportError(Handle());
            return;
        }
        while (cursor.SingleFetch()) {
            name[kFolderLen] = '\0';
            if (std::strcmp(name, kFolderIn) == 0) continue;
            const std::string line = SelectFolderLine(name, static_cast<long>(number));
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            std::memset(name, 0, sizeof name);
        }
    }

    MessageCatalog& catalog_;
    odbcvantConnection* conn_;
    long* folderNum_;
    char* name_;
    size_t nameSize_;
    std::string helpFile_;
};

} // namespace

INT_PTR ShowSelectFolderDialog(HWND owner, MessageCatalog& catalog, odbcvantConnection* conn,
                               long* folderNum, char* name, size_t nameSize,
                               const std::string& helpFile) {
    SelectFolderDialog dialog(owner, catalog, conn, folderNum, name, nameSize, helpFile);
    return dialog.DoModal();
}

} // namespace lx
