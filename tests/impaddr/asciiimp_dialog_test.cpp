// "Import Adresses From ASCII File" driven by control id against the runner's store: its
// options, its refusals, and the address book's export of 500 awkward addresses read back.
#include "common/catalog/textformat.h"
#include "mailer/addressing/asciiimp.h"
#include "mailer/res/resource.h"
#include "tests/impaddr/import_cases.h"
#include "tests/impaddr/import_fixture.h"
#include "tests/pickers/dialog_drive.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using lx::ImportedAddress;
using lxtest::Click;
using Lines = std::vector<std::string>;
using Rows = std::vector<ImportedAddress>;

std::string ComboText(HWND dlg, int id) {
    HWND combo = ::GetDlgItem(dlg, id);
    const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return "(none)";
    char text[64] = "";
    ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

void Choose(HWND dlg, int id, const char* entry) {
    ::SendDlgItemMessageA(dlg, id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(entry));
}

struct Columns {
    const char* name;
    const char* dest;
    const char* note;
    const char* first;
};

void SetColumns(HWND dlg, const Columns& c) {
    ::SetDlgItemTextA(dlg, IDC_ASCIIIMP_NAMECOL, c.name);
    ::SetDlgItemTextA(dlg, IDC_ASCIIIMP_ADDRCOL, c.dest);
    ::SetDlgItemTextA(dlg, IDC_ASCIIIMP_NOTECOL, c.note);
    ::SetDlgItemTextA(dlg, IDC_ASCIIIMP_FIRSTLINE, c.first);
}

struct Seen {
    std::string quote;
    std::string delimiter;
    Lines fields; // name, address and note columns, first line, as the dialog opened
    Lines status;
    int firstVisible = 0; // the status box's first visible line afterwards
};

class AsciiImport : public lxtest::ImportTest {
protected:
    lx::AsciiImportData Data() {
        lx::AsciiImportData data;
        data.catalog = &lxtest::BuiltCatalogue();
        data.conn = &Conn();
        data.installPath = folder;
        return data;
    }

    Seen Run(lx::AsciiImportData& data, const std::function<void(HWND)>& drive) {
        Seen seen;
        hook.onInit = [&](HWND dlg, int id) {
            EXPECT_EQ(id, IDD_ASCIIIMP);
            later.Post([&, dlg] {
                seen.quote = ComboText(dlg, IDC_ASCIIIMP_QUOTE);
                seen.delimiter = ComboText(dlg, IDC_ASCIIIMP_DELIMITER);
                for (const int id : {IDC_ASCIIIMP_NAMECOL, IDC_ASCIIIMP_ADDRCOL,
                                     IDC_ASCIIIMP_NOTECOL, IDC_ASCIIIMP_FIRSTLINE})
                    seen.fields.push_back(lxtest::ControlText(dlg, id));
                drive(dlg);
                seen.status = EditLines(dlg, IDC_ASCIIIMP_STATUS);
                seen.firstVisible = static_cast<int>(
                    ::SendDlgItemMessageA(dlg, IDC_ASCIIIMP_STATUS, EM_GETFIRSTVISIBLELINE, 0, 0));
                lxtest::Press(dlg, IDCANCEL);
            });
        };
        EXPECT_EQ(IDCANCEL, lx::ShowAsciiImportDialog(nullptr, &data));
        return seen;
    }

    Seen Import(lx::AsciiImportData& data, const std::string& path,
                const std::function<void(HWND)>& options = nullptr) {
        return Run(data, [&](HWND dlg) {
            ::SetDlgItemTextA(dlg, IDC_ASCIIIMP_FILE, path.c_str());
            if (options) options(dlg);
            Click(dlg, IDC_ASCIIIMP_START);
        });
    }

    std::string Line(const char* key, const std::string& suffix = std::string()) {
        return Text(key) + suffix;
    }
};

TEST_F(AsciiImport, QuotedFileWithHeaderStoresEachGoodLineUntilAnEmptyLine) {
    const std::string path =
        WriteFile("book.csv", "\"Name\",\"Email Address\",\"Notes\"\r\n"
                              "\"Kim O'Hara\",\"kim@example.org\",\"Board, \"\"chair\"\"\"\r\n"
                              "Bad Line,bad@example.org,\r\n"
                              "\"Open\",\"open@example.org\",\"not closed\r\n"
                              "\"J\xFCrgen\",\"jurgen@example.org\",\"\"\r\n"
                              "\r\n"
                              "\"After\",\"after@example.org\",\"\"\r\n");
    lx::AsciiImportData data = Data();
    const Seen seen = Import(data, path);
    EXPECT_EQ(seen.quote, "\"");
    EXPECT_EQ(seen.delimiter, "COMMA");
    EXPECT_EQ(seen.fields, (Lines{"1", "2", "3", "2"}));
    EXPECT_EQ(AddBookRows(), (Rows{{"Kim O'Hara", "kim@example.org", "Board, \"chair\""},
                                   {"J\xFCrgen", "jurgen@example.org", ""}}));
    EXPECT_EQ(seen.status, (Lines{Line("ASCIIIMP_CPP_5"),
                                  lx::FormatTextOr(Text("ASCIIIMP_CPP_6").c_str(), {1}, ""),
                                  Line("ASCIIIMP_CPP_13", "Kim O'Hara"), Line("ASCIIIMP_CPP_14"),
                                  Line("ASCIIIMP_CPP_16", "3"), Line("ASCIIIMP_CPP_17", "4"),
                                  Line("ASCIIIMP_CPP_13", "J\xFCrgen"), Line("ASCIIIMP_CPP_14"),
                                  Line("ASCIIIMP_CPP_7", "2"), Line("ASCIIIMP_CPP_8", "2"),
                                  Line("ASCIIIMP_CPP_9"), Line("ASCIIIMP_CPP_10")}));
    EXPECT_EQ(data.stored, 2);
    EXPECT_EQ(data.refused, 2);
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(AsciiImport, TabsWithoutQuotingInOtherColumns) {
    const std::string path = WriteFile("book.txt", "note one\tAnn\tann@example.org\n"
                                                   "\"q\"\tBob \"B\"\tbob@example.org\n");
    lx::AsciiImportData data = Data();
    const Seen seen = Import(data, path, [](HWND dlg) {
        Choose(dlg, IDC_ASCIIIMP_QUOTE, "NONE");
        Choose(dlg, IDC_ASCIIIMP_DELIMITER, "TAB");
        SetColumns(dlg, {"2", "3", "1", "1"});
        Click(dlg, IDC_ASCIIIMP_HELP);
    });
    ASSERT_EQ(hook.helpCalls.size(), 1u);
    EXPECT_EQ(hook.helpCalls[0].second, static_cast<ULONG_PTR>(HELP_CONTEXT_ASCIIIMP));
    EXPECT_EQ(AddBookRows(), (Rows{{"Ann", "ann@example.org", "note one"},
                                   {"Bob \"B\"", "bob@example.org", "\"q\""}}));
    EXPECT_EQ(seen.status.back(), Line("ASCIIIMP_CPP_8", "0"));
}

TEST_F(AsciiImport, RefusalsBeforeAnythingIsRead) {
    const std::string good = WriteFile("good.csv", "Name\nAnn,a@example.org,n\n");
    struct Case {
        const char* what;
        std::string file;
        Columns columns;
        std::string text;
        const char* caption; // nullptr: the dialog layer's own box, caption not checked
    };
    const std::vector<Case> cases = {
        // The file does not exist: the columns are refused before it is looked for.
        {"name and address both in column 2",
         folder + "\\missing.csv",
         {"2", "2", "3", "2"},
         Text("ASCIIIMP_CPP_12"),
         "ASCIIIMP_CPP_11"},
        {"note and name in one column",
         good,
         {"3", "2", "3", "2"},
         Text("ASCIIIMP_CPP_12"),
         "ASCIIIMP_CPP_11"},
        {"a missing file",
         folder + "\\missing.csv",
         {"1", "2", "3", "2"},
         Text("ASCIIIMP_CPP_4"),
         "ASCIIIMP_CPP_3"},
        {"column 0",
         good,
         {"0", "2", "3", "2"},
         lx::FormatTextOr(Text("NEWMAIL_CPP_5").c_str(), {1, 256}, ""),
         nullptr},
        {"first line 257",
         good,
         {"1", "2", "3", "257"},
         lx::FormatTextOr(Text("NEWMAIL_CPP_5").c_str(), {1, 256}, ""),
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hook.boxes.clear();
        lx::AsciiImportData data = Data();
        const Seen seen = Import(data, c.file, [&](HWND dlg) { SetColumns(dlg, c.columns); });
        ASSERT_EQ(hook.boxes.size(), 1u);
        EXPECT_EQ(hook.boxes[0].text, c.text);
        if (c.caption) EXPECT_EQ(hook.boxes[0].caption, Text(c.caption));
        EXPECT_TRUE(seen.status.empty());
    }
    EXPECT_TRUE(AddBookRows().empty());
}

TEST_F(AsciiImport, BrowseTakesAPathThatFitsAndRefusesALongerOne) {
    const std::string fits = "C:\\" + std::string(248, 'f') + ".csv"; // 255 characters
    const std::string tooLong = "C:\\" + std::string(249, 'f') + ".csv";
    for (const std::string& chosen : {fits, tooLong}) {
        hook.boxes.clear();
        hook.openPath = chosen;
        lx::AsciiImportData data = Data();
        std::string field;
        Run(data, [&](HWND dlg) {
            Click(dlg, IDC_ASCIIIMP_BROWSE);
            field = lxtest::ControlText(dlg, IDC_ASCIIIMP_FILE);
        });
        EXPECT_EQ(field, chosen == fits ? fits : "");
        ASSERT_EQ(hook.boxes.size(), chosen == fits ? 0u : 1u);
        if (!hook.boxes.empty()) EXPECT_EQ(hook.boxes[0].text, Text("ASCIIIMP_CPP_18"));
    }
    EXPECT_EQ(hook.openTitles, (Lines{Text("ASCIIIMP_CPP_1"), Text("ASCIIIMP_CPP_1")}));
}

TEST_F(AsciiImport, TheAddressBooksExportOfFiveHundredAwkwardAddressesReadsBackTheSame) {
    const Rows rows = lxtest::AwkwardAddresses(500);
    const std::string path = WriteFile("LXADBOOK.TXT", lxtest::ExportFile(rows));
    lx::AsciiImportData data = Data();
    const Seen seen = Import(data, path);
    EXPECT_EQ(AddBookRows(), rows);
    EXPECT_EQ(data.stored, 500);
    EXPECT_EQ(data.refused, 0);
    ASSERT_EQ(seen.status.size(), 2u + 2 * 500 + 2);
    EXPECT_EQ(seen.status.back(), Line("ASCIIIMP_CPP_8", "0"));
    // Scrolled to its last lines: a page of them is shown, not the start.
    EXPECT_GT(seen.firstVisible, static_cast<int>(seen.status.size()) - 40);
}

} // namespace
