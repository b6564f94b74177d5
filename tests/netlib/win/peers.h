// Where the test servers started by tools/testpeers/peers.sh keep their state, seen from Wine,
// and small file helpers for the peer tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
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

// The files (not folders) a wildcard pattern matches.
inline int countFiles(const std::string& pattern) {
    int n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

// The messages in a maildir (new and cur).
inline int countMaildir(const std::string& dir) {
    return countFiles(dir + "/new/*") + countFiles(dir + "/cur/*");
}

inline void clearMaildir(const std::string& maildir) {
    for (const char* sub : {"/new/", "/cur/"}) {
        WIN32_FIND_DATAA fd;
        const std::string dir = maildir + sub;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((dir + fd.cFileName).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
}

// Puts exactly msgs (LF line ends) into the maildir, as new mail.
inline void fillMaildir(const std::string& dir, const std::vector<std::string>& msgs) {
    clearMaildir(dir);
    // Names never used before in this mailbox: the server remembers sizes by file name.
    static unsigned serial = GetTickCount();
    for (std::size_t i = 0; i < msgs.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/new/%010u.M%uP1.lorvex", 1700000000u + unsigned(i),
                      ++serial);
        ASSERT_TRUE(writeFile(dir + name, msgs[i]));
    }
}

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
