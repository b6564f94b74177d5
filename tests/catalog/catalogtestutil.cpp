#include "tests/catalog/catalogtestutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/catalog/catalogbuild.h"
#include "common/catalog/catalogformat.h"

namespace fs = std::filesystem;

namespace lxtest {

std::string ScratchDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("lx-catalog-tests-" + name);
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    return dir.string();
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void WriteFile(const std::string& path, const std::string& text) {
    WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return fs::exists(path); }

std::string EnvDir(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::string();
    std::string dir(value);
#ifdef _WIN32
    if (dir[0] == '/') dir = "Z:" + dir;
#endif
    return dir;
}

std::vector<uint8_t> RawCatalogue(const std::vector<RawModule>& modules, const std::string& magic) {
    lx::CatalogHeader header;
    std::memcpy(header.magic.data(), magic.data(), std::min(magic.size(), lx::kCatalogMagicSize));
    std::string body;
    for (size_t i = 0; i < modules.size() && i < lx::kCatalogModuleSlots; ++i) {
        const RawModule& m = modules[i];
        std::memcpy(header.names[i].data(), m.name.data(),
                    std::min(m.name.size(), lx::kCatalogModuleNameSize));
        header.offsets[i] = static_cast<int32_t>(lx::kCatalogHeaderSize + body.size());
        header.counts[i] = static_cast<int16_t>(m.count);
        body += m.lines;
    }
    std::vector<uint8_t> bytes(lx::kCatalogHeaderSize);
    lx::EncodeCatalogHeader(header, bytes.data());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::vector<uint8_t> BuiltCatalogue(const std::string& source) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(lx::BuildCatalogue(source, bytes, error)) << error;
    return bytes;
}

} // namespace lxtest
