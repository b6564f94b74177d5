// What the socket tests share: a started library, and a stream connection made through the
// library's own server socket.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "netlib/tern32.h"
#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {

class StartedLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TERNStartWinSock(257), 1); }
    void TearDown() override { TERNEndWinSock(); }
};

// A socket's last error as the host reads it; code -1 when the export itself failed.
struct LastError {
    int code = -1;
    std::string text;
};

// Through one family's last-error export.
inline LastError lastErrorThrough(int(WINAPI* read)(TERNHANDLE, int*, char*), TERNHANDLE h) {
    LastError e;
    char text[TERN_ERRTEXT_SIZE] = "";
    if (read(h, &e.code, text) != 0) e.code = -1;
    e.text = text;
    return e;
}
inline LastError lastStreamError(TERNHANDLE h) {
    return lastErrorThrough(TERNLastStreamWinSockError, h);
}
inline LastError lastUdpError(TERNHANDLE h) { return lastErrorThrough(TERNLastUDPWinSockError, h); }

// A server, a comm and a client socket in window mode, each reporting to its own host with its
// own message (message, +1, +2). The test closes the handles.
struct Connection {
    explicit Connection(UINT message)
        : server(message, {}), comm(message + 1, {}), client(message + 2, {}) {}

    // The client connects to the server at port on loopback and the connection is accepted into
    // the comm socket; true once both ends have reported the connection.
    bool open(int port) {
        return TERNCreateStreamServerWindow(port, server.window(), server.message(), &hs) == 0 &&
               TERNCreateStreamCommWindow(comm.window(), comm.message(), &hk) == 0 &&
               TERNCreateStreamClientWindow(client.window(), client.message(), &hc) == 0 &&
               TERNStreamConnectToPort(hc, "127.0.0.1", port) == 0 &&
               server.waitForCode(TERN_STREAM_ACCEPT, 5000) && TERNStreamAccept(hs, hk) == 0 &&
               comm.waitForCode(TERN_STREAM_CONNECT, 5000) &&
               client.waitForCode(TERN_STREAM_CONNECT, 5000);
    }

    HostQueue server, comm, client;
    TERNHANDLE hs = 0, hk = 0, hc = 0;
};

// A UDP server at a port and a client, in window mode, each reporting to its own host with its
// own message (message, +1). The test closes the handles.
struct UdpPair {
    explicit UdpPair(UINT message) : server(message, {}), client(message + 1, {}) {}

    bool open(int port) {
        return TERNCreateUDPServer1(port, server.window(), server.message(), &hs) == 0 &&
               TERNCreateUDPClient1(client.window(), client.message(), &hc) == 0;
    }

    HostQueue server, client;
    TERNHANDLE hs = 0, hc = 0;
};

} // namespace lx::net::test
