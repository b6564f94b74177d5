// Services by name, thread-mode comm and UDP server sockets, the UDP transfer buffer, under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "netlib/tern32.h"
#include "tests/netlib/win/connected.h"
#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {
namespace {

constexpr UINT kMsg = WM_USER + 340;
// A service of the platform's services list with the same port for TCP and UDP.
const char kService[] = "ms-theater";
constexpr int kServicePort = 2460;
constexpr int kUdpPort = 47316;

class Services : public StartedLibrary {};

// A client reaches a server by service name; the accepted connection reports to a thread. Only
// the thread-mode host waits while thread messages are due: a window-mode host's wait would not
// keep them.
TEST_F(Services, StreamConnectsByServiceNameIntoAThreadModeCommSocket) {
    HostQueue server(kMsg, {}), client(kMsg + 1, {}), comm(kMsg + 2, {}, false);
    TERNHANDLE hs = 0, hc = 0, hk = 0;
    ASSERT_EQ(TERNCreateStreamServerWindow(kServicePort, server.window(), server.message(), &hs),
              0);
    ASSERT_EQ(TERNCreateStreamCommThread(comm.thread(), comm.message(), &hk), 0);
    ASSERT_EQ(TERNCreateStreamClientWindow(client.window(), client.message(), &hc), 0);
    ASSERT_EQ(TERNStreamConnectToService(hc, "127.0.0.1", kService), 0);
    ASSERT_TRUE(server.waitForCode(TERN_STREAM_ACCEPT, 5000));
    ASSERT_EQ(TERNStreamAccept(hs, hk), 0);
    ASSERT_TRUE(comm.waitForCode(TERN_STREAM_CONNECT, 5000));
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_CONNECT, 5000));
    ASSERT_EQ(TERNStreamWrite(hc, "by name", 7), 0);
    ASSERT_TRUE(comm.waitForCode(TERN_STREAM_DATA, 5000));
    EXPECT_EQ(comm.events.back().value, 7);
    char buf[16] = {};
    ASSERT_EQ(TERNStreamRead(hk, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "by name");
    char ip[20];
    EXPECT_EQ(TERNStreamGetClientIP(hk, ip), 0);
    EXPECT_STREQ(ip, "127.0.0.1");
    EXPECT_EQ(TERNCloseStream(hc), 0);
    EXPECT_EQ(TERNCloseStream(hk), 0);
    EXPECT_EQ(TERNCloseStream(hs), 0);
}

TEST_F(Services, UnknownServicesAndMissingHandlesAreRefused) {
    HostQueue host(kMsg, {});
    TERNHANDLE hc = 0, hu = 0;
    ASSERT_EQ(TERNCreateStreamClientWindow(host.window(), kMsg, &hc), 0);
    ASSERT_EQ(TERNCreateUDPClient1(host.window(), kMsg, &hu), 0);
    EXPECT_EQ(TERNStreamConnectToService(hc, "127.0.0.1", "no-such-service"), -2);
    const LastError stream = lastStreamError(hc);
    EXPECT_NE(stream.code, TERN_ERR_NONE);
    EXPECT_NE(stream.code, -1);
    EXPECT_EQ(TERNUDPWriteToService(hu, "x", 1, "127.0.0.1", "no-such-service"), -2);
    const LastError udp = lastUdpError(hu);
    EXPECT_NE(udp.code, TERN_ERR_NONE);
    EXPECT_NE(udp.code, -1);
    EXPECT_EQ(TERNStreamConnectToService(0, "127.0.0.1", kService), -4);
    EXPECT_EQ(TERNUDPWriteToService(hc, "x", 1, "127.0.0.1", kService), -4); // a stream handle
    EXPECT_EQ(TERNSetUDPBufferSize(hc, 4096), -4);
    EXPECT_EQ(TERNCloseStream(hc), 0);
    EXPECT_EQ(TERNCloseUDP(hu), 0);
    TERNEndWinSock();
    EXPECT_EQ(TERNStreamConnectToService(hc, "127.0.0.1", kService), -1);
    EXPECT_EQ(TERNUDPWriteToService(hu, "x", 1, "127.0.0.1", kService), -1);
    EXPECT_EQ(TERNSetUDPBufferSize(hu, 4096), -1);
    EXPECT_EQ(TERNCreateStreamCommThread(GetCurrentThreadId(), kMsg, &hc), -1);
    EXPECT_EQ(TERNCreateUDPServer2(kUdpPort, GetCurrentThreadId(), kMsg, &hu), -1);
}

TEST_F(Services, UdpDatagramByServiceNameToAThreadModeServer) {
    HostQueue server(kMsg, {}, false), client(kMsg + 1, {});
    TERNHANDLE hs = 0, hc = 0;
    ASSERT_EQ(TERNCreateUDPServer2(kServicePort, server.thread(), server.message(), &hs), 0);
    ASSERT_EQ(TERNCreateUDPClient1(client.window(), client.message(), &hc), 0);
    ASSERT_EQ(TERNUDPWriteToService(hc, "ping", 4, "127.0.0.1", kService), 0);
    ASSERT_TRUE(server.waitForCode(TERN_UDP_DATA, 5000));
    EXPECT_EQ(server.events.back().value, 4);
    char buf[16] = {};
    unsigned char from[16];
    ASSERT_EQ(TERNUDPRead(hs, buf, sizeof buf, from), 0);
    EXPECT_STREQ(buf, "ping");
    ASSERT_TRUE(client.waitForCode(TERN_UDP_SENT, 5000));
    EXPECT_EQ(client.events.back().value, 4);
    EXPECT_EQ(TERNCloseUDP(hc), 0);
    EXPECT_EQ(TERNCloseUDP(hs), 0);
}

// A datagram is cut to the sender's transfer buffer; the buffer only grows.
TEST_F(Services, UdpBufferSizeBoundsDatagramsAndOnlyGrows) {
    UdpPair u(kMsg);
    ASSERT_TRUE(u.open(kUdpPort));
    auto& [server, client, hs, hc] = u;
    ASSERT_EQ(TERNSetUDPBufferSize(hs, 4096), 0);
    const std::string big(1500, 'u');
    struct Case {
        int clientBuffer; // 0: leave it
        LPARAM arrives;
    };
    for (const Case c : {Case{0, 1024}, Case{4096, 1500}, Case{100, 1500}}) {
        SCOPED_TRACE(c.clientBuffer);
        if (c.clientBuffer) {
            ASSERT_EQ(TERNSetUDPBufferSize(hc, c.clientBuffer), 0);
        }
        server.events.clear();
        ASSERT_EQ(
            TERNUDPWriteToPort(hc, big.data(), static_cast<int>(big.size()), "127.0.0.1", kUdpPort),
            0);
        ASSERT_TRUE(server.waitForCode(TERN_UDP_DATA, 5000));
        EXPECT_EQ(server.events.back().value, c.arrives);
        char buf[2048];
        ASSERT_EQ(TERNUDPRead(hs, buf, sizeof buf, nullptr), 0);
        EXPECT_EQ(std::string(buf, static_cast<std::size_t>(c.arrives)),
                  big.substr(0, static_cast<std::size_t>(c.arrives)));
    }
    EXPECT_EQ(TERNCloseUDP(hc), 0);
    EXPECT_EQ(TERNCloseUDP(hs), 0);
}

} // namespace
} // namespace lx::net::test
