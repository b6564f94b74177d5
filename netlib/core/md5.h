// MD5 message digest (RFC 1321), for the APOP login.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::net {

class Md5 {
public:
    Md5();
    void update(const void* data, std::size_t len);
    std::array<std::uint8_t, 16> finish();

private:
    void block(const std::uint8_t* p);
    std::uint32_t h_[4];
    std::uint64_t total_ = 0;
    std::uint8_t pending_[64];
    std::size_t used_ = 0;
};

// The 32 lower-case hexadecimal digits of the MD5 digest of data.
std::string md5Hex(const std::string& data);

} // namespace lx::net
