// Font descriptions and rectangles handed to the Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/settings/fixed_text.h"
#include "common/settings/win32_forms.h"
#include "common/win/handles.h"
#include "tests/settings/samples.h"

using namespace lx;

TEST(Win32Forms, LogFontCarriesEveryField) {
    LOGFONTA lf = ToLogFont(lx_test::SampleFont());
    EXPECT_EQ(lf.lfHeight, -21);
    EXPECT_EQ(lf.lfWidth, 9);
    EXPECT_EQ(lf.lfEscapement, 450);
    EXPECT_EQ(lf.lfOrientation, 900);
    EXPECT_EQ(lf.lfWeight, 600);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 2);
    EXPECT_EQ(lf.lfStrikeOut, 3);
    EXPECT_EQ(lf.lfCharSet, 4);
    EXPECT_EQ(lf.lfOutPrecision, 5);
    EXPECT_EQ(lf.lfClipPrecision, 6);
    EXPECT_EQ(lf.lfQuality, 7);
    EXPECT_EQ(lf.lfPitchAndFamily, 8);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_TRUE(FromLogFont(lf) == lx_test::SampleFont());
}

TEST(Win32Forms, DefaultFontCreatesAndReadsBack) {
    LOGFONTA lf = ToLogFont(DefaultMessageFont(MessageFont::Head));
    const lx::Font font(CreateFontIndirectA(&lf));
    ASSERT_TRUE(font);
    LOGFONTA back = {};
    ASSERT_EQ(GetObjectA(font.Get(), sizeof back, &back), static_cast<int>(sizeof back));
    FontDesc f = FromLogFont(back);
    EXPECT_TRUE(f == DefaultMessageFont(MessageFont::Head));
}

TEST(Win32Forms, RectRoundTrip) {
    Rect32 r{-1, 2, 300, -400};
    RECT w = ToRect(r);
    EXPECT_EQ(w.left, -1);
    EXPECT_EQ(w.bottom, -400);
    EXPECT_EQ(FromRect(w), r);
}
