// Times the library's own POP3 and SMTP sessions natively (POSIX sockets, no Wine) on the same
// servers and workload as tern_bench: what the sessions cost apart from the platform's.
// usage: native_bench pop3 SPOOL SERVER USER PASSWORD   |   native_bench smtp SPOOL SERVER
// Prints "<seconds> <messages>" and exits 0 when the run ended without an error.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "bench/netlib/posix_port.h"
#include "netlib/core/codes.h"
#include "netlib/core/pop3session.h"
#include "netlib/core/smtpsession.h"

using namespace lx::net;

namespace {

// Counts the posts that say a message was done, and whether the run ended well.
template <class Session>
int finish(bench::PosixPort& port, Session& session, int doneCode, int okCode, double* secs) {
    const auto t0 = std::chrono::steady_clock::now();
    const bool ended = port.run([&] { return session.runOver(); }, 120.0);
    *secs += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    int done = 0;
    bool ok = false;
    for (const auto& p : port.posts) {
        if (p.first == doneCode) ++done;
        if (p.first == okCode) ok = true;
    }
    return ended && ok ? done : -done;
}

} // namespace

int main(int argc, char** argv) {
    const bool pop3 = argc >= 6 && std::strcmp(argv[1], "pop3") == 0;
    if (!pop3 && !(argc >= 4 && std::strcmp(argv[1], "smtp") == 0)) {
        std::fprintf(stderr,
                     "usage: native_bench pop3 SPOOL SERVER USER PASSWORD | smtp SPOOL SERVER\n");
        return 2;
    }
    bench::PosixPort port;
    double secs = 0;
    int done;
    const auto t0 = std::chrono::steady_clock::now();
    if (pop3) {
        Pop3Session session(port, argv[2]);
        port.attach(&session);
        if (session.start(argv[3], argv[4], argv[5], false, true, false) != 0) return 1;
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        done = finish(port, session, TERN_POP3_STORED, TERN_POP3_OK, &secs);
    } else {
        SmtpSession session(port, argv[2]);
        port.attach(&session);
        if (session.sendMail(argv[3]) != 0) return 1;
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        done = finish(port, session, TERN_SMTP_SENT, TERN_SMTP_OK, &secs);
    }
    std::printf("%.3f %d\n", secs, done < 0 ? -done : done);
    return done > 0 ? 0 : 1;
}
