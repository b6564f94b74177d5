#include "tests/hostile/drivetree.h"

#include <windows.h>

#include <cctype>

namespace lxtest {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool StartsWithAny(const std::string& path, const std::vector<std::string>& prefixes) {
    for (const std::string& p : prefixes)
        if (StartsWithNoCase(path, p)) return true;
    return false;
}

void Walk(const std::string& folder, const std::vector<std::string>& skip, TreeSnapshot& out) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> folders;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                !StartsWithAny(path, skip))
                folders.push_back(path);
            continue;
        }
        FileStamp stamp;
        stamp.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        stamp.written = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                        found.ftLastWriteTime.dwLowDateTime;
        out[path] = stamp;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    for (const std::string& f : folders) Walk(f, skip, out);
}

} // namespace

TreeSnapshot SnapshotTrees(const std::vector<std::string>& roots,
                           const std::vector<std::string>& skip) {
    TreeSnapshot snapshot;
    for (std::string root : roots) {
        while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
        Walk(root, skip, snapshot);
    }
    return snapshot;
}

std::vector<std::string> WrittenOutside(const TreeSnapshot& before, const TreeSnapshot& after,
                                        const std::vector<std::string>& allowed) {
    std::vector<std::string> written;
    for (const auto& [path, stamp] : after) {
        if (StartsWithAny(path, allowed)) continue;
        const auto was = before.find(path);
        if (was == before.end() || !(was->second == stamp)) written.push_back(path);
    }
    return written;
}

} // namespace lxtest
