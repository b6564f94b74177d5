// The start-up worker: it writes the Data folder and the font files and hands the four message
// fonts over in one posted message; with nobody left to receive them it releases them itself.
#include "mailer/core/startwork.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string FreshFolder(const char* name) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "lxstartwork-" + name;
    for (const char* file : {"HeadFont.Ink", "TagsFont.Ink", "TextFont.Ink", "FootFont.Ink"})
        ::DeleteFileA((folder + "\\" + file).c_str());
    ::RemoveDirectoryA((folder + "\\Data").c_str());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
}

HWND MessageOnlyWindow() {
    return ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
}

// Runs the worker to its end (bounded) and takes what it posted to `receiver` before it ended.
std::unique_ptr<lx::MessageFontSet> RunWorker(const std::string& folder, HWND receiver) {
    lx::UniqueHandle worker = lx::StartStartupWorker(folder, receiver);
    if (!worker.Valid() || ::WaitForSingleObject(worker.Get(), 30000) != WAIT_OBJECT_0)
        return nullptr;
    MSG msg{};
    if (!::PeekMessageA(&msg, receiver, lx::WM_LX_MESSAGE_FONTS, lx::WM_LX_MESSAGE_FONTS,
                        PM_REMOVE))
        return nullptr;
    return lx::TakeMessageFonts(msg.lParam);
}

TEST(StartupWorker, HandsTheFourFontsOverInOneMessage) {
    const std::string folder = FreshFolder("receiver");
    HWND receiver = MessageOnlyWindow();
    ASSERT_NE(nullptr, receiver);
    std::unique_ptr<lx::MessageFontSet> fonts = RunWorker(folder, receiver);
    ASSERT_NE(nullptr, fonts);
    MSG msg{};
    EXPECT_FALSE(::PeekMessageA(&msg, receiver, lx::WM_LX_MESSAGE_FONTS, lx::WM_LX_MESSAGE_FONTS,
                                PM_REMOVE)); // one message only
    for (const lx::Font& font : fonts->fonts) EXPECT_TRUE(font);
    LOGFONTA head{};
    ASSERT_EQ(static_cast<int>(sizeof head),
              ::GetObjectA(fonts->fonts[0].Get(), sizeof head, &head));
    EXPECT_EQ(-19, head.lfHeight); // 14 points at 100 pixels per inch
    EXPECT_EQ(700, head.lfWeight);
    EXPECT_TRUE(head.lfUnderline);
    EXPECT_TRUE(fonts->notSaved.empty());

    for (const char* file : {"HeadFont.Ink", "TagsFont.Ink", "TextFont.Ink", "FootFont.Ink"})
        EXPECT_EQ(60u, FileSize(folder + "\\" + file)) << file;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((folder + "\\Data").c_str()));
    ::DestroyWindow(receiver);
}

TEST(StartupWorker, EndsAndWritesItsFilesWhenTheReceiverIsGone) {
    const std::string folder = FreshFolder("gone");
    HWND receiver = MessageOnlyWindow();
    ASSERT_NE(nullptr, receiver);
    ::DestroyWindow(receiver); // the program closed before the worker was done
    lx::UniqueHandle worker = lx::StartStartupWorker(folder, receiver);
    ASSERT_TRUE(worker.Valid());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker.Get(), 30000));
    EXPECT_EQ(60u, FileSize(folder + "\\FootFont.Ink"));
}

TEST(StartupWorker, FontFileThatCannotBeWrittenIsNamedForTheLog) {
    // A folder that does not exist: no font file can be written there.
    const std::string folder = FreshFolder("missing") + "\\no\\such\\folder";
    HWND receiver = MessageOnlyWindow();
    ASSERT_NE(nullptr, receiver);
    std::unique_ptr<lx::MessageFontSet> fonts = RunWorker(folder, receiver);
    ASSERT_NE(nullptr, fonts);
    ASSERT_LE(4u, fonts->notSaved.size());
    EXPECT_EQ("HeadFont.Ink", fonts->notSaved[0]);
    EXPECT_EQ("FootFont.Ink", fonts->notSaved[3]);
    for (const lx::Font& font : fonts->fonts) EXPECT_TRUE(font); // the defaults still serve
    ::DestroyWindow(receiver);
}

} // namespace
