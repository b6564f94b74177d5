// The certificate fingerprint (SHA-256 on the FIPS 180 examples), pinned fingerprints as people
// paste them, and the texts that say why a connection could not be secured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "netlib/core/sha256.h"
#include "netlib/core/tlstext.h"

namespace lx::net::test {
namespace {

std::string hex(const Sha256Digest& d) {
    std::string s = fingerprintText(d);
    s.erase(std::remove(s.begin(), s.end(), ':'), s.end());
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(Sha256, Fips180ExamplesAndPaddingBoundaries) {
    struct Case {
        std::string data;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        // The length fits after 55 bytes, not after 56; 64 fill a block exactly.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) EXPECT_EQ(hex(sha256(c.data)), c.digest) << c.data.size();
}

TEST(Fingerprint, ReadsTheFormsPeoplePasteAndNothingElse) {
    const Sha256Digest abc = sha256("abc");
    const std::string colons = fingerprintText(abc);
    EXPECT_EQ(colons.substr(0, 12), "BA:78:16:BF:");
    std::string blanks = colons;
    std::replace(blanks.begin(), blanks.end(), ':', ' ');
    const std::string lower = hex(abc);
    for (const std::string& good : {colons, blanks, lower}) {
        Sha256Digest d{};
        EXPECT_TRUE(parseFingerprint(good.c_str(), d)) << good;
        EXPECT_EQ(d, abc);
    }
    const std::string bad[] = {"",
                               lower.substr(0, 62),
                               lower + "00",
                               lower.substr(1) + "g",
                               "b:a7" + lower.substr(4),
                               lower.substr(0, 63) + ":0"};
    for (const std::string& b : bad) {
        Sha256Digest d{};
        EXPECT_FALSE(parseFingerprint(b.c_str(), d)) << b;
    }
    Sha256Digest d{};
    EXPECT_FALSE(parseFingerprint(nullptr, d));
}

TEST(TlsText, NamesTheReasonAndTheServer) {
    struct Case {
        std::uint32_t code;
        const char* has;
    };
    const Case cases[] = {
        {0x800B0101, "has expired"},                                         // CERT_E_EXPIRED
        {0x800B010F, "not made out for the host name \"mail.example.org\""}, // CERT_E_CN_NO_MATCH
        {0x800B0109, "not issued by an authority this computer trusts"},     // CERT_E_UNTRUSTEDROOT
        {0x80090331, "no TLS version or cipher in common"}, // SEC_E_ALGORITHM_MISMATCH
        {0x12345678, "reported error 0x12345678"},
    };
    for (const Case& c : cases) {
        const std::string t = tlsFailureText(c.code, "mail.example.org");
        EXPECT_EQ(t.rfind("Securing the connection failed: ", 0), 0u) << t;
        EXPECT_NE(t.find(c.has), std::string::npos) << t;
    }
    // A server name cannot stretch the text beyond what a host is handed.
    EXPECT_LT(tlsFailureText(0x800B010F, std::string(5000, 'x')).size(), 300u);
    EXPECT_NE(pinMismatchText(sha256("abc")).find(fingerprintText(sha256("abc"))),
              std::string::npos);
}

// The certificate is named only where trusting it would be a remedy the user may choose.
TEST(TlsText, CertificateFaultsAPinMendsNameTheFingerprint) {
    struct Case {
        std::uint32_t code;
        bool named;
    };
    const Case cases[] = {
        {0x800B0109, true},  {0x80090325, true},  {0x800B0112, true},  {0x800B010A, true},
        {0x800B010F, true},  {0x80090322, true},  {0x800B0101, false}, {0x80090328, false},
        {0x800B010C, false}, {0x80096004, false}, {0x800B0111, false}, {0x800B0110, false},
    };
    const Sha256Digest cert = sha256("certificate");
    const std::string suffix = "; its SHA-256 fingerprint is " + fingerprintText(cert);
    for (const Case& c : cases) {
        const std::string t = certificateFailureText(c.code, "h", cert);
        EXPECT_EQ(t.rfind(tlsFailureText(c.code, "h"), 0), 0u) << t;
        EXPECT_EQ(t.size() > suffix.size() &&
                      t.compare(t.size() - suffix.size(), suffix.size(), suffix) == 0,
                  c.named)
            << t;
    }
    const std::string mismatch = pinMismatchText(cert);
    EXPECT_EQ(mismatch.compare(mismatch.size() - suffix.size(), suffix.size(), suffix), 0);
}

TEST(TlsText, ChainFaultsWorstFirstAndUncheckedRevocationIgnored) {
    struct Case {
        std::uint32_t status, code;
    };
    const Case cases[] = {
        {0, 0},
        {0x40 | 0x01000000, 0},           // revocation unknown or offline: not asked for
        {0x20, 0x800B0109},               // untrusted root
        {0x10000, 0x800B010A},            // partial chain
        {0x01, 0x800B0101},               // expired
        {0x01 | 0x20, 0x800B0109},        // an untrusted root outweighs an expired leaf
        {0x08 | 0x20 | 0x01, 0x80096004}, // a bad signature outweighs everything
        {0x100, 0x800B010B},              // anything else wrong: not valid
    };
    for (const Case& c : cases) EXPECT_EQ(chainTrustError(c.status), c.code) << c.status;
    EXPECT_NE(tlsFailureText(0x800B010B, "h").find("chain is not valid"), std::string::npos);
}

} // namespace
} // namespace lx::net::test
