// "Signature Files" driven by control id: adding, editing and deleting signatures, the file on
// disk afterwards, the older file converted, and the file held while the dialog is open.
#include "common/settings/install_path.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/logic/signatureindex.h"
#include "mailer/ui/signatur.h"
#include "mailer/ui/signatur_file.h"
#include "tests/panes/panes_fixture.h"
#include "tests/pickers/dialog_drive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using lxtest::Click;
using lxtest::Enabled;
using lxtest::Press;

class SignatureFiles : public lxtest::PaneTest {
protected:
    std::string FilePath() const { return lx::InstallFile(installPath, lx::kSignatureFile); }
    std::string OldPath() const { return lx::InstallFile(installPath, lx::kOldSignatureFile); }
    INT_PTR Run() {
        lx::SignatureFilesData data{&s_catalogue->Get(), installPath};
        return lx::ShowSignatureFilesDialog(parent, &data);
    }
    Lines Names(HWND dlg) { return ItemTexts(::GetDlgItem(dlg, IDC_SIGNATUR_LIST)); }
    // Add or Edit, then the fields, then Save Text.
    void Write(HWND dlg, int button, const char* name, const char* text) {
        Click(dlg, button);
        ::SetDlgItemTextA(dlg, IDC_SIGNATUR_NAME, name);
        ::SetDlgItemTextA(dlg, IDC_SIGNATUR_TEXT, text);
        Click(dlg, IDC_SIGNATUR_SAVE);
    }
    void SelectName(HWND dlg, const char* name) {
        HWND list = ::GetDlgItem(dlg, IDC_SIGNATUR_LIST);
        ::SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(name));
        ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SIGNATUR_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
    lxtest::Later later;
};

TEST_F(SignatureFiles, AddsEditsAndDeletesSignaturesInTheFile) {
    Lines afterAdds, afterDuplicate, afterDelete;
    std::string shownText;
    bool heldWhileOpen = false, editingGroupOn = true, browsingGroupOn = false;
    hook.onInit = [&](HWND dlg, int id) {
        ASSERT_EQ(id, IDD_SIGNATUR);
        later.Post([&, dlg] {
            editingGroupOn = Enabled(dlg, IDC_SIGNATUR_SAVE) || Enabled(dlg, IDC_SIGNATUR_NAME);
            lx::SignatureFile reader;
            heldWhileOpen = !reader.Open(FilePath()); // nobody else reads it meanwhile
            Write(dlg, IDC_SIGNATUR_ADD, "Work", "Ann Smith\r\nExample Ltd");
            Write(dlg, IDC_SIGNATUR_ADD, "Home", "Ann");
            afterAdds = Names(dlg);
            Write(dlg, IDC_SIGNATUR_ADD, "Work", "again"); // refused: the name is taken
            Click(dlg, IDC_SIGNATUR_CLEAR);
            afterDuplicate = Names(dlg);
            browsingGroupOn = Enabled(dlg, IDC_SIGNATUR_ADD) && Enabled(dlg, IDC_SIGNATUR_LIST);
            SelectName(dlg, "Home");
            shownText = lxtest::ControlText(dlg, IDC_SIGNATUR_TEXT);
            Write(dlg, IDC_SIGNATUR_EDIT, "Home", "Ann at home");
            SelectName(dlg, "Work");
            Click(dlg, IDC_SIGNATUR_DELETE);
            afterDelete = Names(dlg);
            Press(dlg, IDCANCEL);
        });
    };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_FALSE(editingGroupOn);
    EXPECT_TRUE(heldWhileOpen);
    EXPECT_EQ(afterAdds, (Lines{"Work", "Home"}));
    EXPECT_EQ(afterDuplicate, (Lines{"Work", "Home"}));
    EXPECT_TRUE(browsingGroupOn);
    EXPECT_EQ(shownText, "Ann");
    EXPECT_EQ(afterDelete, Lines{"Home"});
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("SIGNATUR_CPP_6"));
    EXPECT_EQ(hook.boxes[0].caption, Text("SIGNATUR_CPP_5"));

    // Closed: the readers find the signatures again.
    lx::SignatureFile reader;
    ASSERT_TRUE(reader.Open(FilePath()));
    EXPECT_EQ(reader.Index().count, 2);
    EXPECT_TRUE(reader.Index().deleted[0]);
    EXPECT_EQ(reader.TextOf("Home"), "Ann at home");
    EXPECT_EQ(reader.TextOf("Work"), "");
    EXPECT_EQ(std::filesystem::file_size(FilePath()), 1296u + 2 * 512u);
}

TEST_F(SignatureFiles, TheOlderFileBecomesTheDefaultSignatureOnce) {
    {
        std::ofstream old(OldPath(), std::ios::binary);
        old << "Regards,\r\nAnn";
    }
    Lines names;
    std::string shown;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            names = Names(dlg);
            shown = lxtest::ControlText(dlg, IDC_SIGNATUR_TEXT);
            Press(dlg, IDCANCEL);
        });
    };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_EQ(names, Lines{Text("SIGNATUR_CPP_3")});
    EXPECT_EQ(shown, "Regards,\r\nAnn");
    EXPECT_FALSE(std::filesystem::exists(OldPath()));
    lx::SignatureFile reader;
    ASSERT_TRUE(reader.Open(FilePath()));
    EXPECT_EQ(reader.TextOf(Text("SIGNATUR_CPP_3")), "Regards,\r\nAnn");
}

TEST_F(SignatureFiles, ADamagedFileIsShownAndNothingCanBeEdited) {
    {
        std::ofstream damaged(FilePath(), std::ios::binary);
        damaged << "short";
    }
    Lines names;
    bool anyEnabled = true;
    hook.onInit = [&](HWND dlg, int) {
        names = Names(dlg);
        anyEnabled = false;
        for (const int id : {IDC_SIGNATUR_ADD, IDC_SIGNATUR_EDIT, IDC_SIGNATUR_DELETE,
                             IDC_SIGNATUR_SAVE, IDC_SIGNATUR_NAME})
            anyEnabled = anyEnabled || Enabled(dlg, id);
        Press(dlg, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_EQ(names, Lines{Text("SIGNATUR_CPP_2")});
    EXPECT_FALSE(anyEnabled);
    EXPECT_EQ(std::filesystem::file_size(FilePath()), 5u); // left as it was
}

TEST_F(SignatureFiles, TheThirtyThirdSignatureIsRefusedWithTheBox) {
    {
        lx::HeldSignatureFile file;
        ASSERT_EQ(file.Open(installPath, "unused"), lx::SignatureFileState::Ready);
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(file.Book().Save(-1, "S" + std::to_string(i), "text", nullptr),
                      lx::SignatureSave::Saved);
    }
    const auto size = std::filesystem::file_size(FilePath());
    bool editing = true;
    hook.onInit = [&](HWND dlg, int) {
        later.Post([&, dlg] {
            Click(dlg, IDC_SIGNATUR_ADD);
            editing = Enabled(dlg, IDC_SIGNATUR_SAVE);
            Click(dlg, IDC_SIGNATUR_HELP);
            Press(dlg, IDCANCEL);
        });
    };
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_FALSE(editing);
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].text, Text("SIGNATUR_CPP_8"));
    EXPECT_EQ(hook.boxes[0].caption, Text("SIGNATUR_CPP_7"));
    ASSERT_EQ(hook.helpCalls.size(), 1u);
    EXPECT_EQ(hook.helpCalls[0].second, static_cast<ULONG_PTR>(HELP_CONTEXT_SIGNATUR));
    EXPECT_EQ(std::filesystem::file_size(FilePath()), size);
}

} // namespace
