// MD5 message digest (RFC 1321) and HMAC-MD5 (RFC 2104), for the APOP and CRAM-MD5 logins.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::net {

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
public:
    Md5();
    void update(const void* data, std::size_t len);
    Md5Digest finish();

private:
    void block(const std::uint8_t* p);
    std::uint32_t h_[4];
    std::uint64_t total_ = 0;
    std::uint8_t pending_[64];
    std::size_t used_ = 0;
};

// The 32 lower-case hexadecimal digits of a digest.
std::string digestHex(const Md5Digest& digest);
// The 32 lower-case hexadecimal digits of the MD5 digest of data.
std::string md5Hex(const std::string& data);
// HMAC-MD5 of data under key (a key longer than the 64-byte block is digested first).
Md5Digest hmacMd5(const std::string& key, const std::string& data);

} // namespace lx::net
