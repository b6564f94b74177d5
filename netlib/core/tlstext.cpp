#include "netlib/core/tlstext.h"

#include <cstdio>

namespace lx::net {
namespace {

const char kPrefix[] = "Securing the connection failed: ";
// What ends a reason that names the certificate the user may choose to trust.
const char kFingerprintIs[] = "; its SHA-256 fingerprint is ";

// Certificate faults a pinned certificate stands in for: an issuer not trusted here, a chain
// that ends short of an authority, a name other than the server's.
bool pinMends(std::uint32_t code) {
    switch (code) {
    case 0x800B0109:
    case 0x80090325:
    case 0x800B0112:
    case 0x800B010A:
    case 0x800B010F:
    case 0x80090322: return true;
    default: return false;
    }
}

struct Reason {
    std::uint32_t code;
    const char* text; // %s: the server's name
};

// The codes of the certificate checks (CERT_E_*, TRUST_E_*) and of the handshake (SEC_E_*).
const Reason kReasons[] = {
    {0x800B0101, "the server's certificate has expired or is not yet valid"},
    {0x80090328, "the server's certificate has expired or is not yet valid"},
    {0x800B010F, "the server's certificate is not made out for the host name \"%s\""},
    {0x80090322, "the server's certificate is not made out for the host name \"%s\""},
    {0x800B0109, "the server's certificate was not issued by an authority this computer trusts"},
    {0x80090325, "the server's certificate was not issued by an authority this computer trusts"},
    {0x800B0112, "the server's certificate was not issued by an authority this computer trusts"},
    {0x800B010A, "the server's certificate chain does not lead to a trusted authority"},
    {0x800B010C, "the server's certificate has been revoked"},
    {0x800B0110, "the server's certificate is not meant for a mail server"},
    {0x80096004, "the signature on the server's certificate is not valid"},
    {0x800B0102, "the validity dates of the server's certificate chain do not nest"},
    {0x800B0111, "the server's certificate is explicitly distrusted on this computer"},
    {0x80090331, "the server and this computer have no TLS version or cipher in common"},
    {0x80090326, "the server's TLS messages could not be understood"},
    {0x80090330, "a TLS record from the server could not be decrypted"},
    {0x8009030F, "a TLS record from the server has been altered"},
    {0x80090327, "the server asked for a client certificate, which this program does not have"},
    {0x80090304, "the system's TLS layer failed (an internal error)"},
    {0x8009030E, "the system's TLS layer has no credentials to offer"},
    {0x800B010B, "the server's certificate chain is not valid"},
};

// Trust status bits of a certificate chain and the check codes they stand for, worst first.
struct TrustBit {
    std::uint32_t bit;
    std::uint32_t code;
};
const TrustBit kTrustBits[] = {
    {0x00000008, 0x80096004}, // not signature valid
    {0x00000004, 0x800B010C}, // revoked
    {0x04000000, 0x800B0111}, // explicitly distrusted
    {0x00000020, 0x800B0109}, // untrusted root
    {0x00010000, 0x800B010A}, // partial chain
    {0x00000001, 0x800B0101}, // not time valid
    {0x00000010, 0x800B0110}, // not valid for the usage
    {0x00000002, 0x800B0102}, // validity periods do not nest
};
// Revocation status unknown, revocation offline: revocation is not checked.
constexpr std::uint32_t kIgnoredBits = 0x00000040 | 0x01000000;
constexpr std::uint32_t kTrustFail = 0x800B010B;

} // namespace

std::string tlsFailureText(std::uint32_t code, const std::string& server) {
    char buf[256];
    for (const Reason& r : kReasons) {
        if (r.code != code) continue;
        std::snprintf(buf, sizeof buf, r.text, server.substr(0, 80).c_str());
        return kPrefix + std::string(buf);
    }
    std::snprintf(buf, sizeof buf, "the system's TLS layer reported error 0x%08X",
                  static_cast<unsigned>(code));
    return kPrefix + std::string(buf);
}

std::uint32_t chainTrustError(std::uint32_t trustStatus) {
    for (const TrustBit& t : kTrustBits)
        if (trustStatus & t.bit) return t.code;
    return (trustStatus & ~kIgnoredBits) ? kTrustFail : 0;
}

std::string pinMismatchText(const Sha256Digest& actual) {
    return kPrefix + std::string("the server's certificate is not the pinned one") +
           kFingerprintIs + fingerprintText(actual);
}

std::string certificateFailureText(std::uint32_t code, const std::string& server,
                                   const Sha256Digest& certificate) {
    std::string text = tlsFailureText(code, server);
    if (pinMends(code)) text += kFingerprintIs + fingerprintText(certificate);
    return text;
}

std::string tlsFailureText(const char* reason) { return kPrefix + std::string(reason); }

} // namespace lx::net
