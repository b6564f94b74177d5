#include "tests/impaddr/import_fixture.h"

#include <cstring>
#include <fstream>

namespace lxtest {

BOOL FileDialogHook::OnCommonDialog(lx::ui::CommonDialog kind, void* data) {
    if (kind != lx::ui::CommonDialog::Open) return FALSE;
    auto* open = static_cast<OPENFILENAMEA*>(data);
    openTitles.push_back(open->lpstrTitle ? open->lpstrTitle : "");
    std::string filter;
    for (const char* at = open->lpstrFilter; at && *at; at += std::strlen(at) + 1)
        filter += std::string(at) + '|';
    openFilters.push_back(filter);
    if (openPath.empty() || openPath.size() >= open->nMaxFile) return FALSE;
    std::memcpy(open->lpstrFile, openPath.c_str(), openPath.size() + 1);
    return TRUE;
}

void ImportTest::SetUp() {
    StoreTest::SetUp();
    ASSERT_TRUE(BuiltCatalogue().Loaded()) << "the program's catalogue was not built";
    lx::ui::SetCatalog(&BuiltCatalogue());
    folder = TempFolder("lximport");
}

void ImportTest::TearDown() { lx::ui::SetCatalog(nullptr); }

std::string ImportTest::Text(const char* key) {
    const char* text = BuiltCatalogue().Lookup(key);
    return text ? text : "";
}

std::string ImportTest::WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = folder + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<lx::ImportedAddress> ImportTest::AddBookRows() {
    std::vector<lx::ImportedAddress> rows;
    odbcvantCursor cursor(s_conn, "SELECT AddName, AddDest, AddNote FROM AddBook ORDER BY AddNum");
    char name[256], dest[256], note[256];
    if (!cursor.SetSingleResult() || !cursor.BindColumns(1, ODBCVANT_TEXT, name, sizeof name) ||
        !cursor.BindColumns(2, ODBCVANT_TEXT, dest, sizeof dest) ||
        !cursor.BindColumns(3, ODBCVANT_TEXT, note, sizeof note) || !cursor.ExecuteStmt()) {
        ADD_FAILURE() << "AddBook could not be read: " << cursor.GetLastErrorText();
        return rows;
    }
    for (;;) {
        name[0] = dest[0] = note[0] = '\0';
        if (!cursor.SingleFetch()) break;
        rows.push_back({name, dest, note});
    }
    return rows;
}

std::vector<std::string> ImportTest::EditLines(HWND dialog, int id) {
    const std::string text = ControlText(dialog, id);
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", at)) {
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    if (at < text.size()) lines.push_back(text.substr(at));
    return lines;
}

} // namespace lxtest
