// libFuzzer target: the scanner over an arbitrary incoming spool file. Attachments go to a
// private folder that is emptied after every input; nothing may be written outside it.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/common/fuzzutil.h"
#include "netlib/mime/scanner.h"

namespace {

std::string g_dir, g_attach, g_spool;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char tmpl[] = "/tmp/lxmime-fuzz-XXXXXX";
    if (!mkdtemp(tmpl)) abort();
    g_dir = tmpl;
    g_attach = g_dir + "/Data";
    g_spool = g_dir + "/TernPop3.Txt";
    mkdir(g_attach.c_str(), 0700);
    setenv("TMPDIR", g_attach.c_str(), 1); // files without an attachment folder land here too
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(g_spool.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    {
        // Half of the inputs use the attachment folder, half the temporary folder.
        lx::mime::Scanner scanner(g_spool, (size & 1) ? g_attach : std::string());
        int n = 0;
        for (const TernScanRecord* r = scanner.getFirst(); r && n < 10000;
             r = scanner.getNext(), ++n) {
            if (r->TextLength < 1 || r->TextLength > 32000) abort();
            if (std::strlen(r->Text) + 1 > static_cast<std::size_t>(r->TextLength) &&
                r->TextLength != 64)
                abort();
            if (r->ToCount > 32 || r->CcCount > 32 || r->FileCount > 12) abort();
            for (int i = 0; i < r->FileCount; ++i)
                if (std::strncmp(r->Files[i], g_attach.c_str(), g_attach.size()) != 0) abort();
            if (std::strlen(r->Subject) > 255 || std::strlen(r->From) > 79) abort();
        }
    }
    // Only the spool file and the attachment folder may exist beside each other.
    DIR* d = opendir(g_dir.c_str());
    while (dirent* e = readdir(d)) {
        const char* n = e->d_name;
        if (std::strcmp(n, ".") && std::strcmp(n, "..") && std::strcmp(n, "Data") &&
            std::strcmp(n, "TernPop3.Txt"))
            abort();
    }
    closedir(d);
    lxfuzz::EmptyFolder(g_attach);
    return 0;
}
