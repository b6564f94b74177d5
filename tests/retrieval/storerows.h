// The store as the retrieval tests read it back: folders to file into, the stored messages and
// their children.
#pragma once

#include "tests/store/store_fixture.h"

#include <string>
#include <vector>

namespace lxtest {

struct StoredRow {
    long mesgNum = 0;
    long folderNum = 0;
    std::string subject;
    std::string from;
    std::string mailData;
    long mesgSize = 0;
    std::string mesgType;
};

class RetrievalStoreTest : public StoreTest {
protected:
    // Adds a folder and returns its FolderNum.
    static long AddFolder(const char* name, const char* type = "U");
    // Every Messages row in key order.
    static std::vector<StoredRow> Rows();
    // The values of one child table's column for a message, in key order.
    static std::vector<std::string> Children(const char* table, const char* column, long mesgNum);
};

} // namespace lxtest
