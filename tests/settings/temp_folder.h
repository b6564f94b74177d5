// A fresh installation folder per test, removed afterwards, with raw file helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lx_test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const char* name) const;

    void Write(const char* name, const std::vector<std::uint8_t>& bytes) const;
    std::vector<std::uint8_t> Read(const char* name) const;
    bool Exists(const char* name) const;

private:
    std::string path_;
};

// Little-endian pokes into a raw image.
void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::int16_t x);
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::int32_t x);
void PutText(std::vector<std::uint8_t>& v, std::size_t at, const char* text);
std::int16_t Get16(const std::vector<std::uint8_t>& v, std::size_t at);
std::int32_t Get32(const std::vector<std::uint8_t>& v, std::size_t at);
std::string GetText(const std::vector<std::uint8_t>& v, std::size_t at, std::size_t max);

} // namespace lx_test
