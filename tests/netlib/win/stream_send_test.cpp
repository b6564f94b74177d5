// The stream send pump under Wine: sends the platform takes only in part, against a reader that
// reads slowly through a small receive buffer, and writes of nothing.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "netlib/tern32.h"
#include "tests/netlib/win/connected.h"
#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {
namespace {

constexpr UINT kMsg = WM_USER + 320;
constexpr int kSendPort = 47315;

class StreamSend : public StartedLibrary {};

// A plain blocking reader on loopback: takes a little at a time with a pause between reads, so
// the writer's platform buffers fill and its sends are taken only in part.
class SlowReader {
public:
    explicit SlowReader(std::size_t expected) : expected_(expected) {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        int small = 2048;
        setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&small),
                   sizeof small);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof a;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            listen(listener_, 1) == 0 &&
            getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port_ = ntohs(a.sin_port);
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~SlowReader() {
        stop_ = true;
        closesocket(listener_);
        if (thread_) {
            WaitForSingleObject(thread_, 10000);
            CloseHandle(thread_);
        }
    }
    int port() const { return port_; }
    bool done() const { return done_; }
    // Read only once done() holds.
    const std::string& received() const { return received_; }

private:
    static DWORD WINAPI run(LPVOID p) {
        static_cast<SlowReader*>(p)->read();
        return 0;
    }
    void read() {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s != INVALID_SOCKET) {
            char buf[4096];
            const DWORD start = GetTickCount();
            while (!stop_ && received_.size() < expected_ && GetTickCount() - start < 60000) {
                const int n = recv(s, buf, sizeof buf, 0);
                if (n <= 0) break;
                received_.append(buf, static_cast<std::size_t>(n));
                Sleep(1); // the slow reader itself: paces the reads so the sender meets a full buffer
            }
            closesocket(s);
        }
        done_ = true;
    }
    std::size_t expected_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::string received_;
};

std::string pattern(int write, std::size_t size) {
    std::string block(size, static_cast<char>('a' + write % 26));
    char tag[16];
    const int n = std::snprintf(tag, sizeof tag, "<%08d>", write);
    block.replace(0, static_cast<std::size_t>(n), tag);
    return block;
}

TEST_F(StreamSend, PartialSendsToASlowReaderCompleteInOrderOncePerWrite) {
    struct Case {
        int writeSize;
        int writes;
    };
    // One write far larger than the platform's buffers; many writes that share sends.
    for (const Case c : {Case{3 << 20, 1}, Case{64 << 10, 48}}) {
        SCOPED_TRACE(c.writeSize);
        std::string expected;
        for (int i = 0; i < c.writes; ++i)
            expected += pattern(i, static_cast<std::size_t>(c.writeSize));
        SlowReader reader(expected.size());
        ASSERT_NE(reader.port(), 0);
        HostQueue client(kMsg, {});
        TERNHANDLE hc = 0;
        ASSERT_EQ(TERNCreateStreamClientWindow(client.window(), kMsg, &hc), 0);
        ASSERT_EQ(TERNSetStreamBufferSize(hc, c.writeSize), 0);
        ASSERT_EQ(TERNStreamConnectToPort(hc, "127.0.0.1", reader.port()), 0);
        ASSERT_TRUE(client.waitForCode(TERN_STREAM_CONNECT, 5000));
        for (int i = 0; i < c.writes; ++i)
            ASSERT_EQ(
                TERNStreamWrite(hc, expected.data() + std::size_t(i) * c.writeSize, c.writeSize),
                0);
        EXPECT_TRUE(client.waitFor(
            [&] { return client.count(TERN_STREAM_SENT) >= c.writes && reader.done(); }, 60000));
        EXPECT_EQ(client.count(TERN_STREAM_SENT), c.writes);
        EXPECT_EQ(client.count(TERN_STREAM_SENDFAIL), 0);
        // A completion gives the bytes of the last send call: less than the write when the
        // platform took that write in more than one send.
        int split = 0;
        for (const Event& e : client.events)
            split += e.code == TERN_STREAM_SENT && e.value < c.writeSize;
        EXPECT_GT(split, 0) << "no send was taken in part";
        ASSERT_TRUE(reader.done());
        EXPECT_EQ(reader.received().size(), expected.size());
        EXPECT_TRUE(reader.received() == expected) << "bytes lost, doubled or out of order";
        EXPECT_EQ(TERNCloseStream(hc), 0);
    }
}

TEST_F(StreamSend, AnEmptyWriteIsRefusedAndLaterWritesStillGoOut) {
    Connection c(kMsg);
    ASSERT_TRUE(c.open(kSendPort));
    auto& [server, comm, client, hs, hk, hc] = c;

    for (const void* data : {static_cast<const void*>(""), static_cast<const void*>(nullptr)}) {
        EXPECT_EQ(TERNStreamWrite(hc, data, 0), -2);
        EXPECT_EQ(lastStreamError(hc).code, TERN_ERR_BADVALUE);
    }
    ASSERT_EQ(TERNStreamWrite(hc, "after", 5), 0);
    ASSERT_TRUE(comm.waitForCode(TERN_STREAM_DATA, 5000));
    char buf[16] = {};
    ASSERT_EQ(TERNStreamRead(hk, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "after");
    // Completions come in write order: had the empty write queued anything, its completion (or
    // a stuck pump) would show before this one.
    ASSERT_TRUE(client.waitForCode(TERN_STREAM_SENT, 5000));
    EXPECT_EQ(client.count(TERN_STREAM_SENT), 1);
    EXPECT_EQ(client.events.back().value, 5);
    EXPECT_EQ(TERNCloseStream(hc), 0);
    EXPECT_EQ(TERNCloseStream(hk), 0);
    EXPECT_EQ(TERNCloseStream(hs), 0);
}

} // namespace
} // namespace lx::net::test
