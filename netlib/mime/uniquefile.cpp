#include "netlib/mime/uniquefile.h"

#include <atomic>
#include <chrono>
#include <cstdio>

namespace lx::mime {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    std::string p = folder;
    if (!isPathSep(p.back())) p += kPathSep;
    return p + name;
}

std::string createUnique(const std::string& folder, const std::string& prefix, int hexDigits,
                         const std::string& ext, OsFile& file) {
    static std::atomic<unsigned> counter{0};
    const unsigned span = hexDigits >= 8 ? 0xFFFFFFFFu : ((1u << (4 * hexDigits)) - 1u);
    const unsigned seed = static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ (processTag() * 2654435761u));
    unsigned start = (seed + counter.fetch_add(1) * 7919u) & span;
    // Every number is tried at most once; an exclusive create makes the name ours alone.
    const unsigned tries = span < 65535u ? span : 65535u;
    for (unsigned i = 0; i < tries; ++i) {
        unsigned n = ((start + i) & span);
        if (n == 0) continue; // 0 is not a unique number
        char num[16];
        std::snprintf(num, sizeof num, "%0*X", hexDigits, n);
        std::string path = joinPath(folder, prefix + num + ext);
        if (file.open(path, OsFile::Mode::CreateNew)) return path;
        if (!file.existed()) break; // a missing folder or no access: no other number helps
    }
    return std::string();
}

} // namespace lx::mime
