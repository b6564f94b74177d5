// The TLS layer against OpenSSL echo servers on loopback (tools/testpeers/tlspeers.sh): the
// certificates of a test authority that the test makes trusted for its run, a good one, an
// expired one and one made out for another host, and pinned fingerprints.
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "common/win/handles.h"
#include "netlib/core/sha256.h"
#include "netlib/win/tlschannel.h"
#include "tests/netlib/win/tlsclient.h"

namespace lx::net::test {
namespace {

std::string stateFile(const std::string& name) {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/tlspeers/" + name;
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

struct StoreRelease : release::NonNull<HCERTSTORE> {
    static void Free(HCERTSTORE h) { CertCloseStore(h, 0); }
};
struct CertRelease : release::NonNull<PCCERT_CONTEXT> {
    static void Free(PCCERT_CONTEXT c) { CertFreeCertificateContext(c); }
};
// The test authority is trusted by the current user while the tests run.
class TrustedAuthority : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA wsa;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
        const std::string pem = readFile(stateFile("ca.pem"));
        ASSERT_FALSE(pem.empty()) << "no test authority; are the TLS test servers running?";
        DWORD len = 0;
        ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &len,
                                         nullptr, nullptr));
        std::string der(len, '\0');
        ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER,
                                         reinterpret_cast<BYTE*>(&der[0]), &len, nullptr, nullptr));
        store_.Reset(
            CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root"));
        ASSERT_TRUE(store_.Valid());
        PCCERT_CONTEXT added = nullptr;
        ASSERT_TRUE(CertAddEncodedCertificateToStore(store_.Get(), X509_ASN_ENCODING,
                                                     reinterpret_cast<const BYTE*>(der.data()), len,
                                                     CERT_STORE_ADD_REPLACE_EXISTING, &added));
        ca_.Reset(added);
        // Written to the registry now, where the chain engine looks for trusted authorities.
        ASSERT_TRUE(CertControlStore(store_.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr));
    }
    void TearDown() override {
        // Deleting frees the context it is given.
        if (ca_.Valid()) CertDeleteCertificateFromStore(ca_.Release());
        if (store_.Valid()) CertControlStore(store_.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
        WSACleanup();
    }

private:
    UniqueOwner<StoreRelease> store_;
    UniqueOwner<CertRelease> ca_;
};

Sha256Digest fingerprintOf(const char* server) {
    return sha256(readFile(stateFile(std::string(server) + ".der")));
}

struct Case {
    const char* what;
    const char* address;
    const char* pinOf;   // the server whose certificate is pinned, or null
    const char* failure; // a fragment of the reason, or null: secured
};

TEST(TlsChannel, ChecksTheServersCertificate) {
    const Case cases[] = {
        {"trusted certificate for the name", "127.0.0.41", nullptr, nullptr},
        {"expired certificate", "127.0.0.42", nullptr, "has expired or is not yet valid"},
        {"certificate for another host", "127.0.0.43", nullptr,
         "not made out for the host name \"localhost\""},
        {"pinned certificate for another host", "127.0.0.43", "othername", nullptr},
        {"certificate other than the pinned one", "127.0.0.41", "othername",
         "is not the pinned one"},
        {"pinned but expired certificate", "127.0.0.42", "expired",
         "has expired or is not yet valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Client client;
        ASSERT_TRUE(client.connect(c.address));
        const Sha256Digest pin = c.pinOf ? fingerprintOf(c.pinOf) : Sha256Digest{};
        TlsChannel tls("localhost", c.pinOf ? &pin : nullptr);
        const std::string failure = secure(tls, client);
        if (c.failure) {
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
            EXPECT_EQ(failure.rfind("Securing the connection failed: ", 0), 0u) << failure;
            continue;
        }
        ASSERT_EQ(failure, "");
        EXPECT_EQ(echo(tls, client, "hello lorvex\n"), "xevrol olleh\n");
        // A line of several network packets, whose answer comes in pieces.
        const std::string longLine(5000, 'q');
        EXPECT_EQ(echo(tls, client, longLine + "z\n"), "z" + longLine + "\n");
    }
}

const ::testing::Environment* const kAuthority =
    ::testing::AddGlobalTestEnvironment(new TrustedAuthority);

} // namespace
} // namespace lx::net::test
