// Every message key the programs' sources use has a text in the catalogue the program loads,
// and the catalogue sources themselves build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/catalog/catalogbuild.h"
#include "tests/catalog/catalogtestutil.h"

namespace fs = std::filesystem;

namespace {

struct KeyUse {
    std::string key;
    std::string where; // file:line
};

bool IsUpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Keys of the form [A-Z0-9]+_CPP_[0-9]+ in text.
void CollectKeys(const std::string& text, const std::string& file, std::vector<KeyUse>& uses) {
    const std::string mark = "_CPP_";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        size_t begin = at;
        while (begin > 0 && IsUpperOrDigit(text[begin - 1])) --begin;
        size_t end = at + mark.size();
        while (end < text.size() && IsDigit(text[end])) ++end;
        if (begin == at || end == at + mark.size()) continue;
        size_t line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
        uses.push_back({text.substr(begin, end - begin), file + ":" + std::to_string(line)});
    }
}

std::vector<KeyUse> KeysUnder(const fs::path& dir) {
    std::vector<KeyUse> uses;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return uses;
    for (fs::recursive_directory_iterator it(dir, ec), end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path& p = it->path();
        if (it->is_directory() && p.filename() == "tests") {
            it.disable_recursion_pending();
            continue;
        }
        std::string ext = p.extension().string();
        if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        CollectKeys(lxtest::ReadFile(p.string()), p.string(), uses);
    }
    return uses;
}

// The keys of a catalogue source; false when the source is missing.
bool CatalogueKeys(const std::string& path, std::set<std::string>& keys) {
    if (!lxtest::FileExists(path)) return false;
    std::vector<lx::CatalogueEntry> entries;
    std::string error;
    EXPECT_TRUE(lx::ParseCatalogueSource(lxtest::ReadFile(path), entries, error)) << path << "\n"
                                                                                  << error;
    for (const auto& e : entries) keys.insert(e.module + "_" + std::to_string(e.number));
    return true;
}

TEST(CatalogueKeys, CollectsKeysFromText) {
    std::vector<KeyUse> uses;
    CollectKeys(
        "Lookup(\"MAINFRM_CPP_27\");\nx = \"VIEWLOG_CPP_1\"; // MODULE_CPP_N, _CPP_3, A_CPP_\n",
        "f", uses);
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0].key, "MAINFRM_CPP_27");
    EXPECT_EQ(uses[0].where, "f:1");
    EXPECT_EQ(uses[1].key, "VIEWLOG_CPP_1");
    EXPECT_EQ(uses[1].where, "f:2");
}

TEST(CatalogueKeys, EveryUsedKeyHasAText) {
    const std::string root = lxtest::EnvDir("LX_SOURCE_DIR");
    if (root.empty()) GTEST_SKIP() << "LX_SOURCE_DIR is not set";
    std::set<std::string> dgroup, lxvtext;
    bool haveMain = CatalogueKeys(root + "/mailer/res/DGROUP.msg", dgroup);
    bool haveViewer = CatalogueKeys(root + "/viewer/res/LXVTEXT.msg", lxvtext);
    if (!haveMain && !haveViewer) GTEST_SKIP() << "no catalogue sources yet";

    // The viewer loads only LXVTEXT.VSF and the main program only DGROUP.VSF; shared code
    // and the network library may serve either.
    struct Area {
        const char* folder;
        bool main;
        bool viewer;
    };
    const Area areas[] = {{"mailer", true, false},
                          {"viewer", false, true},
                          {"common", true, true},
                          {"netlib", true, true}};
    std::string missing;
    size_t checked = 0;
    for (const Area& area : areas) {
        if ((area.main && !area.viewer && !haveMain) || (area.viewer && !area.main && !haveViewer))
            continue;
        for (const KeyUse& use : KeysUnder(fs::path(root) / area.folder)) {
            ++checked;
            bool found =
                (area.main && dgroup.count(use.key)) || (area.viewer && lxvtext.count(use.key));
            if (!found) missing += "  " + use.key + " used at " + use.where + "\n";
        }
    }
    EXPECT_TRUE(missing.empty()) << "keys without a catalogue text:\n" << missing;
    RecordProperty("keys_checked", static_cast<int>(checked));
}

} // namespace
