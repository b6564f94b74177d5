#include "tests/abook/abook_fixture.h"

namespace lxtest {

std::vector<long> AddressingTest::ListsOf(long addNum) {
    std::vector<long> lists;
    odbcvantCursor cursor(&Conn(), ("SELECT DistroNum FROM DistroAdd WHERE AddNum = " +
                                    std::to_string(addNum) + " ORDER BY DistroNum")
                                       .c_str());
    SQLINTEGER value = 0;
    if (!cursor.SetSingleResult() || !cursor.BindColumns(1, ODBCVANT_INT32, &value, 0) ||
        !cursor.ExecuteStmt())
        return lists;
    while (cursor.SingleFetch()) lists.push_back(static_cast<long>(value));
    return lists;
}

} // namespace lxtest
