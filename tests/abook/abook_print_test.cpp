// Printing the address book and a mailing list from the dialogs on the test printer. The pages
// are read back from the PDFs by abook_print_check.py: this program prints, waits for each job's
// PDF and leaves it, with the addresses it printed, for the check.
#include "mailer/addressing/maillist.h"
#include "mailer/addressing/newabook.h"
#include "mailer/res/resource.h"
#include "common/settings/win32_forms.h"
#include "common/win/handles.h"
#include "printengine/prntvant.h"
#include "tests/abook/abook_fixture.h"
#include "tests/print/printer_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

using lxtest::Click;
using lxtest::Press;
namespace printer = lx::print::test;

class AddressPrinting : public lxtest::AddressingTest {
protected:
    void SetUp() override {
        AddressingTest::SetUp();
        ASSERT_FALSE(printer::DefaultPrinter().empty()) << "no default printer: run cups.sh";
        ASSERT_NE(std::getenv("LX_PRINT_OUT"), nullptr);
        printer::SetDialogAnswer(&answer_);
        PrintVant::SetPrintDialog(printer::AnswerPrintDialog);
        for (int i = 0; i < lx::kMessageFontCount; ++i) {
            const LOGFONTA lf =
                lx::ToLogFont(lx::DefaultMessageFont(static_cast<lx::MessageFont>(i)));
            fonts_[i].Reset(::CreateFontIndirectA(&lf));
        }
        // The PDFs and what they must show go into a folder of their own, which the other
        // printing tests' clearing of the printer's folder does not reach.
        ::CreateDirectoryA((printer::OutFolder() + "\\" + kFolder).c_str(), nullptr);
        // A job another program left must not be taken for this one's.
        for (const std::string& pdf : printer::Pdfs())
            if (pdf.rfind("job_", 0) == 0)
                ::DeleteFileA((printer::OutFolder() + "\\" + pdf).c_str());
    }
    void TearDown() override {
        PrintVant::SetPrintDialog(nullptr);
        printer::SetDialogAnswer(nullptr);
        AddressingTest::TearDown();
    }
    // Names and addresses that sort in the order they are made, over three pages at least.
    std::string Addresses(int count, std::vector<long>* keys) {
        std::string expected;
        for (int i = 1; i <= count; ++i) {
            char name[48], dest[80];
            std::snprintf(name, sizeof name, "Person %03d O'Hara", i);
            std::snprintf(dest, sizeof dest, "person%03d@example.org", i);
            keys->push_back(lxtest::AddAddress(Conn(), name, dest));
            expected += std::string(name) + "\n" + dest + "\n";
        }
        return expected;
    }
    // Once the dialog is shown: the button, then Close.
    void ClickThenClose(int button) {
        hook.onInit = [this, button](HWND dlg, int) {
            later.Post([dlg, button] {
                Click(dlg, button);
                Press(dlg, IDCANCEL);
            });
        };
    }
    std::function<HFONT(lx::MessageFont)> Fonts() {
        return [this](lx::MessageFont which) { return fonts_[static_cast<int>(which)].Get(); };
    }
    static void WriteExpected(const std::string& name, const std::string& text) {
        printer::WriteOutFile(std::string(kFolder) + "\\" + name, text);
    }
    // After the run: no box, one print dialog, one job's PDF kept as `pdf`.
    void ExpectOneJob(const std::string& pdf) {
        EXPECT_TRUE(hook.boxes.empty());
        EXPECT_EQ(answer_.calls, 1);
        EXPECT_EQ(PrintVant::RefCounter, 0);
        int jobs = 0;
        ASSERT_TRUE(printer::TakePdf(pdf, &jobs)) << "no PDF from the printer";
        EXPECT_EQ(jobs, 1);
        const std::string out = printer::OutFolder() + "\\";
        EXPECT_TRUE(::MoveFileExA((out + pdf).c_str(), (out + kFolder + "\\" + pdf).c_str(),
                                  MOVEFILE_REPLACE_EXISTING));
    }
    static constexpr char kFolder[] = "abook";
    lx::Font fonts_[lx::kMessageFontCount];
    printer::DialogAnswer answer_;
};

TEST_F(AddressPrinting, TheWholeBookInNameOrder) {
    std::vector<long> keys;
    const std::string expected = Addresses(70, &keys);
    WriteExpected("abook.txt", expected);
    ClickThenClose(IDC_NEWABOOK_PRINT);
    lx::AddressBookData data;
    data.catalog = &s_catalogue->Get();
    data.conn = &Conn();
    data.installPath = installPath;
    data.font = Fonts();
    EXPECT_EQ(IDCANCEL, lx::ShowAddressBookDialog(parent, &data));
    ExpectOneJob("abook.pdf");
}

TEST_F(AddressPrinting, AListWithItsToAndCcMembers) {
    std::vector<long> keys;
    Addresses(30, &keys);
    std::vector<std::pair<long, bool>> members;
    std::string expected;
    for (size_t i = 0; i < keys.size(); i += 3) {
        const bool to = i % 2 == 0;
        members.push_back({keys[i], to});
        char line[200];
        std::snprintf(line, sizeof line, "Person %03d O'Hara [%s Group]\nperson%03d@example.org\n",
                      static_cast<int>(i + 1), to ? "To" : "Cc", static_cast<int>(i + 1));
        expected += line;
    }
    lxtest::AddList(Conn(), "Printed list", members);
    WriteExpected("abooklist.txt", expected);
    ClickThenClose(IDC_MAILLIST_PRINT);
    lx::MailingListData data;
    data.catalog = &s_catalogue->Get();
    data.conn = &Conn();
    data.installPath = installPath;
    data.font = Fonts();
    EXPECT_EQ(IDCANCEL, lx::ShowMailingListDialog(parent, &data));
    ExpectOneJob("abooklist.pdf");
}

} // namespace
