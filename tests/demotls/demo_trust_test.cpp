// The demo's certificates as Schannel sees them: an echo server on 127.0.0.46 presents the
// demo's server certificate, whose authority the fixture (tools/demo/trustpeer.sh) trusts in
// the prefix through the registry file the demo imports. No pin: the system's chain and name
// checks alone decide.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "netlib/win/tlschannel.h"
#include "tests/netlib/win/tlsclient.h"

namespace lx::net::test {
namespace {

class Winsock : public ::testing::Environment {
public:
    void SetUp() override {
        WSADATA wsa;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    }
    void TearDown() override { WSACleanup(); }
};

struct Case {
    const char* what;
    const char* serverName; // the name the client asks the certificate to carry
    const char* failure;    // a fragment of the reason, or null: secured
};

TEST(DemoCertificates, ServerCertificateIsTrustedForItsAddress) {
    const Case cases[] = {
        {"the demo server's address", "127.0.0.46", nullptr},
        {"another loopback address", "127.0.0.47", "not made out for the host name \"127.0.0.47\""},
        {"a host name", "localhost", "not made out for the host name \"localhost\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Client client;
        ASSERT_TRUE(client.connect("127.0.0.46"));
        TlsChannel tls(c.serverName, nullptr);
        const std::string failure = secure(tls, client);
        if (c.failure) {
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
            continue;
        }
        ASSERT_EQ(failure, "");
        EXPECT_EQ(echo(tls, client, "demo over tls\n"), "slt revo omed\n");
    }
}

const ::testing::Environment* const kWinsock = ::testing::AddGlobalTestEnvironment(new Winsock);

} // namespace
} // namespace lx::net::test
