// The import dialog tests' fixture: the runner's store emptied for each test, the program's
// catalogue, a UI hook that also answers the file-open dialog, files written into a fresh folder
// and the AddBook rows read back.
#pragma once
#include "mailer/addressing/logic/import_steps.h"
#include "tests/startup/uitest.h"
#include "tests/store/store_fixture.h"

#include <string>
#include <vector>

namespace lxtest {

// Answers the file-open dialog with `openPath` (cancels when empty) and records what it was asked.
class FileDialogHook : public ScriptedHook {
public:
    std::string openPath;
    std::vector<std::string> openTitles;
    std::vector<std::string> openFilters; // with their zero separators
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override;
};

class ImportTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::string Text(const char* key);
    // Writes `bytes` into the test's folder; the file's full path.
    std::string WriteFile(const std::string& name, const std::string& bytes);
    // Every AddBook row in the order stored.
    static std::vector<lx::ImportedAddress> AddBookRows();
    // The lines of a multi-line edit (its text split at CR LF, without the empty end).
    static std::vector<std::string> EditLines(HWND dialog, int id);

    FileDialogHook hook;
    Later later;
    std::string folder;
};

} // namespace lxtest
