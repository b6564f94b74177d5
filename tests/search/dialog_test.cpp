// "Message Search" under Wine: the dialog in-process, plugged the way the program plugs it,
// driven by control id against the runner's store.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "mailer/res/resource.h"
#include "mailer/ui/findmesg.h"
#include "mailer/ui/logic/findmesg_query.h"
#include "mailer/ui/logic/cmdplug.h"
#include "tests/search/fields.h"
#include "tests/search/search_store.h"
#include "tests/startup/uitest.h"

namespace lxtest {
namespace {

lx::MessageCatalog& Catalogue() { return BuiltCatalogue(); }

std::string Text(const char* key) {
    const char* text = Catalogue().Lookup(key);
    return text ? text : "";
}

struct OwnerDeleter {
    void operator()(HWND wnd) const { ::DestroyWindow(wnd); }
};
using OwnerWindow = std::unique_ptr<std::remove_pointer_t<HWND>, OwnerDeleter>;

// One action on the open dialog, then a bounded wait until `done` holds.
struct Step {
    std::function<void(HWND dialog)> act;
    std::function<bool(HWND dialog)> done;
};

class SearchDialog : public SearchStoreTest {
protected:
    void SetUp() override {
        SearchStoreTest::SetUp();
        ASSERT_TRUE(Catalogue().Loaded()) << "DGROUP.VSF of the build is needed";
        owner.reset(::CreateWindowExA(0, "STATIC", "search owner", WS_OVERLAPPED, 0, 0, 100, 100,
                                      nullptr, nullptr, nullptr, nullptr));
        ASSERT_NE(owner.get(), nullptr);
        hook = std::make_unique<ScriptedHook>();
        lx::PlugMessageSearch(plugs,
                              lx::MessageSearchData{&Catalogue(), &Conn(), "C:\\lx", nullptr});
        plugs.Plug(ID_MESSAGE_READ, [this](void* from, const char* argument) {
            opened.push_back({from, argument ? argument : ""});
            return lx::kPlugOk;
        });
    }
    void TearDown() override { hook.reset(); }

    // Runs ID_MESSAGE_SEARCH; the steps run one after another once the dialog is open, then it
    // is closed.
    void Run(std::vector<Step> steps) {
        size_t next = 0;
        bool acted = false;
        DWORD deadline = 0;
        HWND dialog = nullptr;
        std::function<void()> advance = [&] {
            if (next >= steps.size()) {
                Press(dialog, IDCANCEL);
                return;
            }
            Step& step = steps[next];
            if (!acted) {
                if (step.act) step.act(dialog);
                acted = true;
                deadline = ::GetTickCount() + 10000;
                later.Post(advance); // the action's messages are handled first
                return;
            }
            if (!step.done || step.done(dialog)) {
                ++next;
                acted = false;
                later.Post(advance);
            } else if (static_cast<LONG>(::GetTickCount() - deadline) >= 0) {
                ADD_FAILURE() << "step " << next << " did not reach its condition";
                Press(dialog, IDCANCEL);
            } else {
                later.PostAfter(10, advance);
            }
        };
        hook->onInit = [&](HWND dlg, int resourceId) {
            if (resourceId != IDD_FINDMESG) return;
            dialog = dlg;
            later.Post(advance);
        };
        int result = 0;
        ASSERT_TRUE(plugs.Run(ID_MESSAGE_SEARCH, owner.get(), "", &result));
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(next, steps.size()) << "the dialog closed before its last step";
    }

    static void Fill(HWND dialog, const lx::SearchFields& f) {
        ::SetDlgItemTextA(dialog, IDC_FINDMESG_SENDER, f.sender.c_str());
        ::CheckDlgButton(dialog, IDC_FINDMESG_SENDER_EXACT, f.senderExact ? BST_CHECKED : 0);
        ::SetDlgItemTextA(dialog, IDC_FINDMESG_SUBJECT, f.subject.c_str());
        ::CheckDlgButton(dialog, IDC_FINDMESG_SUBJECT_EXACT, f.subjectExact ? BST_CHECKED : 0);
        ::SetDlgItemTextA(dialog, IDC_FINDMESG_BEGIN, f.beginDate.c_str());
        ::SetDlgItemTextA(dialog, IDC_FINDMESG_END, f.endDate.c_str());
    }
    static std::vector<std::string> Lines(HWND dialog) {
        HWND list = ::GetDlgItem(dialog, IDC_FINDMESG_RESULTS);
        std::vector<std::string> lines;
        const LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string text(static_cast<size_t>(::SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
            ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
            lines.push_back(text);
        }
        return lines;
    }
    // Fills the fields, empties the list and presses Find; done once the list is filled again
    // with the search's end result. The lines are kept in `shown`.
    Step Search(const lx::SearchFields& f) {
        return Step{[f](HWND dialog) {
                        Fill(dialog, f);
                        ::SendDlgItemMessageA(dialog, IDC_FINDMESG_RESULTS, LB_RESETCONTENT, 0, 0);
                        Press(dialog, IDC_FINDMESG_FIND);
                    },
                    [this](HWND dialog) {
                        shown = Lines(dialog);
                        return !shown.empty() && shown[0] != Text("FINDMESG_CPP_4") + "\t\t";
                    }};
    }
    Step Then(std::function<void()> check) {
        return Step{[check](HWND) { check(); }, nullptr};
    }
    Step BoxAfter(std::function<void(HWND)> act) {
        return Step{[this, act](HWND dialog) {
                        boxesBefore = hook->boxes.size();
                        act(dialog);
                    },
                    [this](HWND) { return hook->boxes.size() > boxesBefore; }};
    }
    std::string Row(int day, const std::string& address, const std::string& subject) {
        char date[32];
        std::snprintf(date, sizeof date, "%02d-%s-2026", day, Text("MAILMESS_CPP_12").c_str());
        return std::string(date) + "\t" + address + "\t" + subject;
    }

    Later later;
    lx::CommandPlugs plugs;
    OwnerWindow owner;
    std::unique_ptr<ScriptedHook> hook;
    std::vector<std::pair<void*, std::string>> opened;
    std::vector<std::string> shown;
    size_t boxesBefore = 0;
};

using Shown = std::vector<std::string>;

TEST_F(SearchDialog, SenderExactAndPartialInAnyLetterCase) {
    Store(Msg("Ann@Example.org", "First", 1));
    Store(Msg("bob@EXAMPLE.org", "Second", 2));
    Store(Msg("joann@example.org.uk", "Third", 3));
    Store(Msg("carol@other.net", "Fourth", 4));
    Run({Search(Sender("eXaMpLe.org", false)), Then([&] {
             EXPECT_EQ(shown, (Shown{Row(3, "joann@example.org.uk", "Third"),
                                     Row(2, "bob@EXAMPLE.org", "Second"),
                                     Row(1, "Ann@Example.org", "First")}));
         }),
         Search(Sender("ANN@example.ORG", true)),
         Then([&] { EXPECT_EQ(shown, (Shown{Row(1, "Ann@Example.org", "First")})); })});
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(SearchDialog, SubjectWithApostropheFound) {
    Store(Msg("a@x.org", "Tom's plan", 5));
    Store(Msg("a@x.org", "Toms plan", 6));
    lx::SearchFields f;
    f.subject = "TOM'S";
    Run({Search(f), Then([&] { EXPECT_EQ(shown, (Shown{Row(5, "a@x.org", "Tom's plan")})); })});
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(SearchDialog, DateRangeWholeDays) {
    Store(Msg("a@x.org", "before", 7, 23));
    Store(Msg("a@x.org", "midnight", 8, 0));
    Store(Msg("a@x.org", "evening", 9, 23));
    Store(Msg("a@x.org", "after", 10, 0));
    lx::SearchFields f;
    f.beginDate = "2026-12-08";
    f.endDate = "2026-12-09";
    Run({Search(f), Then([&] {
             EXPECT_EQ(shown, (Shown{Row(9, "a@x.org", "evening"), Row(8, "a@x.org", "midnight")}));
         })});
}

TEST_F(SearchDialog, NoHitsSaySo) {
    Store(Msg("a@x.org", "b", 1));
    Run({Search(Sender("nobody", false)),
         Then([&] { EXPECT_EQ(shown, (Shown{Text("FINDMESG_CPP_5") + "\t\t"})); }),
         // The line is no hit: Open Message (handled before the next step) does nothing.
         Step{[](HWND dialog) {
                  ::SendDlgItemMessageA(dialog, IDC_FINDMESG_RESULTS, LB_SETCURSEL, 0, 0);
                  Press(dialog, IDC_FINDMESG_OPEN);
              },
              nullptr}});
    EXPECT_TRUE(hook->boxes.empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(SearchDialog, TwelveHitsInOneListInDateOrder) {
    for (int i = 0; i < 12; ++i) Store(Msg("many@x.org", "m", 1 + (i * 5) % 12), i % 2 ? sent : in);
    Shown expected;
    for (int day = 12; day >= 1; --day) expected.push_back(Row(day, "many@x.org", "m"));
    Run({Search(Sender("MANY", false)), Then([&] { EXPECT_EQ(shown, expected); })});
}

TEST_F(SearchDialog, OwnHitShowsFirstRecipientAndWholeSubject) {
    Stored own = Msg("me@x.org", "Tom && Jerry", 4);
    own.type = 'O';
    own.to = {"first@y.org", "second@y.org"};
    Store(own, sent);
    Store(Msg("cat@y.org", "Re: Tom && Jerry", 3));
    lx::SearchFields f;
    f.subject = "tom && jerry";
    Run({Search(f), Then([&] {
             EXPECT_EQ(shown, (Shown{Row(4, "first@y.org", "Tom && Jerry"),
                                     Row(3, "cat@y.org", "Re: Tom && Jerry")}));
         })});
}

TEST_F(SearchDialog, OpenMessageRunsTheOpenCommand) {
    const long older = Store(Msg("a@x.org", "older", 1));
    const long newer = Store(Msg("a@x.org", "newer", 2));
    auto open = [](HWND dialog) { Press(dialog, IDC_FINDMESG_OPEN); };
    Run({// Nothing listed yet: nothing happens.
         Step{open, nullptr}, Search(Sender("a@x", false)),
         // Hits but none selected: the user is told to choose one.
         BoxAfter(open), Then([&] {
             EXPECT_EQ(hook->boxes.back().text, Text("FINDMESG_CPP_7"));
             EXPECT_EQ(hook->boxes.back().caption, Text("FINDMESG_CPP_6"));
             EXPECT_TRUE(opened.empty());
         }),
         Step{[open](HWND dialog) {
                  ::SendDlgItemMessageA(dialog, IDC_FINDMESG_RESULTS, LB_SETCURSEL, 0, 0);
                  open(dialog);
              },
              [this](HWND) { return !opened.empty(); }},
         // A double click on a hit opens it as well.
         Step{[](HWND dialog) {
                  HWND list = ::GetDlgItem(dialog, IDC_FINDMESG_RESULTS);
                  ::SendMessageA(list, LB_SETCURSEL, 1, 0);
                  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FINDMESG_RESULTS, LBN_DBLCLK),
                                 reinterpret_cast<LPARAM>(list));
              },
              [this](HWND) { return opened.size() == 2; }}});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].first, owner.get());
    lx::OpenMessageRequest request;
    ASSERT_TRUE(lx::ParseOpenMessageArgument(opened[0].second.c_str(), &request));
    EXPECT_EQ(request.mesgNum, newer);
    EXPECT_EQ(request.flag, 0);
    EXPECT_TRUE(request.fromSearch);
    EXPECT_EQ(opened[1].second, lx::OpenMessageArgument(lx::OpenMessageRequest{older, 0, true}));
    EXPECT_EQ(hook->boxes.size(), 1u);
}

TEST_F(SearchDialog, DateThatIsNotADateIsNamedBeforeTheStoreIsAsked) {
    Store(Msg("a@x.org", "b", 1));
    lx::SearchFields f;
    f.beginDate = "2026-02-30";
    Run({Search(Sender("a@x", false)), BoxAfter([f](HWND dialog) {
             Fill(dialog, f);
             Press(dialog, IDC_FINDMESG_FIND);
         }),
         Then([&] {
             EXPECT_EQ(hook->boxes.back().text,
                       lx::FormatTextOr(Text("FINDMESG_CPP_8").c_str(), {"2026-02-30"}, ""));
             EXPECT_EQ(hook->boxes.back().caption, Text("FINDMESG_CPP_2"));
         })});
    EXPECT_TRUE(ReportedErrors().empty());
}

TEST_F(SearchDialog, EmptyFieldsAskForSomethingAndHelpOpensTheTopic) {
    Run({BoxAfter([](HWND dialog) { Press(dialog, IDC_FINDMESG_FIND); }),
         Step{[](HWND dialog) { Press(dialog, IDC_FINDMESG_HELP); },
              [this](HWND) { return !hook->helpCalls.empty(); }}});
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("FINDMESG_CPP_3"));
    ASSERT_EQ(hook->helpCalls.size(), 1u);
    EXPECT_EQ(hook->helpCalls[0].second, static_cast<ULONG_PTR>(HELP_CONTEXT_FINDMESG));
    EXPECT_NE(hook->helpCalls[0].first.find("LORVEX.HLP"), std::string::npos);
}

TEST_F(SearchDialog, WithoutAStoreSearchIsUnavailable) {
    lx::CommandPlugs bare;
    lx::MessageSearchData data{&Catalogue(), nullptr, "C:\\lx", &bare};
    Shown lines;
    hook->onInit = [&](HWND dialog, int) {
        later.Post([&, dialog] {
            Fill(dialog, Sender("a", false));
            Press(dialog, IDC_FINDMESG_FIND);
            later.Post([&, dialog] {
                lines = Lines(dialog);
                Press(dialog, IDCANCEL);
            });
        });
    };
    EXPECT_EQ(lx::ShowMessageSearchDialog(owner.get(), &data), IDCANCEL);
    EXPECT_EQ(lines, (Shown{Text("FINDMESG_CPP_1") + "\t\t"}));
    EXPECT_TRUE(hook->boxes.empty());
}

} // namespace
} // namespace lxtest
