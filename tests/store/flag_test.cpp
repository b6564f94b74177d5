// The mailing-list flag IsTo through its table description: one 16-bit field on every engine,
// written and read without touching the bytes beside it.
#include "store_fixture.h"

#include "common/schema/storetables.h"

#include <cstring>

namespace lxtest {
namespace {

constexpr unsigned char kGuard = 0xA5;
constexpr SQLSMALLINT kUnset = 0x7F7F;

// A flag field followed by guard bytes that no store call may read or write.
struct GuardedFlag {
    SQLSMALLINT value;
    unsigned char guard[6];
};

// A row set of three flags followed by guard bytes.
struct GuardedFlagRows {
    SQLSMALLINT rows[3];
    unsigned char guard[6];
};

bool GuardIntact(const unsigned char* guard, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (guard[i] != kGuard) return false;
    return true;
}

class FlagColumnTest : public StoreTest {
protected:
    // A test that replaced DistroAdd with an older layout puts the current one back.
    void TearDown() override {
        if (!oldLayout_) return;
        Exec("DROP TABLE IF EXISTS DistroAdd");
        ASSERT_TRUE(lx::CreateStoreTables(*s_conn)) << s_conn->GetLastErrorText();
    }
    bool oldLayout_ = false;

    // Three members of one list: To, Cc, To; each flag written from a guarded 16-bit field.
    void InsertMembers() {
        Exec("INSERT INTO AddBook (AddName, AddDest) VALUES ('A', 'a@x'), ('B', 'b@x'), "
             "('C', 'c@x')");
        Exec("INSERT INTO Distribution (DistroName) VALUES ('L')");
        const long list = QueryLong("SELECT DistroNum FROM Distribution");
        const long first = QueryLong("SELECT MIN(AddNum) FROM AddBook");
        odbcvantTableInfo distroAdd(s_conn, "DistroAdd");
        ASSERT_TRUE(distroAdd.IsValid()) << distroAdd.GetLastErrorText();
        EXPECT_EQ(SQL_C_SSHORT, distroAdd.GetColumnCType(distroAdd.FindColumn("IsTo")));
        SQLINTEGER listKey = static_cast<SQLINTEGER>(list), address = 0;
        GuardedFlag flag;
        std::memset(flag.guard, kGuard, sizeof flag.guard);
        ODBCVANT_PBIND p[3];
        odbcvantSetParamBind(p[0], "DistroNum", &listKey);
        odbcvantSetParamBind(p[1], "AddNum", &address);
        odbcvantSetParamBind(p[2], "IsTo", &flag.value);
        odbcvantStmt insert(s_conn, &distroAdd);
        ASSERT_TRUE(insert.PrepareInsert(p, 3)) << insert.GetLastErrorText();
        const SQLSMALLINT flags[3] = {1, 0, 1};
        for (int i = 0; i < 3; ++i) {
            address = static_cast<SQLINTEGER>(first + i);
            flag.value = flags[i];
            ASSERT_TRUE(insert.InsertRow()) << insert.GetLastErrorText();
        }
        EXPECT_TRUE(GuardIntact(flag.guard, sizeof flag.guard));
    }

    // Reads the flags back in key order through the table description into a guarded row set.
    void ExpectFlagsReadBack() {
        odbcvantTableInfo distroAdd(s_conn, "DistroAdd");
        GuardedFlagRows read;
        for (SQLSMALLINT& row : read.rows) row = kUnset;
        std::memset(read.guard, kGuard, sizeof read.guard);
        ODBCVANT_CURSORBIND bind;
        odbcvantSetColumnBind(bind, "IsTo", read.rows, 0, &distroAdd);
        odbcvantCursor cursor(s_conn, "SELECT IsTo FROM DistroAdd ORDER BY AddNum");
        ASSERT_TRUE(cursor.SetRowSetSize(3));
        ASSERT_TRUE(cursor.BindColumns(&bind, 1)) << cursor.GetLastErrorText();
        ASSERT_TRUE(cursor.ExecuteStmt()) << cursor.GetLastErrorText();
        int rows = 0;
        ASSERT_TRUE(cursor.FetchFirst(&rows)) << cursor.GetLastErrorText();
        ASSERT_EQ(3, rows);
        EXPECT_EQ(1, read.rows[0]);
        EXPECT_EQ(0, read.rows[1]);
        EXPECT_EQ(1, read.rows[2]);
        EXPECT_TRUE(GuardIntact(read.guard, sizeof read.guard));
        EXPECT_EQ(2, QueryLong("SELECT COUNT(*) FROM DistroAdd WHERE IsTo = 1"));
        EXPECT_EQ(1, QueryLong("SELECT COUNT(*) FROM DistroAdd WHERE IsTo <> 1"));
    }
};

TEST_F(FlagColumnTest, FlagMovesThroughOneSixteenBitFieldWithoutTouchingItsNeighbours) {
    InsertMembers();
    ExpectFlagsReadBack();
}

// A store made before the flag became a smallint declares it "bit": the same field reads and
// writes it.
TEST_F(FlagColumnTest, AStoreWithTheFlagDeclaredAsBitReadsTheSame) {
    if (!ContainsNoCase(s_conn->GetDbmsName(), "sqlite"))
        GTEST_SKIP() << "only SQLite stores were made with a bit flag";
    oldLayout_ = true;
    Exec("DROP TABLE DistroAdd");
    Exec("CREATE TABLE DistroAdd (DistroNum integer REFERENCES Distribution (DistroNum) ON "
         "DELETE CASCADE, AddNum integer REFERENCES AddBook (AddNum) ON DELETE CASCADE, IsTo bit)");
    InsertMembers();
    ExpectFlagsReadBack();
}

} // namespace
} // namespace lxtest
