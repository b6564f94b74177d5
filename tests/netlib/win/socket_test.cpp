// The library frame and the socket layer under Wine: start and end, error texts, reply
// addresses, stream sockets against the library's own server socket, UDP, refused connections.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "netlib/tern32.h"
#include "tests/netlib/win/connected.h"
#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {
namespace {

constexpr UINT kMsg = WM_USER + 300;
constexpr int kStreamPort = 47311;
constexpr int kUdpPort = 47312;

class Library : public StartedLibrary {};

TEST(Frame, SocketExportsBeforeStartAndAfterEndReturnMinus1) {
    TERNHANDLE h = 0;
    char text[TERN_ERRTEXT_SIZE];
    int code = 0;
    char addr[16];
    auto allRefused = [&] {
        EXPECT_EQ(TERNCreateStreamClientWindow(nullptr, kMsg, &h), -1);
        EXPECT_EQ(TERNCreateStreamServerThread(kStreamPort, GetCurrentThreadId(), kMsg, &h), -1);
        EXPECT_EQ(TERNCreateUDPClient2(GetCurrentThreadId(), kMsg, &h), -1);
        EXPECT_EQ(TERNStreamWrite(1, "x", 1), -1);
        EXPECT_EQ(TERNStreamRead(1, text, 1), -1);
        EXPECT_EQ(TERNUDPWriteToPort(1, "x", 1, "127.0.0.1", 9), -1);
        EXPECT_EQ(TERNLastWinSockError(&code, text), -1);
        EXPECT_EQ(TERNMakeReplyAddr("127.0.0.1", 9, addr), -1);
        EXPECT_EQ(TERNGetMyName(text, text), -1);
    };
    allRefused();
    EXPECT_EQ(h, 0u);
    ASSERT_EQ(TERNStartWinSock(257), 1);
    EXPECT_EQ(TERNStartWinSock(257), 1); // a second start changes nothing
    EXPECT_EQ(TERNVersion(), TERN_VERSION);
    EXPECT_EQ(TERNLastWinSockError(&code, text), 0);
    EXPECT_EQ(code, TERN_ERR_NONE);
    EXPECT_STREQ(text, "No error at this time");
    EXPECT_EQ(TERNEndWinSock(), 1);
    allRefused();
}

// The library's windows only receive messages: they are found among the message-only windows
// by class and title, are never visible, and go away with the library or the session.
TEST(Frame, HiddenWindowsAreMessageOnlyAndNeverShown) {
    auto find = [](const char* cls, const char* title) {
        return FindWindowExA(HWND_MESSAGE, nullptr, cls, title);
    };
    ASSERT_EQ(find("TERN_WINSOCK", nullptr), nullptr);
    ASSERT_EQ(TERNStartWinSock(257), 1);
    const HWND dispatch = find("TERN_WINSOCK", "WinSock Message");
    ASSERT_NE(dispatch, nullptr);
    EXPECT_FALSE(IsWindowVisible(dispatch));
    EXPECT_NE(GetAncestor(dispatch, GA_PARENT), GetDesktopWindow()); // not a top-level window
    TERNHANDLE pop = 0, smtp = 0;
    ASSERT_EQ(TERNPOP3StartThread(GetCurrentThreadId(), kMsg, "unused.txt", &pop), 0);
    ASSERT_EQ(TERNSMTPStartThread(GetCurrentThreadId(), kMsg, "unused.txt", &smtp), 0);
    const HWND popWindow = find("TERN_POP3WIND", "POP3 Message");
    ASSERT_NE(popWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(popWindow));
    EXPECT_NE(find("TERN_SMTPWIND", "SMTP Message"), nullptr);
    EXPECT_EQ(TERNPOP3Close(pop), 0);
    EXPECT_EQ(TERNSMTPClose(smtp), 0);
    EXPECT_EQ(find("TERN_POP3WIND", nullptr), nullptr);
    EXPECT_EQ(find("TERN_SMTPWIND", nullptr), nullptr);
    EXPECT_EQ(TERNEndWinSock(), 1);
    EXPECT_EQ(find("TERN_WINSOCK", nullptr), nullptr);
}

TEST_F(Library, WinSockInfoAndHostNames) {
    WORD high = 0, maxSockets = 0, maxDg = 0;
    char desc[257], status[129], vendor[257] = "x";
    EXPECT_EQ(TERNGetWinSockInfo(&high, desc, status, &maxSockets, &maxDg, vendor), 0);
    EXPECT_NE(high, 0);
    EXPECT_STREQ(vendor, "");
    char name[40], addrs[128];
    EXPECT_EQ(TERNGetMyName(name, addrs), 0);
    EXPECT_GT(std::strlen(name), 0u);
    EXPECT_GT(std::strlen(addrs), 6u);
    EXPECT_EQ(std::strchr(addrs, ' '), nullptr);
    EXPECT_EQ(TERNGetServerIP("127.0.0.7", addrs), 0);
    EXPECT_STREQ(addrs, "127.0.0.7");
}

TEST_F(Library, ReplyAddressRoundTrip) {
    unsigned char a[16];
    std::memset(a, 0xEE, sizeof a);
    ASSERT_EQ(TERNMakeReplyAddr("127.0.0.5", 2500, a), 0);
    const unsigned char expect[16] = {2, 0, 0x09, 0xC4, 127, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(a, expect, 16), 0);
    char text[20];
    EXPECT_EQ(TERNIPFromReplyAddr(a, text), 0);
    EXPECT_STREQ(text, "127.0.0.5");
    EXPECT_EQ(TERNMakeReplyAddr("127.0.0.5", 0, a), -2);
    EXPECT_EQ(TERNMakeReplyAddr(nullptr, 25, a), -2);
    EXPECT_EQ(TERNIPFromReplyAddr(nullptr, text), -2);
}

TEST_F(Library, ConnectingToAClosedPortGives15012With10061) {
    for (bool windowMode : {true, false}) {
        HostQueue host(kMsg, {}, windowMode);
        TERNHANDLE c = 0;
        const int r = windowMode ? TERNCreateStreamClientWindow(host.window(), kMsg, &c)
                                 : TERNCreateStreamClientThread(host.thread(), kMsg, &c);
        ASSERT_EQ(r, 0);
        ASSERT_EQ(TERNStreamConnectToPort(c, "127.0.0.1", 1), 0);
        ASSERT_TRUE(host.waitForCode(TERN_SOCKET_ERROR, 5000));
        host.idle(100);
        EXPECT_EQ(host.count(TERN_STREAM_CONNECT), 0);
        const LastError e = lastStreamError(c);
        EXPECT_EQ(e.code, 10061);
        EXPECT_EQ(e.text, "WinSock error 10061: Connection refused");
        EXPECT_EQ(TERNCloseStream(c), 0);
    }
}

TEST_F(Library, StreamServerCommAndClient) {
    Connection c(kMsg);
    ASSERT_TRUE(c.open(kStreamPort));
    auto& [server, comm, client, hs, hk, hc] = c;
    EXPECT_EQ(TERNStreamAccept(hc, hk), -2); // not a server
    EXPECT_EQ(lastStreamError(hc).code, TERN_ERR_NOTSERVER);

    char ip[20];
    EXPECT_EQ(TERNStreamGetClientIP(hk, ip), 0);
    EXPECT_STREQ(ip, "127.0.0.1");
    EXPECT_EQ(TERNStreamGetClientIP(hc, ip), -2);

    // A read with nothing queued.
    char buf[2048];
    EXPECT_EQ(TERNStreamRead(hk, buf, sizeof buf), -2);
    const LastError bad = lastStreamError(hk);
    EXPECT_EQ(bad.code, TERN_ERR_BADVALUE);
    EXPECT_EQ(bad.text, "Programmer passed illegal/bad value");

    // One write, one completion with its byte count, one chunk at the other end.
    ASSERT_EQ(TERNStreamWrite(hc, "hello", 5), 0);
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_SENT, 5000));
    EXPECT_EQ(client.events.back().value, 5);
    ASSERT_TRUE(comm.waitForCode(TERN_STREAM_DATA, 5000));
    EXPECT_EQ(comm.events.back().value, 5);
    ASSERT_EQ(TERNStreamRead(hk, buf, sizeof buf), 0);
    EXPECT_EQ(std::memcmp(buf, "hello", 5), 0);

    // A short read drops the rest of the chunk.
    std::string big(300, 'q');
    ASSERT_EQ(TERNStreamWrite(hk, big.data(), 300), 0);
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_DATA, 5000));
    EXPECT_EQ(client.events.back().value, 300);
    ASSERT_EQ(TERNStreamRead(hc, buf, 100), 0);
    EXPECT_EQ(TERNStreamRead(hc, buf, 100), -2);

    // A write larger than the transfer buffer is cut to it.
    std::string huge(2000, 'z');
    client.events.clear();
    comm.events.clear();
    ASSERT_EQ(TERNStreamWrite(hc, huge.data(), 2000), 0);
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_SENT, 5000));
    EXPECT_EQ(client.events.back().value, 1024);
    comm.idle(200);
    LPARAM got = 0;
    for (const auto& e : comm.events) got += e.code == TERN_STREAM_DATA ? e.value : 0;
    EXPECT_EQ(got, 1024);
    while (TERNStreamRead(hk, buf, sizeof buf) == 0) {}

    // The buffer only grows.
    EXPECT_EQ(TERNSetStreamBufferSize(hc, 4096), 0);
    EXPECT_EQ(TERNSetStreamBufferSize(hc, 100), 0);
    client.events.clear();
    ASSERT_EQ(TERNStreamWrite(hc, huge.data(), 2000), 0);
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_SENT, 5000));
    EXPECT_EQ(client.count(TERN_STREAM_SENT), 1);

    // The peer's close.
    EXPECT_EQ(TERNCloseStream(hk), 0);
    EXPECT_TRUE(client.waitForCode(TERN_STREAM_CLOSE, 5000));

    // Closed and forged handles are refused, never dereferenced.
    EXPECT_EQ(TERNStreamWrite(hk, "x", 1), -4);
    EXPECT_EQ(TERNCloseStream(hk), -4);
    EXPECT_EQ(TERNStreamWrite(0x12345678, "x", 1), -4);
    EXPECT_EQ(TERNStreamRead(0, buf, 1), -4);
    EXPECT_EQ(TERNUDPRead(hc, buf, 1, nullptr), -4); // a stream handle is not a UDP handle
    EXPECT_EQ(TERNCloseStream(hc), 0);
    EXPECT_EQ(TERNCloseStream(hs), 0);
}

// More than the platform's buffers hold: sends block, resume on the platform's write events, and
// every write still completes exactly once, in order.
TEST_F(Library, BlockedSendsResumeAndEachWriteCompletesOnce) {
    Connection c(kMsg);
    ASSERT_TRUE(c.open(kStreamPort + 2));
    auto& [server, comm, client, hs, hk, hc] = c;
    constexpr int kWrites = 3000;
    std::string block(1024, ' ');
    for (int i = 0; i < kWrites; ++i) {
        std::snprintf(&block[0], 12, "%010d|", i);
        ASSERT_EQ(TERNStreamWrite(hc, block.data(), 1024), 0);
    }
    // The receiver reads each chunk by the length its notification gives.
    std::string received;
    std::size_t seen = 0;
    char buf[1024];
    const bool done = client.waitFor(
        [&] {
            for (; seen < comm.events.size(); ++seen) {
                const Event& e = comm.events[seen];
                if (e.code != TERN_STREAM_DATA) continue;
                EXPECT_LE(e.value, 1024);
                if (TERNStreamRead(hk, buf, static_cast<int>(e.value)) == 0)
                    received.append(buf, e.value);
            }
            return client.count(TERN_STREAM_SENT) == kWrites && received.size() >= 1024u * kWrites;
        },
        30000);
    EXPECT_TRUE(done);
    EXPECT_EQ(client.count(TERN_STREAM_SENT), kWrites);
    EXPECT_EQ(client.count(TERN_STREAM_SENDFAIL), 0);
    ASSERT_EQ(received.size(), 1024u * kWrites);
    for (int i = 0; i < kWrites; i += 499) {
        char tag[12];
        std::snprintf(tag, sizeof tag, "%010d|", i);
        EXPECT_EQ(received.compare(static_cast<std::size_t>(i) * 1024, 11, tag), 0) << i;
    }
    TERNCloseStream(hc);
    TERNCloseStream(hk);
    TERNCloseStream(hs);
}

// Every kind of object draws its handle from one table: no two live handles share a number, and
// a handle of one kind is refused by every other kind's exports.
TEST_F(Library, HandlesOfEveryKindAreDistinctAndRefusedAsAnotherKind) {
    const DWORD me = GetCurrentThreadId();
    TERNHANDLE stream = 0, udp = 0, pop = 0, cpw = 0, scanner = 0;
    ASSERT_EQ(TERNCreateStreamClientThread(me, kMsg, &stream), 0);
    ASSERT_EQ(TERNCreateUDPClient2(me, kMsg, &udp), 0);
    ASSERT_EQ(TERNPOP3StartThread(me, kMsg, "unused.txt", &pop), 0);
    ASSERT_EQ(TERNPOPCPWStartThread(me, kMsg, &cpw), 0);
    ASSERT_EQ(TERNMimeScanStart("no-such-spool.txt", ".", &scanner), 0);
    const std::set<TERNHANDLE> all = {stream, udp, pop, cpw, scanner};
    EXPECT_EQ(all.size(), 5u);
    char buf[4];
    int32_t count = 0;
    for (TERNHANDLE h : {udp, pop, cpw, scanner}) EXPECT_EQ(TERNStreamRead(h, buf, 1), -4);
    for (TERNHANDLE h : {stream, pop, cpw, scanner}) EXPECT_EQ(TERNUDPRead(h, buf, 1, nullptr), -4);
    for (TERNHANDLE h : {stream, udp, cpw, scanner}) EXPECT_EQ(TERNPOP3NumMail(h, &count), -4);
    for (TERNHANDLE h : {stream, udp, pop, cpw}) EXPECT_EQ(TERNMimeScanNumMessages(h, &count), -4);
    for (TERNHANDLE h : {stream, udp, pop, scanner})
        EXPECT_EQ(TERNPOPCPWChangeNow(h, "h", "u", "o", "n"), -4);
    EXPECT_EQ(TERNMimeScanClose(scanner), 0);
    EXPECT_EQ(TERNMimeScanClose(scanner), -4); // stale
    EXPECT_EQ(TERNPOPCPWClose(cpw), 0);
    EXPECT_EQ(TERNPOP3Close(pop), 0);
    EXPECT_EQ(TERNCloseUDP(udp), 0);
    EXPECT_EQ(TERNCloseStream(stream), 0);
}

TEST_F(Library, ServerPortBelow1SetsError3WithoutASocket) {
    TERNHANDLE h = 0;
    EXPECT_EQ(TERNCreateStreamServerThread(0, GetCurrentThreadId(), kMsg, &h), 0);
    EXPECT_EQ(lastStreamError(h).code, TERN_ERR_BADVALUE);
    EXPECT_EQ(TERNCloseStream(h), 0);
}

TEST_F(Library, UdpDatagramsRepliesAndSocketInfo) {
    UdpPair u(kMsg);
    ASSERT_TRUE(u.open(kUdpPort));
    auto& [server, client, hs, hc] = u;
    char addr[32];
    int port = 0;
    ASSERT_EQ(TERNUDPGetSocketInfo(hs, addr, &port), 0);
    EXPECT_EQ(port, kUdpPort);
    EXPECT_EQ(TERNUDPGetSocketInfo(hs, nullptr, &port), -2);

    ASSERT_EQ(TERNUDPWriteToPort(hc, "ping", 4, "127.0.0.1", kUdpPort), 0);
    ASSERT_TRUE(client.waitForCode(TERN_UDP_SENT, 5000));
    EXPECT_EQ(client.events.back().value, 4);
    ASSERT_TRUE(server.waitForCode(TERN_UDP_DATA, 5000));
    EXPECT_EQ(server.events.back().value, 4);
    char buf[64];
    unsigned char from[16];
    ASSERT_EQ(TERNUDPRead(hs, buf, sizeof buf, from), 0);
    EXPECT_EQ(std::memcmp(buf, "ping", 4), 0);
    char ip[20];
    ASSERT_EQ(TERNIPFromReplyAddr(from, ip), 0);
    EXPECT_STREQ(ip, "127.0.0.1");

    ASSERT_EQ(TERNUDPReply(hs, "pong", 4, from), 0);
    ASSERT_TRUE(client.waitForCode(TERN_UDP_DATA, 5000));
    ASSERT_EQ(TERNUDPRead(hc, buf, sizeof buf, from), 0);
    EXPECT_EQ(std::memcmp(buf, "pong", 4), 0);
    EXPECT_EQ(TERNUDPRead(hc, buf, sizeof buf, from), -2);

    // A reply from a client socket is refused with last error -5.
    EXPECT_EQ(TERNUDPReply(hc, "x", 1, from), 0);
    const LastError e = lastUdpError(hc);
    EXPECT_EQ(e.code, TERN_ERR_UDPNOTSERVER);
    EXPECT_EQ(e.text, "Not a WinSock error [Application Error]");
    EXPECT_EQ(TERNUDPWriteToPort(0, "x", 1, "127.0.0.1", kUdpPort), -3);
    EXPECT_EQ(TERNCloseUDP(hc), 0);
    EXPECT_EQ(TERNCloseUDP(hs), 0);
}

} // namespace
} // namespace lx::net::test
