// Times TERN32 on a real server: retrieval of every message of the POP3 mailbox into the spool
// file, or delivery of every message of an outgoing spool file.
// usage: tern_bench pop3 SPOOL SERVER USER PASSWORD [SECURITY PORT PIN]
//        tern_bench smtp SPOOL SERVER [SECURITY PORT PIN [USER PASSWORD]]
// SECURITY is a TERN_SECURITY_* value, PORT 0 for the usual one, PIN a certificate's SHA-256
// fingerprint or "-" for the trusted authorities; USER and PASSWORD log in to the SMTP server.
// Prints "<seconds> <messages>" and exits 0 when the run ended without an error.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "netlib/tern32.h"

namespace {

constexpr UINT kMsg = WM_USER + 63;

struct Outcome {
    int done = 0;      // messages stored (16) or sent (15)
    bool ok = false;   // 19 or 18 was posted
    bool over = false; // 0 was posted
};

// Runs the thread's message loop until the session posts 0 (or 120 s pass).
void loop(Outcome& out, int doneCode, int okCode) {
    const auto start = std::chrono::steady_clock::now();
    MSG m;
    while (!out.over && std::chrono::steady_clock::now() - start < std::chrono::seconds(120)) {
        if (!GetMessageA(&m, nullptr, 0, 0)) break;
        if (m.hwnd == nullptr && m.message == kMsg) {
            const int code = static_cast<int>(m.wParam);
            if (code == doneCode) ++out.done;
            if (code == okCode) out.ok = true;
            if (code == 0) out.over = true;
            if (code == 5)
                std::fprintf(stderr, "refused: %s\n", reinterpret_cast<const char*>(m.lParam));
            continue;
        }
        DispatchMessageA(&m);
    }
}

// The optional security arguments from argv[at] on: 0 when none are given or they were taken.
template <typename SetSecurity>
int secure(TERNHANDLE h, int argc, char** argv, int at, SetSecurity set) {
    if (argc <= at) return 0;
    if (argc < at + 3) return -1;
    const char* pin = std::strcmp(argv[at + 2], "-") == 0 ? nullptr : argv[at + 2];
    return set(h, std::atoi(argv[at]), std::atoi(argv[at + 1]), pin);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: tern_bench pop3 SPOOL SERVER USER PASSWORD [SECURITY PORT PIN] | "
                     "smtp SPOOL SERVER [SECURITY PORT PIN [USER PASSWORD]]\n");
        return 2;
    }
    const bool pop3 = std::strcmp(argv[1], "pop3") == 0;
    if (pop3 && argc < 6) return 2;
    if (TERNStartWinSock(257) != 1) return 1;
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists before the first post
    Outcome out;
    TERNHANDLE h = 0;
    const auto t0 = std::chrono::steady_clock::now();
    if (pop3) {
        if (TERNPOP3StartThread(GetCurrentThreadId(), kMsg, argv[2], &h) != 0) return 1;
        if (secure(h, argc, argv, 6, TERNPOP3SetSecurity) != 0) return 2;
        if (TERNPOP3PullMail(h, argv[3], argv[4], argv[5], 0, 1) != 0) return 1;
        loop(out, TERN_POP3_STORED, TERN_POP3_OK);
        TERNPOP3Close(h);
    } else {
        if (TERNSMTPStartThread(GetCurrentThreadId(), kMsg, argv[2], &h) != 0) return 1;
        if (secure(h, argc, argv, 4, TERNSMTPSetSecurity) != 0) return 2;
        if (argc >= 9 && TERNSMTPSetLogin(h, argv[7], argv[8]) != 0) return 2;
        if (TERNSMTPSendMail(h, argv[3]) != 0) return 1;
        loop(out, TERN_SMTP_SENT, TERN_SMTP_OK);
        TERNSMTPClose(h);
    }
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    TERNEndWinSock();
    std::printf("%.3f %d\n", secs, out.done);
    return out.ok ? 0 : 1;
}
