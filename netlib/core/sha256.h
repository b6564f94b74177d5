// SHA-256 (FIPS 180-4), for the fingerprint of a server's certificate.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::net {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest sha256(const void* data, std::size_t len);
inline Sha256Digest sha256(const std::string& data) { return sha256(data.data(), data.size()); }

// A pinned fingerprint as people copy it: 64 hexadecimal digits, either case, optionally in pairs
// separated by colons or blanks ("AB:CD:..."). False when the text is no such fingerprint.
bool parseFingerprint(const char* text, Sha256Digest& out);
// The digest as upper-case pairs joined by colons, the way certificate viewers show it.
std::string fingerprintText(const Sha256Digest& digest);

} // namespace lx::net
