// Scripted runs: with LORVEX_UI_TRANSCRIPT set, boxes and common dialogs are written to the
// transcript and answered from LORVEX_UI_ANSWERS instead of being shown. The environment is
// read at the first box, so this program sets it before anything else uses the seam.
#include "common/win/dialog.h"
#include "common/win/uiseam.h"
#include "tests/startup/testres.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string TranscriptPath() {
    char folder[MAX_PATH] = "";
    ::GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "lx-transcript-" + std::to_string(::GetCurrentProcessId()) +
           ".txt";
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return lines;
    std::string line;
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else
            line += static_cast<char>(c);
    }
    std::fclose(f);
    return lines;
}

TEST(Transcript, RecordsEveryBoxAndAnswersInOrder) {
    const std::string path = TranscriptPath();
    ::DeleteFileA(path.c_str());
    ASSERT_TRUE(::SetEnvironmentVariableA("LORVEX_UI_TRANSCRIPT", path.c_str()));
    ASSERT_TRUE(::SetEnvironmentVariableA("LORVEX_UI_ANSWERS", "IDYES, IDNO,IDCANCEL,bogus"));

    EXPECT_EQ(IDYES, lx::ui::MessageBox(nullptr, "Send the waiting mail?", "Close",
                                        MB_YESNO | MB_ICONSTOP));
    EXPECT_EQ(IDNO, lx::ui::MessageBox(nullptr, "Two\r\nlines", "Caption", MB_YESNO));
    EXPECT_EQ(IDCANCEL, lx::ui::AppMessageBox("Plain", MB_OKCANCEL));
    EXPECT_EQ(IDOK, lx::ui::MessageBox(nullptr, "Unknown answer name", "X", MB_OK)); // "bogus"
    EXPECT_EQ(IDOK, lx::ui::MessageBox(nullptr, "Answers used up", "X", MB_OK));
    OPENFILENAMEA open{};
    EXPECT_FALSE(lx::ui::GetOpenFileName(&open));

    // A dialog opened during a scripted run is recorded and cancelled.
    char name[13] = "kept";
    int count = 3;
    struct Fields : lx::Dialog {
        Fields(char* name, int* count) : Dialog(IDD_TEST_FIELDS, nullptr) {
            BindText(IDC_TEST_NAME, name, 13, 12);
            BindInt(IDC_TEST_COUNT, count, 1, 59);
        }
    } dialog(name, &count);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_STREQ("kept", name);

    const auto lines = Lines(path);
    ASSERT_EQ(7u, lines.size());
    EXPECT_EQ("Close|Send the waiting mail?|" + std::to_string(MB_YESNO | MB_ICONSTOP), lines[0]);
    EXPECT_EQ("Caption|Two\\r\\nlines|" + std::to_string(MB_YESNO), lines[1]);
    EXPECT_EQ("Lorvex|Plain|" + std::to_string(MB_OKCANCEL), lines[2]);
    EXPECT_EQ("common dialog|open|0", lines[5]);
    EXPECT_EQ("dialog|" + std::to_string(IDD_TEST_FIELDS) + "|0", lines[6]);
    ::DeleteFileA(path.c_str());
}

} // namespace
