// The scanner benchmark: TERNMimeScan* over a spool file, every record taken, attachments
// written to the output folder. Natively it links the scanner; on Windows it loads TERN32.dll
// and calls its exports, so the figure is the DLL's. Prints seconds, MB/s, messages and files.
// Usage: bench_scan SPOOL OUT_FOLDER
#include <chrono>
#include <cstdio>
#include <fstream>

#include "netlib/mime/ternmime.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Api {
    int32_t(TERNMIME_API* start)(const char*, const char*, TernMimeHandle*);
    int32_t(TERNMIME_API* count)(TernMimeHandle, int32_t*);
    TernScanRecord*(TERNMIME_API* first)(TernMimeHandle);
    TernScanRecord*(TERNMIME_API* next)(TernMimeHandle);
    int32_t(TERNMIME_API* close)(TernMimeHandle);
};

bool loadApi(Api& api) {
#ifdef _WIN32
    HMODULE dll = LoadLibraryA("TERN32.dll");
    if (!dll) {
        std::fprintf(stderr, "TERN32.dll not found\n");
        return false;
    }
    api.start = reinterpret_cast<decltype(api.start)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "TERNMimeScanStart")));
    api.count = reinterpret_cast<decltype(api.count)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "TERNMimeScanNumMessages")));
    api.first = reinterpret_cast<decltype(api.first)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "TERNMimeScanGetFirst")));
    api.next = reinterpret_cast<decltype(api.next)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "TERNMimeScanGetNext")));
    api.close = reinterpret_cast<decltype(api.close)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "TERNMimeScanClose")));
    return api.start && api.count && api.first && api.next && api.close;
#else
    api = Api{TERNMimeScanStart, TERNMimeScanNumMessages, TERNMimeScanGetFirst, TERNMimeScanGetNext,
              TERNMimeScanClose};
    return true;
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_scan SPOOL OUT_FOLDER\n");
        return 2;
    }
    Api api{};
    if (!loadApi(api)) return 1;
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    const double bytes = static_cast<double>(in.tellg());
    in.close();
    const auto t0 = std::chrono::steady_clock::now();
    TernMimeHandle h = 0;
    if (api.start(argv[1], argv[2], &h) != 0) return 1;
    int32_t count = 0;
    api.count(h, &count);
    long messages = 0, files = 0, textBytes = 0;
    for (TernScanRecord* r = api.first(h); r; r = api.next(h)) {
        ++messages;
        files += r->FileCount;
        textBytes += r->TextLength;
    }
    api.close(h);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%s %.3f s %.1f MB/s %ld messages %ld files (%d announced, %ld text bytes)\n",
#ifdef _WIN32
                "lorvex-TERN32.dll",
#else
                "lorvex-native",
#endif
                secs, bytes / secs / 1e6, messages, files, count, textBytes);
    return messages == count ? 0 : 1;
}
