// The URL window driven by control id: "Go" sends the frame the address, a drive path gets
// "file:///", the drop-down list gains each address once, and the window spans the frame.
#include "tests/browser/hostfixture.h"
#include "viewer/res/resource.h"
#include "viewer/win/urlwindow.h"

namespace lxtest {
namespace {

class UrlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        url = lx::CreateUrlWindow(frame.Handle());
        ASSERT_NE(nullptr, url);
        combo = ::GetDlgItem(url, IDC_URL_COMBO);
    }
    void Go(const char* text) {
        lx::ShowUrlWindow(url, true);
        ::SetWindowTextA(combo, text);
        ::SendMessageA(url, WM_COMMAND, MAKEWPARAM(IDC_URL_GO, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(url, IDC_URL_GO)));
    }
    int Listed() const { return static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

    TestFrame frame;
    HWND url = nullptr;
    HWND combo = nullptr;
};

TEST_F(UrlWindowTest, CreatedHiddenAsAChildOfTheFrame) {
    EXPECT_FALSE(Shown(url));
    EXPECT_EQ(frame.Handle(), ::GetParent(url));
    EXPECT_EQ(0, Listed());
}

TEST_F(UrlWindowTest, GoSendsTheAddressAndListsItOnce) {
    Go("C:\\Mail\\page.htm");
    Go("C:\\Mail\\page.htm");
    Go("http://www.example.org/");
    EXPECT_EQ((std::vector<std::string>{"file:///C:\\Mail\\page.htm", "file:///C:\\Mail\\page.htm",
                                        "http://www.example.org/"}),
              frame.urls);
    EXPECT_EQ(2, Listed());
    EXPECT_FALSE(Shown(url));
}

TEST_F(UrlWindowTest, EnterInTheComboBoxPressesGo) {
    lx::ShowUrlWindow(url, true);
    ::SetWindowTextA(combo, "http://www.example.org/");
    MSG enter{};
    enter.hwnd = ::GetWindow(combo, GW_CHILD);
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    ASSERT_NE(nullptr, enter.hwnd) << "the combo box has no edit field";
    EXPECT_TRUE(::IsDialogMessageA(url, &enter));
    EXPECT_EQ(std::vector<std::string>{"http://www.example.org/"}, frame.urls);
}

TEST_F(UrlWindowTest, ShownAndHidden) {
    lx::ShowUrlWindow(url, true);
    EXPECT_TRUE(Shown(url));
    lx::ShowUrlWindow(url, false);
    EXPECT_FALSE(Shown(url));
}

TEST_F(UrlWindowTest, EscapeHides) {
    lx::ShowUrlWindow(url, true);
    ::SendMessageA(url, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(Shown(url));
    EXPECT_TRUE(frame.urls.empty());
}

TEST_F(UrlWindowTest, EmptyTextDoesNothing) {
    Go("");
    EXPECT_TRUE(frame.urls.empty());
    EXPECT_EQ(0, Listed());
    EXPECT_TRUE(Shown(url));
}

TEST_F(UrlWindowTest, SpansTheFrameAtItsOwnHeight) {
    RECT before{};
    ::GetWindowRect(url, &before);
    for (int width : {500, 300, 700}) {
        int height = lx::PlaceUrlWindow(url, 28, width);
        EXPECT_EQ(before.bottom - before.top, height);
        RECT placed{};
        ::GetWindowRect(url, &placed);
        ::MapWindowPoints(nullptr, frame.Handle(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(0, placed.left);
        EXPECT_EQ(28, placed.top);
        EXPECT_EQ(width, placed.right - placed.left);
        RECT client{}, box{};
        ::GetClientRect(url, &client);
        ::GetWindowRect(combo, &box);
        ::MapWindowPoints(nullptr, url, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(client.right - 10, box.right) << "width " << width;
    }
}

} // namespace
} // namespace lxtest
