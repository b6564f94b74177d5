#include "tests/settings/temp_folder.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lx_test {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path p = fs::temp_directory_path() /
                     ("lxsettings-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempFolder::File(const char* name) const { return (fs::path(path_) / name).string(); }

void TempFolder::Write(const char* name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write test file");
}

std::vector<std::uint8_t> TempFolder::Read(const char* name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

bool TempFolder::Exists(const char* name) const { return fs::exists(File(name)); }

void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::int16_t x) {
    auto u = static_cast<std::uint16_t>(x);
    v.at(at) = static_cast<std::uint8_t>(u);
    v.at(at + 1) = static_cast<std::uint8_t>(u >> 8);
}

void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::int32_t x) {
    auto u = static_cast<std::uint32_t>(x);
    for (int i = 0; i < 4; ++i) v.at(at + i) = static_cast<std::uint8_t>(u >> (8 * i));
}

void PutText(std::vector<std::uint8_t>& v, std::size_t at, const char* text) {
    std::size_t n = std::strlen(text);
    for (std::size_t i = 0; i < n; ++i) v.at(at + i) = static_cast<std::uint8_t>(text[i]);
}

std::int16_t Get16(const std::vector<std::uint8_t>& v, std::size_t at) {
    return static_cast<std::int16_t>(v.at(at) | (v.at(at + 1) << 8));
}

std::int32_t Get32(const std::vector<std::uint8_t>& v, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | v.at(at + i);
    return static_cast<std::int32_t>(u);
}

std::string GetText(const std::vector<std::uint8_t>& v, std::size_t at, std::size_t max) {
    std::string s;
    for (std::size_t i = 0; i < max && v.at(at + i) != 0; ++i) s += static_cast<char>(v.at(at + i));
    return s;
}

} // namespace lx_test
