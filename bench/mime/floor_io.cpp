// The platform's floor for the scanner benchmark: only the input and output the scanner cannot
// avoid, with no parsing. It reads the spool in the scanner's block size and creates, writes and
// closes the same files the scanner wrote (their contents loaded before the clock starts), one
// by one in the same folder. Under Wine this is what file creation and writing cost by themselves.
// Usage: floor_io SPOOL REFERENCE_FOLDER OUT_FOLDER
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlock = 256 * 1024;

struct Output {
    std::string name;
    std::string bytes;
};

#ifdef _WIN32
bool readAll(const char* path, std::vector<char>& block, double& total) {
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    while (ReadFile(h, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got > 0)
        total += got;
    CloseHandle(h);
    return true;
}

bool writeNew(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    for (std::size_t at = 0; at < bytes.size(); at += 64 * 1024) {
        const DWORD n = static_cast<DWORD>(std::min<std::size_t>(64 * 1024, bytes.size() - at));
        DWORD put = 0;
        WriteFile(h, bytes.data() + at, n, &put, nullptr);
    }
    CloseHandle(h);
    return true;
}
#else
bool readAll(const char* path, std::vector<char>& block, double& total) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), f)) > 0) total += double(got);
    std::fclose(f);
    return true;
}

bool writeNew(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f) return false;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return true;
}
#endif

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: floor_io SPOOL REFERENCE_FOLDER OUT_FOLDER\n");
        return 2;
    }
    std::vector<Output> outputs;
    for (const auto& entry : fs::directory_iterator(argv[2])) {
        std::ifstream in(entry.path(), std::ios::binary);
        outputs.push_back({entry.path().filename().string(),
                           std::string(std::istreambuf_iterator<char>(in), {})});
    }
    std::vector<char> block(kBlock);
    double bytes = 0;
    const auto t0 = std::chrono::steady_clock::now();
    if (!readAll(argv[1], block, bytes)) return 1;
    long written = 0;
    for (const Output& o : outputs) written += writeNew(std::string(argv[3]) + "/" + o.name, o.bytes);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
#ifdef _WIN32
    const char* name = "floor-io-wine";
#else
    const char* name = "floor-io-native";
#endif
    std::printf("%s %.3f s %.1f MB/s %ld files\n", name, secs, bytes / secs / 1e6, written);
    return written == static_cast<long>(outputs.size()) ? 0 : 1;
}
