// The program's store connection: the data source "Lorvex", or the one LORVEX_DSN names.
#include "store_fixture.h"

#include "common/schema/storeconnection.h"

#include <cstdlib>
#include <string>

namespace lxtest {
namespace {

void SetDataSourceOverride(const char* value) {
#ifdef _WIN32
    _putenv((std::string(lx::kDataSourceOverride) + "=" + value).c_str()); // "NAME=" removes it
#else
    if (*value)
        setenv(lx::kDataSourceOverride, value, 1);
    else
        unsetenv(lx::kDataSourceOverride);
#endif
}

TEST(StoreConnectionOwner, OpensTheDataSourceOrTheOneNamedInItsPlace) {
    StoreTest::SetUpTestSuite(); // the ODBC configuration is in place
    struct Case {
        const char* override;
        const char* dataSource;
        lx::StoreConnection::Outcome outcome;
    } cases[] = {
        {"", "Lorvex", lx::StoreConnection::Outcome::Connected},
        {"LorvexNoSuchSource", "LorvexNoSuchSource", lx::StoreConnection::Outcome::Refused},
    };
    for (const Case& c : cases) {
        SetDataSourceOverride(c.override);
        EXPECT_EQ(c.dataSource, lx::StoreDataSource());
        lx::StoreConnection store;
        EXPECT_EQ(c.outcome, store.Open()) << c.override;
        const bool connected = c.outcome == lx::StoreConnection::Outcome::Connected;
        EXPECT_EQ(connected, store.Get() != nullptr) << c.override;
        if (connected) {
            EXPECT_TRUE(store.Get()->IsConnected());
        }
        store.Close();
        EXPECT_EQ(nullptr, store.Get());
    }
    SetDataSourceOverride("");
}

} // namespace
} // namespace lxtest
