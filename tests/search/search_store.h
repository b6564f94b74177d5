// Messages for the search tests, stored the one way the program stores them, in any folder.
#pragma once

#include <string>
#include <vector>

#include "common/schema/sqlforms.h"
#include "tests/store/store_fixture.h"

namespace lxtest {

struct Stored {
    char type = 'I';
    std::string from = "ann@example.org";
    std::string subject = "Hello"; // the subject text; the flag suffix is added
    lx::StoreTime date{2026, 12, 9, 10, 0, 0};
    std::vector<std::string> to;
    bool unread = true;
};

// A message of `from` with `subject`, stored on the given day of December 2026.
Stored Msg(const char* from, const char* subject, int day, int hour = 10, int minute = 0,
           int second = 0);

class SearchStoreTest : public StoreTest {
protected:
    void SetUp() override;
    // Stores the message in `folder` (by default _IN); its MesgNum.
    long Store(const Stored& message, long folder = -1);
    long in = -1, sent = -1;

private:
    int stored_ = 0;
};

} // namespace lxtest
