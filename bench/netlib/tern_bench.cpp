// Times TERN32 on a real server: retrieval of every message of the POP3 mailbox into the spool
// file, or delivery of every message of an outgoing spool file.
// usage: tern_bench pop3 SPOOL SERVER USER PASSWORD   |   tern_bench smtp SPOOL SERVER
// Prints "<seconds> <messages>" and exits 0 when the run ended without an error.
#include <windows.h>

#include <chrono>
#include <cstdio>
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: tern_bench pop3 SPOOL SERVER USER PASSWORD | smtp SPOOL SERVER\n");
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
        if (TERNPOP3PullMail(h, argv[3], argv[4], argv[5], 0, 1) != 0) return 1;
        loop(out, TERN_POP3_STORED, TERN_POP3_OK);
        TERNPOP3Close(h);
    } else {
        if (TERNSMTPStartThread(GetCurrentThreadId(), kMsg, argv[2], &h) != 0) return 1;
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
