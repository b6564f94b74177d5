#include "mailer/ui/logic/logtext.h"

#include <cstdio>
#ifdef _WIN32
#include <share.h>
#endif

namespace lx {

bool ReadLogForView(const std::string& path, std::string& text) {
#ifdef _WIN32
    // No sharing: a check run cannot append while the log is being read.
    std::FILE* f = _fsopen(path.c_str(), "rb", _SH_DENYRW);
#else
    std::FILE* f = std::fopen(path.c_str(), "rb");
#endif
    if (!f) return false;
    char block[kLogBlockSize + 1];
    for (;;) {
        const size_t got = std::fread(block, 1, kLogBlockSize, f);
        if (got == 0) break;
        // The edit control takes text up to a NUL; a NUL byte in the log ends its block there.
        block[got] = '\0';
        text.append(block);
    }
    std::fclose(f);
    return true;
}

} // namespace lx
