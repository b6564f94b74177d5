// Printing messages from a real store on the test printer. The pages themselves are read back
// from the PDF by msgprint_check.py: this program prints, waits for the job's PDF and leaves it,
// with the bodies it printed, for the check.
#include "common/catalog/msgcatalog.h"
#include "common/schema/sqlforms.h"
#include "common/settings/win32_forms.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/msgprint.h"
#include "printengine/prntvant.h"
#include "tests/print/printer_fixture.h"
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lx::print::test {
namespace {

const char* const kWords[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"};

// Numbered lines of words, each short enough for one printed line, about `size` bytes.
std::string Body(const char* tag, std::size_t size) {
    std::string body;
    for (int line = 1; body.size() < size; ++line) {
        char head[32];
        std::snprintf(head, sizeof head, "%s line %04d:", tag, line);
        std::string text = head;
        for (int w = 0; w < 6; ++w) text += std::string(" ") + kWords[(line + w) % 7];
        body += text + "\r\n";
    }
    return body;
}

std::string ReadSource() {
    const char* root = std::getenv("LX_SOURCE_DIR");
    std::ifstream in(std::string(root && *root == '/' ? "Z:" : "") + (root ? root : ".") +
                         "/mailer/res/DGROUP.msg",
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Answers the message box of a message that cannot be read.
class BoxHook : public ui::UiHook {
public:
    int OnMessageBox(HWND, const char* text, const char*, UINT) override {
        boxes.push_back(text);
        return IDOK;
    }
    BOOL OnCommonDialog(ui::CommonDialog kind, void* data) override {
        return kind == ui::CommonDialog::Print ? AnswerPrintDialog(static_cast<PRINTDLGA*>(data))
                                               : FALSE;
    }
    std::vector<std::string> boxes;
};

class MessagePrinting : public lxtest::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_FALSE(DefaultPrinter().empty()) << "no default printer: run tools/setup/cups.sh";
        ASSERT_NE(std::getenv("LX_PRINT_OUT"), nullptr);
        static lxtest::TestCatalogue catalogue(ReadSource());
        ASSERT_TRUE(catalogue.Ok());
        context_.catalog = &catalogue.Get();
        context_.conn = s_conn;
        for (int i = 0; i < kMessageFontCount; ++i) {
            const LOGFONTA lf = ToLogFont(DefaultMessageFont(static_cast<MessageFont>(i)));
            fonts_[i].Reset(::CreateFontIndirectA(&lf));
        }
        context_.font = [this](MessageFont which) { return fonts_[static_cast<int>(which)].Get(); };
        SetDialogAnswer(&answer_);
        ui::SetHook(&hook_);
        PrintVant::SetPrintDialog(ui::PrintDialog);
        const auto folders = AddFolders(1);
        folder_ = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = 'F01'");
        ASSERT_GT(folder_, 0);
    }
    void TearDown() override {
        PrintVant::SetPrintDialog(nullptr);
        ui::SetHook(nullptr);
        SetDialogAnswer(nullptr);
    }

    long Add(char type, const std::string& from, const std::string& subject,
             const std::string& body) {
        Exec("INSERT INTO Messages (FolderNum, MesgId, FromAdd, MesgDate, AppDate, Subject, "
             "MailData, MesgType, MesgSize) VALUES (" +
             std::to_string(folder_) + ", " + SqlQuote("<" + subject + "@example.org>") + ", " +
             SqlQuote(from) + ", " + SqlQuote("Tue, 8 Dec 2026 09:30:00 +0000") + ", " +
             TimestampLiteral(StoreTime{2026, 12, 8, 9, 31, 0}) + ", " +
             SqlQuote(subject + "&&N& ") + ", " + SqlQuote(body) + ", " +
             SqlQuote(std::string(1, type)) + ", " + std::to_string(body.size()) + ")");
        return QueryLong("SELECT MAX(MesgNum) FROM Messages");
    }

    MessagePrintContext context_;
    lx::Font fonts_[kMessageFontCount];
    DialogAnswer answer_;
    BoxHook hook_;
    OwnerWindow owner_;
    long folder_ = 0;
};

TEST_F(MessagePrinting, ThreeMessagesInOneJob) {
    const std::string first = Body("m1", 9000), second = Body("m2", 3000),
                      third = Body("m3", 40000);
    const long a = Add('I', "ann@example.org", "first", first);
    const long b = Add('O', "me@example.org", "second", second);
    Exec("INSERT INTO ToList (MesgNum, ToName) VALUES (" + std::to_string(b) +
         ", 'bob@example.net')");
    Exec("INSERT INTO ToList (MesgNum, ToName) VALUES (" + std::to_string(b) +
         ", 'carol@example.net')");
    const long c = Add('I', "dan@example.org", "third", third);
    ClearPdfs();
    WriteOutFile("m1.txt", first);
    WriteOutFile("m2.txt", second);
    WriteOutFile("m3.txt", third);

    EXPECT_EQ(PrintMessages(owner_.Handle(), context_, {a, b, c}), PrintOutcome::Printed);
    EXPECT_EQ(answer_.calls, 1) << "one print dialog for the whole job";
    EXPECT_TRUE(hook_.boxes.empty());
    EXPECT_TRUE(::IsWindowEnabled(owner_.Handle()));
    EXPECT_EQ(PrintVant::RefCounter, 0);
    int jobs = 0;
    ASSERT_TRUE(TakePdf("messages.pdf", &jobs)) << "no PDF from the printer";
    EXPECT_EQ(jobs, 1);
}

TEST_F(MessagePrinting, UnreadableRowEndsTheJobCleanly) {
    const long a = Add('I', "ann@example.org", "readable", Body("r1", 500));
    EXPECT_EQ(PrintMessages(owner_.Handle(), context_, {a, a + 1000, a}),
              PrintOutcome::StoppedAtRow);
    ASSERT_EQ(hook_.boxes.size(), 1u);
    EXPECT_EQ(hook_.boxes[0], context_.catalog->Lookup("MAILMESS_CPP_20"));
    EXPECT_TRUE(::IsWindowEnabled(owner_.Handle()));
    EXPECT_EQ(PrintVant::StatusWindow(), nullptr);
    EXPECT_EQ(PrintVant::RefCounter, 0);
}

TEST_F(MessagePrinting, CancelledDialogPrintsNothing) {
    answer_.cancel = true;
    const long a = Add('I', "ann@example.org", "never", Body("n1", 500));
    EXPECT_EQ(PrintMessages(owner_.Handle(), context_, {a}), PrintOutcome::NotStarted);
    EXPECT_EQ(answer_.calls, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner_.Handle()));
    EXPECT_EQ(PrintVant::RefCounter, 0);
}

TEST_F(MessagePrinting, CommandNamesTheMessages) {
    CommandPlugs plugs;
    PlugMessagePrinting(plugs, context_);
    PrintVant::SetPrintDialog(ui::PrintDialog); // the hook routes it to the test's answer
    answer_.cancel = true;
    const long a = Add('I', "ann@example.org", "plugged", Body("p1", 200));
    const struct {
        std::string argument;
        int dialogs;
    } cases[] = {{"", 0},
                 {"none", 0},
                 {std::to_string(a), 1},
                 {std::to_string(a) + "," + std::to_string(a), 2}};
    for (const auto& c : cases) {
        int result = 0;
        ASSERT_TRUE(plugs.Run(ID_MESSAGE_PRINT, owner_.Handle(), c.argument.c_str(), &result));
        EXPECT_EQ(result, kPlugCancel) << c.argument;
        EXPECT_EQ(answer_.calls, c.dialogs) << c.argument;
    }
}

} // namespace
} // namespace lx::print::test
