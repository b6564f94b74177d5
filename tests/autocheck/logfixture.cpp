#include "tests/autocheck/logfixture.h"

#include "tests/catalog/catalogtestutil.h"

namespace lxtest {

namespace {
const char* const kTexts = "MAINFRM_CPP_22 start %02d/%02d/%04d %02d:%02d:%02d\n"
                           "MAINFRM_CPP_25 dial error %d\n"
                           "MAINFRM_CPP_26 hung up after error\n"
                           "MAINFRM_CPP_27 end %02d/%02d/%04d %02d:%02d:%02d\n"
                           "MAINFRM_CPP_28 run started\n"
                           "MAINFRM_CPP_29 queued %d\n"
                           "MAINFRM_CPP_30 last accepted %d\n"
                           "MAINFRM_CPP_31 send off\n"
                           "MAINFRM_CPP_32 checking\n"
                           "MAINFRM_CPP_33 mailbox %s\n"
                           "MAINFRM_CPP_34 waiting: \n"
                           "MAINFRM_CPP_35 retrieving: \n"
                           "MAINFRM_CPP_36 retrieval busy\n"
                           "MAINFRM_CPP_37 connected to %s\n"
                           "MAINFRM_CPP_38 broken\n"
                           "MAINFRM_CPP_39 own finished\n"
                           "MAINFRM_CPP_40 found finished\n"
                           "MAINFRM_CPP_50 never connected %d\n";
} // namespace

void CheckLogFixture::SetUp() {
    dir = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::string vsf = dir + "/DGROUP.VSF";
    WriteFile(vsf, BuiltCatalogue(kTexts));
    ASSERT_TRUE(catalog.Open(vsf.c_str(), lx::CatalogMagic::Exact));
    path = dir + "/Lorvex.Log";
    ASSERT_TRUE(log.Open(path));
}

std::vector<std::string> CheckLogFixture::Lines() {
    const std::string text = ReadFile(path);
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
    return lines;
}

} // namespace lxtest
