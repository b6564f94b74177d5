#include "tests/pickers/addrbook_rows.h"

#include "common/schema/sqlforms.h"

#include <gtest/gtest.h>

namespace lxtest {
namespace {

void Run(odbcvantConnection& conn, const std::string& sql) {
    EXPECT_TRUE(conn.ExecuteDirect(sql.c_str())) << sql << ": " << conn.GetLastErrorText();
}

long Key(odbcvantConnection& conn, const std::string& sql) {
    odbcvantCursor cursor(&conn, sql.c_str());
    SQLINTEGER value = -1;
    if (!cursor.SetSingleResult() || !cursor.BindColumns(1, ODBCVANT_INT32, &value, 0) ||
        !cursor.ExecuteStmt() || !cursor.SingleFetch())
        return -1;
    return static_cast<long>(value);
}

} // namespace

long AddAddress(odbcvantConnection& conn, const std::string& name, const std::string& dest) {
    Run(conn, "INSERT INTO AddBook (AddName, AddDest, AddNote) VALUES (" + lx::SqlQuote(name) +
                  ", " + lx::SqlQuote(dest) + ", '')");
    return Key(conn, "SELECT AddNum FROM AddBook WHERE AddName = " + lx::SqlQuote(name) +
                         " AND AddDest = " + lx::SqlQuote(dest));
}

long AddList(odbcvantConnection& conn, const std::string& name,
             const std::vector<std::pair<long, bool>>& members) {
    Run(conn, "INSERT INTO Distribution (DistroName) VALUES (" + lx::SqlQuote(name) + ")");
    const long distroNum =
        Key(conn, "SELECT DistroNum FROM Distribution WHERE DistroName = " + lx::SqlQuote(name));
    for (const auto& member : members)
        Run(conn, "INSERT INTO DistroAdd (DistroNum, AddNum, IsTo) VALUES (" +
                      std::to_string(distroNum) + ", " + std::to_string(member.first) + ", " +
                      (member.second ? "1" : "0") + ")");
    return distroNum;
}

} // namespace lxtest
