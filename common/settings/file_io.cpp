#include "common/settings/file_io.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lx {

long ReadFilePrefix(const std::string& path, std::uint8_t* buf, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return -1;
    std::size_t got = size == 0 ? 0 : std::fread(buf, 1, size, f);
    // A folder of that name opens on some systems but cannot be read: it is not a settings file.
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? -1 : static_cast<long>(got);
}

bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    // A failed flush on close means the bytes may not be on disk.
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::uint8_t chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return !failed;
}

bool ReplaceFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const std::string temp = path + ".tmp";
    if (!WriteFileBytes(temp, data, size)) {
        RemoveFile(temp);
        return false;
    }
    if (RenameFile(temp, path)) return true;
    RemoveFile(temp);
    return false;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

bool WrittenNoEarlier(const std::string& path, const std::string& other) {
    std::error_code ec;
    // Only files count: a folder of that name is no settings file.
    if (!std::filesystem::is_regular_file(path, ec) || !std::filesystem::is_regular_file(other, ec))
        return false;
    const auto mine = std::filesystem::last_write_time(path, ec);
    if (ec) return false;
    const auto theirs = std::filesystem::last_write_time(other, ec);
    return !ec && mine >= theirs;
}

} // namespace lx
