// SSCED32.dll loaded by name as the program loads it, checking an edit control through its
// dialog, which a timer drives by control id.
#include <windows.h>

#include "spellcheck/ssced.h"
#include "spellcheck/sscedres.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kAmerican[] = "ssceam.tlx,ssceam2.clx,correct.tlx";

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string UserDictionaryPath() { return ProgramFolder() + "\\SSCEUSER.DIC"; }

std::string TextOf(HWND wnd) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(wnd)) + 1, '\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextA(wnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

struct Step {
    const char* word;     // the word the dialog must show (and select in the edit control)
    int button;           // then pressed
    const char* changeTo; // typed into "Change to" first, unless null
};

// Plays a script on the spelling dialog from a thread timer: each tick finds the dialog,
// checks what it shows and presses one button. Posted presses are handled before the next
// timer message, so each tick sees the dialog's answer to the press before it.
class Driver {
public:
    Driver(HWND edit, std::vector<Step> script) : edit_(edit), script_(std::move(script)) {
        self_ = this;
        timer_ = ::SetTimer(nullptr, 0, 15, &Tick);
    }
    ~Driver() {
        ::KillTimer(nullptr, timer_);
        self_ = nullptr;
    }

    std::vector<std::string> shown;    // words shown, in order
    std::vector<std::string> selected; // the edit control's selection at each
    std::vector<std::string> changeTo; // the "Change to" text offered at each
    std::vector<std::string> status;   // the dialog's status line at each
    DWORD firstShownAfter = 0;         // milliseconds from the start to the first word
    bool overran = false;              // the dialog asked more than the script had
    std::string failure;

    static HWND FindDialog() {
        HWND found = nullptr;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM out) -> BOOL {
                if (!::GetDlgItem(w, IDC_SSCED_SUGGESTIONS) || !::IsWindowVisible(w)) return TRUE;
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (self_) self_->OnTick();
    }

    void OnTick() {
        HWND dialog = FindDialog();
        if (!dialog) {
            if (++idleTicks_ > 1000) failure = "no spelling dialog appeared"; // about 15 s
            return;
        }
        idleTicks_ = 0;
        if (shown.empty()) firstShownAfter = ::GetTickCount() - start_;
        shown.push_back(TextOf(::GetDlgItem(dialog, IDC_SSCED_WORD)));
        DWORD from = 0, to = 0;
        ::SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                       reinterpret_cast<LPARAM>(&to));
        selected.push_back(TextOf(edit_).substr(from, to - from));
        changeTo.push_back(TextOf(::GetDlgItem(dialog, IDC_SSCED_CHANGETO)));
        status.push_back(TextOf(::GetDlgItem(dialog, IDC_SSCED_STATUS)));
        if (const char* hold = std::getenv("LX_SPELL_HOLD_MS"); hold && shown.size() == 1)
            HoldForScreenshot(static_cast<DWORD>(std::atoi(hold)));
        if (next_ >= script_.size()) {
            overran = true;
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        const Step& step = script_[next_++];
        if (step.changeTo) ::SetDlgItemTextA(dialog, IDC_SSCED_CHANGETO, step.changeTo);
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, step.button)));
    }

    // Only for taking a picture by hand (LX_SPELL_HOLD_MS): the dialog stays up meanwhile.
    static void HoldForScreenshot(DWORD millis) {
        const DWORD until = ::GetTickCount() + millis;
        MSG msg;
        while (static_cast<int>(until - ::GetTickCount()) > 0) {
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER && msg.hwnd == nullptr) continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }

    static Driver* self_;
    HWND edit_;
    std::vector<Step> script_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
    int idleTicks_ = 0;
    DWORD start_ = ::GetTickCount();
};
Driver* Driver::self_ = nullptr;

class SpellDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ::DeleteFileA(UserDictionaryPath().c_str());
        owner_ = ::CreateWindowExA(0, "STATIC", "Spelling test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   40, 40, 640, 360, nullptr, nullptr, nullptr, nullptr);
        edit_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                  WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | WS_VSCROLL,
                                  8, 8, 600, 300, owner_, nullptr, nullptr, nullptr);
        ASSERT_TRUE(edit_);
        ::SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
    }
    void TearDown() override {
        ::DestroyWindow(owner_);
        ::RemoveDirectoryA(UserDictionaryPath().c_str());
        ::DeleteFileA(UserDictionaryPath().c_str());
    }

    // Loads the library afresh with the American lexicons.
    static bool Ready(lx::SpellChecker& spell) {
        return spell.Load() && spell.SetMainLexFiles(kAmerican) == 0;
    }

    HWND owner_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(SpellDialog, StopsAtExactlyTheMisspelledWordsAndMakesTheChanges) {
    lx::SpellChecker spell;
    ASSERT_TRUE(Ready(spell));
    ::SetWindowTextA(edit_,
                     "Teh cat sat. It recieved a mesage from bob@example.com, and teh mesage "
                     "said wrld, wrld.\r\nSee http://exampel.org/x on 3rd May. Bye, teh end.");
    Driver driver(edit_, {
                             {"Teh", IDC_SSCED_REPLACE, nullptr},
                             {"recieved", IDC_SSCED_REPLACE, nullptr},
                             {"mesage", IDC_SSCED_IGNOREALL, nullptr},
                             {"teh", IDC_SSCED_REPLACEALL, nullptr},
                             {"wrld", IDC_SSCED_IGNORE, nullptr},
                             {"wrld", IDC_SSCED_REPLACE, "world"},
                         });
    EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_EQ("", driver.failure);
    EXPECT_FALSE(driver.overran);
    EXPECT_EQ((std::vector<std::string>{"Teh", "recieved", "mesage", "teh", "wrld", "wrld"}),
              driver.shown);
    EXPECT_EQ(driver.shown, driver.selected);
    ASSERT_EQ(6u, driver.changeTo.size());
    EXPECT_EQ("The", driver.changeTo[0]);
    EXPECT_EQ("received", driver.changeTo[1]);
    EXPECT_EQ("the", driver.changeTo[3]);
    EXPECT_EQ("The cat sat. It received a mesage from bob@example.com, and the mesage said wrld, "
              "world.\r\nSee http://exampel.org/x on 3rd May. Bye, the end.",
              TextOf(edit_));
}

TEST_F(SpellDialog, IgnoreAllLastsForTheRunOfTheLibrary) {
    lx::SpellChecker spell;
    ASSERT_TRUE(Ready(spell));
    ::SetWindowTextA(edit_, "A frobnitz here.");
    {
        Driver driver(edit_, {{"frobnitz", IDC_SSCED_IGNOREALL, nullptr}});
        EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
        EXPECT_EQ(1u, driver.shown.size());
    }
    ::SetWindowTextA(edit_, "Another frobnitz.");
    Driver none(edit_, {});
    EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_TRUE(none.shown.empty());
}

TEST_F(SpellDialog, AddedWordsPersistAcrossALoad) {
    ::SetWindowTextA(edit_, "Greetings from Zorblatt.");
    {
        lx::SpellChecker spell;
        ASSERT_TRUE(Ready(spell));
        Driver driver(edit_, {{"Zorblatt", IDC_SSCED_ADD, nullptr}});
        EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
        EXPECT_EQ(1u, driver.shown.size());
    }
    std::ifstream file(UserDictionaryPath(), std::ios::binary);
    std::stringstream words;
    words << file.rdbuf();
    EXPECT_EQ("Zorblatt\r\n", words.str());

    lx::SpellChecker again; // the library loaded afresh reads the user dictionary
    ASSERT_TRUE(Ready(again));
    Driver none(edit_, {});
    EXPECT_EQ(0, again.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_TRUE(none.shown.empty());
    EXPECT_EQ("Greetings from Zorblatt.", TextOf(edit_));
}

TEST_F(SpellDialog, AWordThatCannotBeSavedIsSaidSoAndKeptForTheRun) {
    // A folder where the user dictionary should be: no file can be written there (not even by
    // an administrator, for whom a read-only file would not do).
    ASSERT_TRUE(::CreateDirectoryA(UserDictionaryPath().c_str(), nullptr));
    lx::SpellChecker spell;
    ASSERT_TRUE(Ready(spell));
    ::SetWindowTextA(edit_, "Zorblatt and quuxly and Zorblatt.");
    Driver driver(edit_,
                  {{"Zorblatt", IDC_SSCED_ADD, nullptr}, {"quuxly", IDC_SSCED_IGNORE, nullptr}});
    EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_EQ((std::vector<std::string>{"Zorblatt", "quuxly"}), driver.shown);
    ASSERT_EQ(2u, driver.status.size());
    EXPECT_EQ("", driver.status[0]);
    EXPECT_NE(std::string::npos, driver.status[1].find("could not be saved")) << driver.status[1];
    EXPECT_NE(std::string::npos, driver.status[1].find("SSCEUSER.DIC")) << driver.status[1];
}

TEST_F(SpellDialog, CancelKeepsTheChangesMadeAndSaysSo) {
    lx::SpellChecker spell;
    ASSERT_TRUE(Ready(spell));
    ::SetWindowTextA(edit_, "wrld and mesage");
    Driver driver(edit_, {{"wrld", IDC_SSCED_REPLACE, "world"}, {"mesage", IDCANCEL, nullptr}});
    const int result = spell.CheckCtrlDlg(owner_, edit_, 0);
    EXPECT_NE(0, result);
    EXPECT_NE(SSCED_ERR_NO_LEXICON, result);
    EXPECT_EQ(2u, driver.shown.size());
    EXPECT_EQ("world and mesage", TextOf(edit_));
}

TEST_F(SpellDialog, WithoutALexiconNothingIsChecked) {
    lx::SpellChecker spell;
    ASSERT_TRUE(spell.Load());
    ::SetWindowTextA(edit_, "wrld");
    Driver none(edit_, {});
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.SetMainLexFiles("nosuch.tlx,correct.tlx"));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.SetMainLexFiles("correct.tlx")); // no word list in it
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_TRUE(none.shown.empty());
    // A failed switch keeps the lexicons loaded before.
    ASSERT_EQ(0, spell.SetMainLexFiles("sscebr.tlx"));
    EXPECT_EQ(SSCED_ERR_NO_LEXICON, spell.SetMainLexFiles("nosuch.tlx"));
    ::SetWindowTextA(edit_, "The colour of the sea.");
    EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
    EXPECT_TRUE(none.shown.empty());
}

TEST_F(SpellDialog, ALongBodyIsWalkedPromptly) {
    lx::SpellChecker spell;
    ASSERT_TRUE(Ready(spell));
    std::string body;
    while (body.size() < 32000) body += "The quick brown fox jumps over the lazy dog again. ";
    body += "Finally a mistkae.";
    ::SetWindowTextA(edit_, body.c_str());
    Driver driver(edit_, {{"mistkae", IDC_SSCED_REPLACE, nullptr}});
    EXPECT_EQ(0, spell.CheckCtrlDlg(owner_, edit_, 0));
    ASSERT_EQ(1u, driver.shown.size());
    EXPECT_EQ("mistake", driver.changeTo[0]);
    EXPECT_LT(driver.firstShownAfter, 1500u) << "the dialog should appear at once";
    const std::string text = TextOf(edit_);
    EXPECT_EQ("Finally a mistake.", text.substr(text.size() - 18));
}

} // namespace
