// Every file under a set of folders with its size and last write, taken before and after a run
// that must not write there, and the difference between two such snapshots.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lxtest {

struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool operator==(const FileStamp& o) const { return size == o.size && written == o.written; }
};

// Path (as found, below one of the roots) to stamp.
using TreeSnapshot = std::map<std::string, FileStamp>;

// Walks the roots (symbolic links to folders are not followed); folders whose path starts with
// one of `skip` (case-insensitive) are left out.
TreeSnapshot SnapshotTrees(const std::vector<std::string>& roots,
                           const std::vector<std::string>& skip = {});

// Files added or changed from `before` to `after`, except those whose path starts with one of
// `allowed` (case-insensitive).
std::vector<std::string> WrittenOutside(const TreeSnapshot& before, const TreeSnapshot& after,
                                        const std::vector<std::string>& allowed);

} // namespace lxtest
