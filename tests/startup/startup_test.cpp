// Start-up and exit of the real Lorvex.exe, each run in an installation folder of its own,
// with every message box answered through the UI transcript.
#include "tests/startup/lorvexrun.h"
#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_file.h"
#include "common/win/handles.h"
#include "mailer/res/resource.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

using lxtest::LorvexProcess;

constexpr DWORD kFrameWait = 60000;
constexpr DWORD kExitWait = 30000;

std::string Box(const std::string& caption, const std::string& text, UINT flags) {
    return caption + "|" + text + "|" + std::to_string(flags);
}

int32_t Int32At(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

std::vector<unsigned char> WindowFile(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    std::vector<unsigned char> bytes(80, 0);
    const int32_t values[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k)
            bytes[i * 4 + k] =
                static_cast<unsigned char>(static_cast<uint32_t>(values[i]) >> (8 * k));
    for (size_t i = 16; i < 80; ++i) bytes[i] = static_cast<unsigned char>(i); // column cells
    return bytes;
}

// A string value of the registry; empty when the key or value is missing.
std::string RegistryValue(HKEY root, const char* subkey, const char* name) {
    lx::RegKey key;
    if (!key.Open(root, subkey, KEY_READ)) return std::string();
    char value[600] = "";
    DWORD size = sizeof value - 1, type = 0;
    ::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    return value;
}

std::string MailtoCommand() {
    return RegistryValue(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", nullptr);
}

// Waits until the start-up worker has written all four font files (bounded).
bool WaitFontFiles(const std::string& folder) {
    const char* files[] = {"HeadFont.Ink", "TagsFont.Ink", "TextFont.Ink", "FootFont.Ink"};
    for (int tries = 0; tries < 200; ++tries) {
        bool all = true;
        for (const char* f : files)
            all = all && lxtest::ReadBytes(lxtest::JoinPath(folder, f)).size() == 60;
        if (all) return true;
        ::Sleep(100);
    }
    return false;
}

// True once the program has run its whole start-up: the worker, started last, has written the
// font files, and the interface thread answers messages (bounded waits).
bool WaitStartupDone(HWND frame, const std::string& folder) {
    DWORD_PTR answer = 0;
    return WaitFontFiles(folder) &&
           ::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer) != 0;
}

// Runs Lorvex in the folder until its start-up worker has written the font files, then closes it.
void RunUntilFontsWritten(const std::string& folder) {
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, ""));
    ASSERT_NE(nullptr, run.WaitFrame(kFrameWait));
    ASSERT_TRUE(WaitFontFiles(folder));
    EXPECT_TRUE(run.Close());
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lxtest::CatalogueBuilt()) GTEST_SKIP() << "DGROUP.VSF is not built";
    }
};

// Runs Lorvex in the folder, which must end by itself after its single message box: that box.
void RunToOneBox(const std::string& folder, const std::string& arguments,
                 const std::vector<std::string>& environment, std::string* box) {
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, arguments, environment));
    ASSERT_TRUE(run.WaitExit(kExitWait)) << "Lorvex kept running: " << arguments;
    const auto lines = run.Transcript();
    ASSERT_EQ(1u, lines.size()) << arguments;
    *box = lines[0];
}

// The transcript's line of a run that opened the mailbox set-up wizard.
std::string MailboxWizardOpened() { return "dialog|" + std::to_string(IDD_MBOXWIZ) + "|0"; }

const char kNoCatalogue[] = "Unable to load Lorvex String File : DGROUP.VSF";

TEST_F(Startup, MissingCatalogueShowsTheFixedTextAndEnds) {
    const std::string folder = lxtest::MakeInstallation("nocatalogue", false);
    lxtest::SetInstallPath(folder);
    std::string box;
    ASSERT_NO_FATAL_FAILURE(RunToOneBox(folder, "", {}, &box));
    EXPECT_EQ(Box("Lorvex", kNoCatalogue, MB_OK), box);
}

TEST_F(Startup, CatalogueWithAnotherMagicIsRefused) {
    const std::string folder = lxtest::MakeInstallation("badcatalogue", true);
    const std::string vsf = lxtest::JoinPath(folder, "DGROUP.VSF");
    auto bytes = lxtest::ReadBytes(vsf);
    ASSERT_GT(bytes.size(), 100u);
    std::memcpy(bytes.data(), "Vellumstack v2.0", 16); // the main program wants the exact text
    ASSERT_TRUE(lxtest::WriteBytes(vsf, bytes));
    lxtest::SetInstallPath(folder);
    std::string box;
    ASSERT_NO_FATAL_FAILURE(RunToOneBox(folder, "", {}, &box));
    EXPECT_EQ(Box("Lorvex", kNoCatalogue, MB_OK), box);
}

TEST_F(Startup, UnreachableDataSourceShowsNewmail3AndEnds) {
    const std::string folder = lxtest::MakeInstallation("nodsn", true);
    lxtest::SetInstallPath(folder);
    std::string box;
    ASSERT_NO_FATAL_FAILURE(RunToOneBox(folder, "", {"LORVEX_DSN=LorvexNoSuchSource"}, &box));
    const std::string text = lxtest::CatalogueText("NEWMAIL_CPP_3");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(Box("Lorvex", text, MB_OK), box);
    // Nothing of a running program was left behind.
    EXPECT_FALSE(lxtest::FileExists(lxtest::JoinPath(folder, "MAILBOXX.STP")));
}

TEST_F(Startup, SecondInstanceShowsNewmail1AndEndsEvenForAMailtoLink) {
    const std::string folder = lxtest::MakeInstallation("single", true);
    lxtest::SetInstallPath(folder);
    LorvexProcess first;
    ASSERT_TRUE(first.Start(folder, ""));
    HWND frame = first.WaitFrame(kFrameWait);
    ASSERT_NE(nullptr, frame) << "the first Lorvex did not open its window";
    ASSERT_TRUE(WaitStartupDone(frame, folder));
    // With no mailbox yet the set-up wizard opened over the window (the scripted run cancels it).
    EXPECT_EQ(std::vector<std::string>{MailboxWizardOpened()}, first.Transcript());

    const std::string text = lxtest::CatalogueText("NEWMAIL_CPP_1");
    ASSERT_FALSE(text.empty());
    for (const char* args : {"", "mailto:someone@example.org"}) {
        std::string box;
        ASSERT_NO_FATAL_FAILURE(RunToOneBox(folder, args, {}, &box));
        EXPECT_EQ(Box("Lorvex", text, MB_OK), box);
    }
    EXPECT_TRUE(first.Close());
    DWORD code = 1;
    EXPECT_TRUE(first.WaitExit(0, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(Startup, DeletedFontFileIsWrittenBackWithItsDefault) {
    const std::string folder = lxtest::MakeInstallation("fonts", true);
    lxtest::SetInstallPath(folder);
    ASSERT_NO_FATAL_FAILURE(RunUntilFontsWritten(folder));
    EXPECT_TRUE(lxtest::FileExists(lxtest::JoinPath(folder, "Data")));
    // Delete one file and change another: the changed one is kept as it is.
    const std::string text = lxtest::JoinPath(folder, "TextFont.Ink");
    const std::string head = lxtest::JoinPath(folder, "HeadFont.Ink");
    ASSERT_TRUE(::DeleteFileA(text.c_str()));
    auto custom = lxtest::ReadBytes(head);
    ASSERT_EQ(60u, custom.size());
    custom[0] = 0xEC; // height -20
    std::memset(&custom[28], 0, 32);
    std::memcpy(&custom[28], "Arial", 5);
    ASSERT_TRUE(lxtest::WriteBytes(head, custom));
    ASSERT_NO_FATAL_FAILURE(RunUntilFontsWritten(folder));
    const auto written = lxtest::ReadBytes(text);
    ASSERT_EQ(60u, written.size());
    EXPECT_EQ(-14, Int32At(written, 0)); // 10 points at 100 pixels per inch
    EXPECT_EQ(400, Int32At(written, 16));
    EXPECT_EQ(0, written[20]); // not italic
    EXPECT_EQ(0, written[21]); // not underlined
    EXPECT_EQ(3, written[24]); // stroke output precision
    EXPECT_EQ(1, written[25]); // character clip precision
    EXPECT_STREQ("Times New Roman", reinterpret_cast<const char*>(&written[28]));
    EXPECT_EQ(custom, lxtest::ReadBytes(head));
    const auto foot = lxtest::ReadBytes(lxtest::JoinPath(folder, "FootFont.Ink"));
    ASSERT_EQ(60u, foot.size());
    EXPECT_EQ(-11, Int32At(foot, 0)); // 8 points: 11.11 rounds to 11
    EXPECT_EQ(700, Int32At(foot, 16));
}

TEST_F(Startup, MailtoRegistrationFollowsTheInstallation) {
    for (const char* name : {"mailto-a", "mailto-b"}) {
        const std::string folder = lxtest::MakeInstallation(name, true);
        lxtest::SetInstallPath(folder);
        LorvexProcess run;
        ASSERT_TRUE(run.Start(folder, ""));
        ASSERT_NE(nullptr, run.WaitFrame(kFrameWait));
        ASSERT_TRUE(WaitFontFiles(folder)); // the registration is the worker's last step
        const std::string expected = lxtest::JoinPath(lxtest::ShortPath(folder), "Lorvex.Exe %1");
        std::string command;
        for (int tries = 0; tries < 50; ++tries) {
            command = MailtoCommand();
            if (command == expected) break;
            ::Sleep(100);
        }
        EXPECT_TRUE(run.Close());
        EXPECT_EQ(expected, command);
    }
}

TEST_F(Startup, MaximisedWindowFileMaximisesAndIsWrittenBack) {
    const std::string folder = lxtest::MakeInstallation("wndmax", true);
    const std::string wnd = lxtest::JoinPath(folder, "Lorvex.WND");
    ASSERT_TRUE(lxtest::WriteBytes(wnd, WindowFile(-1, 0, 0, 0)));
    lxtest::SetInstallPath(folder);
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, ""));
    HWND frame = run.WaitFrame(kFrameWait);
    ASSERT_NE(nullptr, frame);
    bool zoomed = false;
    for (int tries = 0; tries < 50 && !zoomed; ++tries) {
        zoomed = ::IsZoomed(frame) != FALSE;
        if (!zoomed) ::Sleep(100);
    }
    EXPECT_TRUE(zoomed);
    EXPECT_TRUE(run.Close());
    const auto bytes = lxtest::ReadBytes(wnd);
    ASSERT_EQ(80u, bytes.size());
    EXPECT_EQ(-1, Int32At(bytes, 0));
    // The column cells read at start are kept.
    EXPECT_EQ(WindowFile(-1, 0, 0, 0)[40], bytes[40]);
}

TEST_F(Startup, StoredRectanglePlacesTheWindowAndMinimisedIsStoredAsTheFixedRectangle) {
    const std::string folder = lxtest::MakeInstallation("wndrect", true);
    const std::string wnd = lxtest::JoinPath(folder, "Lorvex.WND");
    ASSERT_TRUE(lxtest::WriteBytes(wnd, WindowFile(60, 70, 560, 470)));
    lxtest::SetInstallPath(folder);
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, ""));
    HWND frame = run.WaitFrame(kFrameWait);
    ASSERT_NE(nullptr, frame);
    RECT r{};
    for (int tries = 0; tries < 50; ++tries) {
        ::GetWindowRect(frame, &r);
        if (r.left == 60 && r.bottom == 470) break;
        ::Sleep(100);
    }
    EXPECT_EQ(60, r.left);
    EXPECT_EQ(70, r.top);
    EXPECT_EQ(560, r.right);
    EXPECT_EQ(470, r.bottom);
    ::ShowWindow(frame, SW_MINIMIZE);
    for (int tries = 0; tries < 50 && !::IsIconic(frame); ++tries) ::Sleep(100);
    ASSERT_TRUE(::IsIconic(frame));
    EXPECT_TRUE(run.Close());
    const auto bytes = lxtest::ReadBytes(wnd);
    ASSERT_EQ(80u, bytes.size());
    EXPECT_EQ(10, Int32At(bytes, 0));
    EXPECT_EQ(10, Int32At(bytes, 4));
    EXPECT_EQ(300, Int32At(bytes, 8));
    EXPECT_EQ(120, Int32At(bytes, 12));
}

std::string RegistryString(const char* name) {
    return RegistryValue(HKEY_CURRENT_USER, "Software\\Quorbit\\Lorvex", name);
}

void ClearRegistryValues(std::initializer_list<const char*> names) {
    lx::RegKey key;
    if (!key.Open(HKEY_CURRENT_USER, "Software\\Quorbit\\Lorvex", KEY_ALL_ACCESS)) return;
    for (const char* name : names) ::RegDeleteValueA(key.Get(), name);
}

TEST_F(Startup, CurrentMailboxIsMirroredIntoTheRegistryAndTheListWrittenBack) {
    const std::string folder = lxtest::MakeInstallation("mailboxes", true);
    lx::MailboxList list;
    list.count = 2;
    lx::CopyText(list.records[0].name, "Home");
    lx::CopyText(list.records[0].pop3Server, "pop.home.example");
    lx::CopyText(list.records[1].name, "Work");
    lx::CopyText(list.records[1].pop3Server, "pop.work.example");
    lx::CopyText(list.records[1].smtpServer, "smtp.work.example");
    lx::CopyText(list.records[1].user, "worker");
    list.records[1].current = 1;
    ASSERT_TRUE(lx::SaveMailboxes(folder, list));
    const std::string file = lxtest::JoinPath(folder, "MAILBOXX.STP");
    // Trailing bytes show whether start-up wrote the list back.
    auto bytes = lxtest::ReadBytes(file);
    ASSERT_EQ(2u + 2 * 384, bytes.size());
    bytes.resize(bytes.size() + 10, 0xAA);
    ASSERT_TRUE(lxtest::WriteBytes(file, bytes));
    lxtest::SetInstallPath(folder);
    ClearRegistryValues({"Server", "SMTPServer", "User"});
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, ""));
    ASSERT_NE(nullptr, run.WaitFrame(kFrameWait));
    EXPECT_TRUE(run.Close());
    const auto lines = run.Transcript();
    EXPECT_EQ(lines.end(), std::find(lines.begin(), lines.end(), MailboxWizardOpened()))
        << "the wizard runs only when there is no mailbox";
    EXPECT_EQ("pop.work.example", RegistryString("Server"));
    EXPECT_EQ("smtp.work.example", RegistryString("SMTPServer"));
    EXPECT_EQ("worker", RegistryString("User"));
    EXPECT_EQ(2u + 2 * 384, lxtest::ReadBytes(file).size());
}

TEST_F(Startup, ShortWindowFileIsTreatedAsMissing) {
    const std::string folder = lxtest::MakeInstallation("wndshort", true);
    const std::string wnd = lxtest::JoinPath(folder, "Lorvex.WND");
    auto bytes = WindowFile(-1, 0, 0, 0);
    bytes.resize(12);
    ASSERT_TRUE(lxtest::WriteBytes(wnd, bytes));
    lxtest::SetInstallPath(folder);
    LorvexProcess run;
    ASSERT_TRUE(run.Start(folder, ""));
    HWND frame = run.WaitFrame(kFrameWait);
    ASSERT_NE(nullptr, frame);
    // The placement step lies before the worker's start: once start-up is done it has run.
    ASSERT_TRUE(WaitStartupDone(frame, folder));
    EXPECT_FALSE(::IsZoomed(frame));
    EXPECT_TRUE(run.Close());
}

} // namespace
