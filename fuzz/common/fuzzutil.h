// Helpers shared by the fuzz targets: a checked property that names itself when it fails, and a
// private scratch folder for targets whose readers take a file path.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

// A property of the code under test: a failure is a finding, reported with its line.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "property failed at %s:%d: %s\n", __FILE__, __LINE__, #cond);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace lxfuzz {

// Removes every file in the folder (not the folder itself).
inline void EmptyFolder(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        unlink((folder + "/" + e->d_name).c_str());
    }
    closedir(d);
}

// A folder of the target's own under /tmp, made once per process and emptied between inputs.
class ScratchFolder {
public:
    ScratchFolder() {
        char tmpl[] = "/tmp/lxfuzz-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        path_ = tmpl;
    }
    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "/" + name; }
    // Creates or replaces the file with these bytes.
    void Write(const char* name, const void* data, std::size_t size) const {
        std::FILE* f = std::fopen(File(name).c_str(), "wb");
        if (!f) std::abort();
        if (size && std::fwrite(data, 1, size, f) != size) std::abort();
        std::fclose(f);
    }
    // Reads the whole file; false when it is not there.
    bool Read(const char* name, std::string& bytes) const {
        bytes.clear();
        std::FILE* f = std::fopen(File(name).c_str(), "rb");
        if (!f) return false;
        char block[4096];
        std::size_t got;
        while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, got);
        std::fclose(f);
        return true;
    }
    bool Exists(const char* name) const { return access(File(name).c_str(), F_OK) == 0; }
    void Empty() const { EmptyFolder(path_); }

private:
    std::string path_;
};

// The target's one scratch folder, made at its first use.
inline const ScratchFolder& Scratch() {
    static const ScratchFolder folder;
    return folder;
}

// Whether two records have the same bytes once encoded (N bytes) by encode(record, image).
template <std::size_t N, class Rec, class Encode>
bool SameImage(const Rec& a, const Rec& b, Encode encode) {
    std::uint8_t x[N], y[N];
    encode(a, x);
    encode(b, y);
    return std::memcmp(x, y, N) == 0;
}

// The text of a fixed field is terminated within it.
template <std::size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

} // namespace lxfuzz
