// The viewer's own catalogue gives every text the page and the simple view need, and the load
// errors carry the mark the page writer recognises; the loader's statements.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "viewer/core/loadsql.h"
#include "viewer/core/viewertexts.h"

namespace {

using namespace lx::viewer;

std::string CataloguePath() {
    const char* dir = std::getenv("LX_BINARY_DIR");
    std::string path = std::string(dir ? dir : ".") + "/bin/LXVTEXT.VSF";
#ifdef _WIN32
    if (path[0] == '/') path = "Z:" + path; // Wine sees the Unix root as drive Z:
#endif
    return path;
}

TEST(ViewerTexts, FromTheViewersCatalogue) {
    lx::MessageCatalog catalog;
    ASSERT_TRUE(catalog.Open(CataloguePath().c_str(), lx::CatalogMagic::ContainsVellumstack))
        << CataloguePath();
    const PageTexts page = PageTextsFrom(catalog);
    EXPECT_EQ(page.months[0], "");
    for (int m = 1; m <= 12; ++m) {
        EXPECT_FALSE(page.months[m].empty()) << m;
        EXPECT_LE(page.months[m].size(), 7u) << m;
    }
    EXPECT_NE(page.partFailed.find("Error:"), std::string::npos);
    for (const std::string& label : SimpleViewLabelsFrom(catalog)) EXPECT_FALSE(label.empty());
    for (const std::string& error :
         {MessageUnreadableText(catalog), StoreUnreachableText(catalog)}) {
        EXPECT_NE(error.find("Error:"), std::string::npos) << error;
        EXPECT_LE(error.size(), kMesgIdWidth - 1) << error;
        MessageRecord record;
        record.mesgId = error;
        EXPECT_TRUE(HasLoadError(record));
    }
}

TEST(ViewerTexts, LoadErrorsKeepTheirMarkWithoutACatalogue) {
    const lx::MessageCatalog none;
    EXPECT_EQ(MessageUnreadableText(none).find("Error:"), 0u);
    EXPECT_EQ(StoreUnreachableText(none).find("Error:"), 0u);
}

TEST(LoaderStatements, TheMessageAndItsLists) {
    EXPECT_EQ(SqlMessageRow(42), "SELECT FolderNum, MesgId, MesgDate, MailData, MesgSize, "
                                 "FromAdd, Subject, AppDate FROM Messages WHERE MesgNum = 42");
    const struct {
        MessageList list;
        const char *count, *names;
    } cases[] = {
        {MessageList::To, "SELECT COUNT(*) FROM ToList WHERE MesgNum = 7",
         "SELECT ToName FROM ToList WHERE MesgNum = 7"},
        {MessageList::Cc, "SELECT COUNT(*) FROM CcList WHERE MesgNum = 7",
         "SELECT CcName FROM CcList WHERE MesgNum = 7"},
        {MessageList::Files, "SELECT COUNT(*) FROM Files WHERE MesgNum = 7",
         "SELECT FileName FROM Files WHERE MesgNum = 7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqlListCount(c.list, 7), c.count);
        EXPECT_EQ(SqlListNames(c.list, 7), c.names);
    }
}

} // namespace
