// "Import Addresses" driven by control id against the runner's store: the two address files, the
// browse button, its refusals, and the Simple MAPI import against the MAPI32.DLL stand-in.
#include "common/win/handles.h"
#include "mailer/addressing/impaddr.h"
#include "mailer/res/resource.h"
#include "tests/impaddr/import_cases.h"
#include "tests/impaddr/import_fixture.h"
#include "tests/pickers/dialog_drive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using lx::ImportedAddress;
using lx::ImportSourceKind;
using lxtest::Click;
using Lines = std::vector<std::string>;
using Rows = std::vector<ImportedAddress>;

// The folder of this test program, where the MAPI32.DLL stand-in lies.
std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

// What the dialog showed while the test drove it.
struct Seen {
    std::string caption;
    bool fileEnabled = true;
    bool browseEnabled = true;
    std::string file;
    Lines status;
};

class ImportAddresses : public lxtest::ImportTest {
protected:
    void TearDown() override {
        for (const char* name : {"LORVEX_MAPI_RECIPIENTS", "LORVEX_MAPI_LOGON",
                                 "LORVEX_MAPI_ADDRESS", "LORVEX_MAPI_LOG"})
            ::SetEnvironmentVariableA(name, nullptr);
        ImportTest::TearDown();
    }

    lx::ImportAddressesData Data(ImportSourceKind source) {
        lx::ImportAddressesData data;
        data.source = source;
        data.catalog = &lxtest::BuiltCatalogue();
        data.conn = &Conn();
        data.installPath = folder;
        return data;
    }

    // Runs the dialog: `drive` works its controls, then it is closed.
    Seen Run(lx::ImportAddressesData& data, const std::function<void(HWND)>& drive) {
        Seen seen;
        hook.onInit = [&](HWND dlg, int id) {
            EXPECT_EQ(id, IDD_IMPORTAD);
            later.Post([&, dlg] {
                char caption[256] = "";
                ::GetWindowTextA(dlg, caption, sizeof caption);
                seen.caption = caption;
                seen.fileEnabled = lxtest::Enabled(dlg, IDC_IMPORTAD_FILE);
                seen.browseEnabled = lxtest::Enabled(dlg, IDC_IMPORTAD_BROWSE);
                drive(dlg);
                seen.file = lxtest::ControlText(dlg, IDC_IMPORTAD_FILE);
                seen.status = EditLines(dlg, IDC_IMPORTAD_STATUS);
                lxtest::Press(dlg, IDCANCEL);
            });
        };
        EXPECT_EQ(IDCANCEL, lx::ShowImportAddressesDialog(nullptr, &data));
        return seen;
    }

    // Imports `path` with the Start button.
    Seen Import(lx::ImportAddressesData& data, const std::string& path) {
        return Run(data, [&](HWND dlg) {
            ::SetDlgItemTextA(dlg, IDC_IMPORTAD_FILE, path.c_str());
            Click(dlg, IDC_IMPORTAD_START);
        });
    }

    std::string Line(const char* key, const std::string& suffix = std::string()) {
        return Text(key) + suffix;
    }

    // The MAPI stand-in's record of the calls it got.
    Lines MapiCalls() {
        Lines calls;
        std::ifstream in(folder + "\\mapi.log");
        for (std::string line; std::getline(in, line);) calls.push_back(line);
        return calls;
    }
    void ScriptMapi(const std::string& recipients) {
        ::SetEnvironmentVariableA("LORVEX_MAPI_RECIPIENTS", recipients.c_str());
        ::SetEnvironmentVariableA("LORVEX_MAPI_LOG", (folder + "\\mapi.log").c_str());
    }
};

const Rows kPegasusRows = {{"Kim O'Hara", "kim@example.org", "Board, \"chair\""},
                           {"J\xFCrgen", "jurgen@example.org", ""}};

TEST_F(ImportAddresses, FixedRecordFileStoresEveryRecord) {
    const std::string path =
        WriteFile("book.pmr", lxtest::FixedRecordFile("Pegasus Address Book", kPegasusRows));
    lx::ImportAddressesData data = Data(ImportSourceKind::FixedRecordFile);
    const Seen seen = Import(data, path);
    EXPECT_EQ(seen.caption, Text("IMPORTAD_CPP_25"));
    EXPECT_TRUE(seen.fileEnabled && seen.browseEnabled);
    EXPECT_EQ(seen.status,
              (Lines{Line("IMPORTAD_CPP_16"), Line("IMPORTAD_CPP_17", "Pegasus Address Book"),
                     Line("IMPORTAD_CPP_18", "Kim O'Hara"), Line("IMPORTAD_CPP_1"),
                     Line("IMPORTAD_CPP_18", "J\xFCrgen"), Line("IMPORTAD_CPP_1"),
                     Line("IMPORTAD_CPP_3", "2"), Line("IMPORTAD_CPP_4", "0")}));
    EXPECT_EQ(AddBookRows(), kPegasusRows);
    EXPECT_EQ(data.stored, 2);
    EXPECT_EQ(data.refused, 0);
    EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(ImportAddresses, AliasFileStoresAliasesWithTheirNotes) {
    const std::string path = WriteFile("nndbase.txt", "alias \"Kim O'Hara\" kim@example.org\r\n"
                                                      "note \"Kim O'Hara\" Board, chair\r\n"
                                                      "alias \"open quote x@example.org\r\n"
                                                      "alias ann ann@example.org\r\n");
    lx::ImportAddressesData data = Data(ImportSourceKind::AliasFile);
    const Seen seen = Import(data, path);
    EXPECT_EQ(seen.caption, Text("IMPORTAD_CPP_26"));
    EXPECT_EQ(seen.status, (Lines{Line("IMPORTAD_CPP_21"), Line("IMPORTAD_CPP_18", "Kim O'Hara"),
                                  Line("IMPORTAD_CPP_1"), Line("IMPORTAD_CPP_23"),
                                  Line("IMPORTAD_CPP_18", "ann"), Line("IMPORTAD_CPP_1"),
                                  Line("IMPORTAD_CPP_3", "2"), Line("IMPORTAD_CPP_4", "1")}));
    EXPECT_EQ(AddBookRows(), (Rows{{"Kim O'Hara", "kim@example.org", "Board, chair"},
                                   {"ann", "ann@example.org", ""}}));
}

TEST_F(ImportAddresses, StartWithoutAReadableFileSaysWhy) {
    const std::string locked = WriteFile("locked.pmr", lxtest::FixedRecordFile("L", kPegasusRows));
    // Held open by another "program" without sharing: the import cannot have it to itself.
    lx::UniqueHandle holder(::CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    struct Case {
        std::string file;
        const char* text;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {"", "IMPORTAD_CPP_12", "IMPORTAD_CPP_13"},
        {folder + "\\missing.pmr", "IMPORTAD_CPP_14", "IMPORTAD_CPP_15"},
        {locked, "IMPORTAD_CPP_14", "IMPORTAD_CPP_15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        hook.boxes.clear();
        lx::ImportAddressesData data = Data(ImportSourceKind::FixedRecordFile);
        const Seen seen = Import(data, c.file);
        ASSERT_EQ(hook.boxes.size(), 1u);
        EXPECT_EQ(hook.boxes[0].text, Text(c.text));
        EXPECT_EQ(hook.boxes[0].caption, Text(c.caption));
        EXPECT_TRUE(seen.status.empty());
    }
    EXPECT_TRUE(AddBookRows().empty());
}

TEST_F(ImportAddresses, BrowseTakesAPathThatFitsAndRefusesALongerOne) {
    struct Case {
        ImportSourceKind source;
        std::string chosen;
        std::string field; // what the file name field holds afterwards
        const char* filter;
        bool refused;
    };
    const std::string fits = "C:\\" + std::string(248, 'f') + ".pmr"; // 255 characters
    const std::string tooLong = "C:\\" + std::string(249, 'f') + ".pmr";
    const std::vector<Case> cases = {
        {ImportSourceKind::FixedRecordFile, fits, fits, "IMPORTAD_CPP_8", false},
        {ImportSourceKind::FixedRecordFile, tooLong, "before", "IMPORTAD_CPP_8", true},
        {ImportSourceKind::AliasFile, "C:\\mail\\nndbase.txt", "C:\\mail\\nndbase.txt",
         "IMPORTAD_CPP_9", false},
        {ImportSourceKind::AliasFile, "", "before", "IMPORTAD_CPP_9", false}, // cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        hook.boxes.clear();
        hook.openTitles.clear();
        hook.openFilters.clear();
        hook.openPath = c.chosen;
        lx::ImportAddressesData data = Data(c.source);
        const Seen seen = Run(data, [&](HWND dlg) {
            ::SetDlgItemTextA(dlg, IDC_IMPORTAD_FILE, "before");
            Click(dlg, IDC_IMPORTAD_BROWSE);
        });
        EXPECT_EQ(seen.file, c.field);
        EXPECT_EQ(hook.openTitles, Lines{Text("IMPORTAD_CPP_7")});
        std::string filter = Text(c.filter);
        while (!filter.empty() && filter.back() == '|') filter.pop_back();
        EXPECT_EQ(hook.openFilters, Lines{filter + "|"});
        ASSERT_EQ(hook.boxes.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(hook.boxes[0].text, Text("IMPORTAD_CPP_10"));
            EXPECT_EQ(hook.boxes[0].caption, Text("IMPORTAD_CPP_11"));
        }
    }
}

TEST_F(ImportAddresses, WithoutASourceBrowseAndStartSaySo) {
    lx::ImportAddressesData data = Data(ImportSourceKind::None);
    const Seen seen = Run(data, [&](HWND dlg) {
        Click(dlg, IDC_IMPORTAD_BROWSE);
        Click(dlg, IDC_IMPORTAD_START);
        Click(dlg, IDC_IMPORTAD_HELP);
    });
    EXPECT_EQ(seen.caption, Text("IMPORTAD_CPP_24"));
    ASSERT_EQ(hook.helpCalls.size(), 1u);
    EXPECT_EQ(hook.helpCalls[0].second, static_cast<ULONG_PTR>(HELP_CONTEXT_IMPORTAD));
    EXPECT_TRUE(hook.openTitles.empty());
    ASSERT_EQ(hook.boxes.size(), 2u);
    for (const lxtest::BoxSeen& box : hook.boxes) {
        EXPECT_EQ(box.text, Text("IMPORTAD_CPP_5"));
        EXPECT_EQ(box.caption, Text("IMPORTAD_CPP_6"));
    }
}

TEST_F(ImportAddresses, MapiImportStoresTheChosenInternetAddresses) {
    ScriptMapi("Ann O'Neil\tSMTP:ann@example.org\n"
               "Exchange Only\tEX:/o=Org/ou=Site/cn=Recipients/cn=bob\n"
               "Carl\tSMTP:  carl@example.org\n");
    lx::ImportAddressesData data = Data(ImportSourceKind::SimpleMapi);
    const Seen seen = Run(data, [&](HWND dlg) { Click(dlg, IDC_IMPORTAD_START); });
    EXPECT_EQ(seen.caption, Text("IMPORTAD_CPP_27"));
    EXPECT_FALSE(seen.fileEnabled);
    EXPECT_FALSE(seen.browseEnabled);
    // The stand-in next to the program was loaded by name and called in this order.
    EXPECT_EQ(MapiCalls(),
              (Lines{"MAPILogon owner=window profile=(null) password=(null) flags=11",
                     "MAPIAddress session=ours caption=MAPI Address Book fields=1 labels=Add "
                     "recips=0",
                     "MAPIFreeBuffer buffer=ours", "MAPILogoff session=ours"}));
    EXPECT_EQ(seen.status, (Lines{Line("IMPORTAD_CPP_18", "Ann O'Neil"), Line("IMPORTAD_CPP_1"),
                                  Line("IMPORTAD_CPP_18", "Exchange Only"), Line("IMPORTAD_CPP_33"),
                                  Line("IMPORTAD_CPP_18", "Carl"), Line("IMPORTAD_CPP_1"),
                                  Line("IMPORTAD_CPP_3", "2"), Line("IMPORTAD_CPP_4", "1")}));
    EXPECT_EQ(AddBookRows(),
              (Rows{{"Ann O'Neil", "ann@example.org", ""}, {"Carl", "carl@example.org", ""}}));
}

TEST_F(ImportAddresses, MapiImportTellsWhatTheMailSystemLacks) {
    ScriptMapi("Ann\tSMTP:ann@example.org\n");
    struct Case {
        std::string library;
        const char* key;
    };
    const std::string here = ProgramFolder();
    const std::vector<Case> cases = {
        {here + "\\without_MAPILogon\\MAPI32.DLL", "IMPORTAD_CPP_29"},
        {here + "\\without_MAPILogoff\\MAPI32.DLL", "IMPORTAD_CPP_30"},
        {here + "\\without_MAPIAddress\\MAPI32.DLL", "IMPORTAD_CPP_31"},
        {here + "\\without_MAPIFreeBuffer\\MAPI32.DLL", "IMPORTAD_CPP_32"},
        {"LXNOMAPI.DLL", "IMPORTAD_CPP_28"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        lx::ImportAddressesData data = Data(ImportSourceKind::SimpleMapi);
        data.mapiLibrary = c.library;
        const Seen seen = Run(data, [&](HWND dlg) { Click(dlg, IDC_IMPORTAD_START); });
        EXPECT_EQ(seen.status, Lines{Line(c.key)});
    }
    EXPECT_TRUE(MapiCalls().empty()); // nothing is called once an entry point is missing
    EXPECT_TRUE(AddBookRows().empty());
}

TEST_F(ImportAddresses, MapiLogonRefusedOrAddressDialogCancelledStoresNothing) {
    ScriptMapi("Ann\tSMTP:ann@example.org\n");
    struct Case {
        const char* variable;
        const char* value;
        Lines calls;
    };
    const std::vector<Case> cases = {
        {"LORVEX_MAPI_LOGON",
         "refuse",
         {"MAPILogon owner=window profile=(null) password=(null) flags=11"}},
        {"LORVEX_MAPI_ADDRESS",
         "cancel",
         {"MAPILogon owner=window profile=(null) password=(null) flags=11",
          "MAPIAddress session=ours caption=MAPI Address Book fields=1 labels=Add recips=0",
          "MAPILogoff session=ours"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variable);
        ::DeleteFileA((folder + "\\mapi.log").c_str());
        ::SetEnvironmentVariableA(c.variable, c.value);
        lx::ImportAddressesData data = Data(ImportSourceKind::SimpleMapi);
        const Seen seen = Run(data, [&](HWND dlg) { Click(dlg, IDC_IMPORTAD_START); });
        ::SetEnvironmentVariableA(c.variable, nullptr);
        EXPECT_TRUE(seen.status.empty());
        EXPECT_EQ(MapiCalls(), c.calls);
    }
    EXPECT_TRUE(AddBookRows().empty());
}

} // namespace
