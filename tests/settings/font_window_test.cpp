// Font files with their defaults, and the window placement files.
#include <gtest/gtest.h>

#include "common/settings/fixed_text.h"
#include "common/settings/font_desc.h"
#include "common/settings/window_file.h"
#include "tests/settings/samples.h"
#include "tests/settings/temp_folder.h"

using namespace lx;
using lx_test::Get32;
using lx_test::TempFolder;

TEST(FontDefaults, MessageFontsFollowTheTable) {
    struct Expect {
        MessageFont which;
        const char* file;
        std::int32_t height;
        std::int32_t weight;
        std::uint8_t underline;
    };
    const Expect expected[] = {
        {MessageFont::Head, "HeadFont.Ink", -19, 700, 1},
        {MessageFont::Tags, "TagsFont.Ink", -17, 700, 1},
        {MessageFont::Text, "TextFont.Ink", -14, 400, 0},
        {MessageFont::Foot, "FootFont.Ink", -11, 700, 0},
    };
    for (const Expect& e : expected) {
        FontDesc f = DefaultMessageFont(e.which);
        EXPECT_STREQ(MessageFontFile(e.which), e.file);
        EXPECT_EQ(f.height, e.height) << e.file;
        EXPECT_EQ(f.weight, e.weight) << e.file;
        EXPECT_EQ(f.underline, e.underline) << e.file;
        EXPECT_EQ(f.width, 0);
        EXPECT_EQ(f.escapement, 0);
        EXPECT_EQ(f.italic, 0);
        EXPECT_EQ(f.strikeOut, 0);
        EXPECT_EQ(f.charSet, 1);
        EXPECT_EQ(f.outPrecision, 3);
        EXPECT_EQ(f.clipPrecision, 1);
        EXPECT_EQ(f.quality, 0);
        EXPECT_EQ(f.pitchAndFamily, 0);
        EXPECT_EQ(TextOf(f.faceName), "Times New Roman");
    }
}

TEST(FontDefaults, PaneFontIsArial) {
    FontDesc f = DefaultPaneFont();
    EXPECT_EQ(TextOf(f.faceName), "Arial");
    EXPECT_EQ(f.height, -14);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.charSet, 1);
    EXPECT_EQ(f.underline, 0);
}

TEST(FontFile, WriteThenRead) {
    TempFolder dir;
    ASSERT_TRUE(WriteFontFile(dir.Path(), kComposerFontFile, lx_test::SampleFont()));
    EXPECT_EQ(dir.Read(kComposerFontFile).size(), kFontDescSize);
    FontDesc f;
    ASSERT_TRUE(ReadFontFile(dir.Path(), kComposerFontFile, f));
    EXPECT_TRUE(f == lx_test::SampleFont());
}

TEST(FontFile, MissingFileIsReportedAndCleared) {
    TempFolder dir;
    FontDesc f = lx_test::SampleFont();
    EXPECT_FALSE(ReadFontFile(dir.Path(), kMessageListFontFile, f));
    EXPECT_TRUE(f == FontDesc{});
}

TEST(FontFile, ShortFileLeavesTheRestCleared) {
    TempFolder dir;
    auto raw = std::vector<std::uint8_t>(8, 0);
    lx_test::Put32(raw, 0, -30);
    lx_test::Put32(raw, 4, 12);
    dir.Write(kFolderPaneFontFile, raw);
    FontDesc f = lx_test::SampleFont();
    ASSERT_TRUE(ReadFontFile(dir.Path(), kFolderPaneFontFile, f));
    EXPECT_EQ(f.height, -30);
    EXPECT_EQ(f.width, 12);
    EXPECT_EQ(f.weight, 0);
    EXPECT_EQ(TextOf(f.faceName), "");
}

TEST(FontFile, MissingFileGetsTheDefaultWrittenBack) {
    TempFolder dir;
    const char* name = MessageFontFile(MessageFont::Head);
    FontDesc def = DefaultMessageFont(MessageFont::Head);
    EXPECT_TRUE(ReadOrCreateFontFile(dir.Path(), name, def) == def);
    FontDesc onDisk;
    ASSERT_TRUE(ReadFontFile(dir.Path(), name, onDisk));
    EXPECT_TRUE(onDisk == def);

    // An existing file wins over the default.
    ASSERT_TRUE(WriteFontFile(dir.Path(), name, lx_test::SampleFont()));
    EXPECT_TRUE(ReadOrCreateFontFile(dir.Path(), name, def) == lx_test::SampleFont());
}

TEST(MainWindowRule, MaximisedStoresLeftEdgeMinusOne) {
    Rect32 actual{20, 30, 820, 630};
    Rect32 stored = MainWindowRectToStore(actual, true, false);
    EXPECT_EQ(stored.left, -1);
    EXPECT_EQ(stored.top, 30);
    EXPECT_TRUE(IsMaximisedPlacement(stored));
    EXPECT_FALSE(IsMaximisedPlacement(actual));
}

TEST(MainWindowRule, MinimisedStoresTheFixedRectangle) {
    Rect32 stored = MainWindowRectToStore(Rect32{-32000, -32000, -31840, -31970}, false, true);
    EXPECT_EQ(stored, (Rect32{10, 10, 300, 120}));
    EXPECT_EQ(stored.right - stored.left, 290);
    EXPECT_EQ(stored.bottom - stored.top, 110);
    EXPECT_EQ(MainWindowRectToStore(Rect32{1, 2, 3, 4}, false, false), (Rect32{1, 2, 3, 4}));
}

TEST(MainWindowFile, RoundTripWithColumns) {
    TempFolder dir;
    MainWindowPlacement p;
    p.frame = Rect32{-1, 5, 600, 400};
    for (int i = 0; i < kListColumns; ++i) p.columns[i] = Rect32{i * 100, 0, i * 100 + 90, 20 + i};
    p.hasColumns = true;
    ASSERT_TRUE(WriteMainWindowFile(dir.Path(), p));
    auto raw = dir.Read(kMainWindowFile);
    ASSERT_EQ(raw.size(), kMainWindowFileSize);
    EXPECT_EQ(Get32(raw, 0), -1);
    EXPECT_EQ(Get32(raw, 16 + 3 * 16), 300);
    EXPECT_EQ(Get32(raw, 76), 23);

    MainWindowPlacement back;
    ASSERT_TRUE(ReadMainWindowFile(dir.Path(), back));
    EXPECT_EQ(back.frame, p.frame);
    EXPECT_TRUE(back.hasColumns);
    for (int i = 0; i < kListColumns; ++i) EXPECT_EQ(back.columns[i], p.columns[i]);
}

TEST(MainWindowFile, ColumnsOnlyWhenAllSixtyFourBytesWereRead) {
    TempFolder dir;
    MainWindowPlacement p;
    p.frame = Rect32{1, 2, 3, 4};
    p.columns.fill(Rect32{7, 7, 7, 7});
    p.hasColumns = true;
    ASSERT_TRUE(WriteMainWindowFile(dir.Path(), p));
    auto raw = dir.Read(kMainWindowFile);
    raw.resize(79);
    dir.Write(kMainWindowFile, raw);
    MainWindowPlacement back;
    ASSERT_TRUE(ReadMainWindowFile(dir.Path(), back));
    EXPECT_EQ(back.frame, p.frame);
    EXPECT_FALSE(back.hasColumns);
    EXPECT_EQ(back.columns[0], Rect32{});
}

TEST(MainWindowFile, ShortOrMissingFileIsMissing) {
    TempFolder dir;
    MainWindowPlacement back;
    back.frame = Rect32{9, 9, 9, 9};
    EXPECT_FALSE(ReadMainWindowFile(dir.Path(), back));
    dir.Write(kMainWindowFile, std::vector<std::uint8_t>(15, 1));
    EXPECT_FALSE(ReadMainWindowFile(dir.Path(), back));
    EXPECT_EQ(back.frame, (Rect32{9, 9, 9, 9}));
    dir.Write(kMainWindowFile, std::vector<std::uint8_t>(16, 0));
    EXPECT_TRUE(ReadMainWindowFile(dir.Path(), back));
    EXPECT_EQ(back.frame, Rect32{});
}

TEST(WindowRectFile, RoundTripAndShortFile) {
    TempFolder dir;
    ASSERT_TRUE(WriteWindowRectFile(dir.Path(), kEditorWindowFile, Rect32{11, 22, 333, 444}));
    EXPECT_EQ(dir.Read(kEditorWindowFile).size(), kRectSize);
    Rect32 r;
    ASSERT_TRUE(ReadWindowRectFile(dir.Path(), kEditorWindowFile, r));
    EXPECT_EQ(r, (Rect32{11, 22, 333, 444}));
    EXPECT_FALSE(ReadWindowRectFile(dir.Path(), kViewerWindowFile, r));
    dir.Write(kViewerWindowFile, std::vector<std::uint8_t>(12, 1));
    EXPECT_FALSE(ReadWindowRectFile(dir.Path(), kViewerWindowFile, r));
    EXPECT_EQ(r, (Rect32{11, 22, 333, 444}));
    EXPECT_EQ(DefaultEditorRect(), (Rect32{50, 50, 550, 410}));
}
