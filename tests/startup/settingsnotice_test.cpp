// Settings that could not be written: the user is told (a change they asked for) or the log says
// so (a write the program made on its own).
#include "tests/startup/uitest.h"
#include "common/win/settingsnotice.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class SettingsNotice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.Ok());
        folder = lxtest::TempFolder("lxsettingsnotice");
        ::DeleteFileA((folder + "\\Lorvex.Log").c_str());
    }
    std::string Log() const {
        std::ifstream in(folder + "\\Lorvex.Log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    lxtest::TestCatalogue catalogue{"NEWMAIL_CPP_7 Could not save to %s.\n"
                                    "NEWMAIL_CPP_8 Not Saved\n"
                                    "NEWMAIL_CPP_9 Settings not saved to %s.\n"
                                    "MAINFRM_CPP_22 Start %02d/%02d/%04d %02d:%02d:%02d\n"
                                    "MAINFRM_CPP_27 End %02d/%02d/%04d %02d:%02d:%02d\n"};
    lxtest::ScriptedHook hook;
    std::string folder;
};

TEST_F(SettingsNotice, FailedChangeTellsTheUserWhereAndSucceededOneSaysNothing) {
    EXPECT_TRUE(lx::ReportIfNotSaved(true, nullptr, &catalogue.Get(), "MESSGFNT.INK"));
    EXPECT_TRUE(hook.boxes.empty());
    EXPECT_FALSE(lx::ReportIfNotSaved(false, nullptr, &catalogue.Get(), "MESSGFNT.INK"));
    ASSERT_EQ(1u, hook.boxes.size());
    EXPECT_EQ("Could not save to MESSGFNT.INK.", hook.boxes[0].text);
    EXPECT_EQ("Not Saved", hook.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), hook.boxes[0].flags);
}

TEST_F(SettingsNotice, FailedOwnWriteIsABlockOfItsOwnInTheLog) {
    EXPECT_TRUE(lx::LogIfNotSaved(true, folder, &catalogue.Get(), "Lorvex.WND"));
    EXPECT_EQ("", Log());
    EXPECT_FALSE(lx::LogIfNotSaved(false, folder, &catalogue.Get(), "Lorvex.WND"));
    EXPECT_FALSE(lx::LogIfNotSaved(false, folder, &catalogue.Get(), lx::kRegistrySettingsName));
    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("\r\nSettings not saved to Lorvex.WND.\r\nEnd "));
    EXPECT_NE(std::string::npos,
              log.find("Settings not saved to " + std::string(lx::kRegistrySettingsName)));
    EXPECT_EQ(0u, log.find("Start "));
    EXPECT_EQ(log.size() - 4, log.rfind("\r\n\r\n")); // each block ends with an empty line
    EXPECT_TRUE(hook.boxes.empty());
}

} // namespace
