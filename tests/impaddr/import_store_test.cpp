// Storing imported addresses: one AddBook row each, the values as they are (apostrophes and
// Windows-1252 letters included) and cut to the columns' widths.
#include "mailer/addressing/store/import_store.h"
#include "tests/store/store_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lx::ImportedAddress;

class ImportStore : public lxtest::StoreTest {
protected:
    static std::vector<ImportedAddress> Rows() {
        std::vector<ImportedAddress> rows;
        odbcvantCursor cursor(&Conn(),
                              "SELECT AddName, AddDest, AddNote FROM AddBook ORDER BY AddNum");
        char name[256], dest[256], note[256];
        EXPECT_TRUE(cursor.SetSingleResult() && cursor.BindColumns(1, ODBCVANT_TEXT, name, 256) &&
                    cursor.BindColumns(2, ODBCVANT_TEXT, dest, 256) &&
                    cursor.BindColumns(3, ODBCVANT_TEXT, note, 256) && cursor.ExecuteStmt());
        while (cursor.SingleFetch()) rows.push_back({name, dest, note});
        return rows;
    }
};

TEST_F(ImportStore, EachAddressIsOneRowAsItCame) {
    const std::vector<ImportedAddress> in = {
        {"Kim O'Hara", "o'hara@example.org", "it's 'quoted'"},
        {"J\xFCrgen \"Red\" M\xFCller", "jurgen@example.org", ""},
        {"'; DROP TABLE AddBook; --", "x@example.org", "--"},
        {std::string(60, 'n'), std::string(90, 'd'), std::string(99, 'o')},
    };
    lx::AddressWriter writer(&Conn());
    for (const ImportedAddress& address : in) EXPECT_TRUE(writer.Insert(address)) << address.name;
    std::vector<ImportedAddress> expected(in.begin(), in.end() - 1);
    expected.push_back({std::string(48, 'n'), std::string(80, 'd'), std::string(80, 'o')});
    EXPECT_EQ(Rows(), expected);
    EXPECT_TRUE(lxtest::ReportedErrors().empty()); // nothing shown by the store itself
}

TEST_F(ImportStore, WithoutAStoreNothingIsStored) {
    lx::AddressWriter writer(nullptr);
    EXPECT_FALSE(writer.Insert({"Ann", "ann@example.org", ""}));
}

} // namespace
