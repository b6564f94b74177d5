#include "tests/retrieval/pop3mailbox.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/retrieval/mailsamples.h"

namespace lxtest {

std::string Pop3MailDir() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/testpeers/mail/joe";
}

void FillPop3Mailbox(const std::vector<std::string>& messages, const char* tag) {
    for (const char* sub : {"\\new\\", "\\cur\\"}) {
        const std::string dir = Pop3MailDir() + sub;
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((dir + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((dir + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    static unsigned serial = ::GetTickCount();
    for (size_t i = 0; i < messages.size(); ++i) {
        char name[96];
        std::snprintf(name, sizeof name, "\\new\\%010u.M%uP2.%s",
                      1700000000u + static_cast<unsigned>(i), ++serial, tag);
        // The maildir keeps LF line ends; the server sends CR LF.
        std::string lf;
        for (char c : messages[i])
            if (c != '\r') lf += c;
        ASSERT_TRUE(WriteBytes(Pop3MailDir() + name, lf));
    }
}

} // namespace lxtest
