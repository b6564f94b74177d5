// Where the test servers started by tools/testpeers/peers.sh keep their state, seen from Wine,
// and small file helpers for the peer tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/netlib/win/hostqueue.h"

namespace lx::net::test {

// The peers' state folder as a Wine path (Z: is the Unix root).
inline std::string peersDir() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/testpeers";
}

inline std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline bool writeFile(const std::string& path, const std::string& data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << data;
    return static_cast<bool>(f);
}

inline bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// A session whose server never answers: the connection is all it reports while it waits, and
// closing it (close() gives the close export's result) reports nothing more.
template <class Close>
void expectOnlyConnected(HostQueue& host, int connected, Close close) {
    host.idle(1500);
    EXPECT_EQ(host.codes(), std::vector<int>{connected});
    EXPECT_EQ(close(), 0);
    host.idle(300);
    EXPECT_EQ(host.codes(), std::vector<int>{connected});
}

} // namespace lx::net::test
