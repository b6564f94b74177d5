// Times the mail merge run under Wine: the same run the "Send Mail [SMTP] - Mail Merge" dialog
// starts (merge file read, every message prepared into the spool file, the spool sent through an
// SMTP session), driven through a hidden window instead of the dialog.
// usage: merge_bench INSTALL_DIR CATALOGUE ADDRESS_FILE MESSAGE_FILE SUBJECT ATTACHMENT SERVER SENDER
// Prints "<seconds> <messages sent> <seconds preparing>" and exits 0 when every message was sent.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/win/window.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/mergerun.h"
#include "netlib/tern32.h"

namespace {

using Clock = std::chrono::steady_clock;

// The run's view: errors to the standard error, the end of the run remembered.
class BenchView : public lx::MergeRunView {
public:
    bool finished = false;
    int sent = 0;
    Clock::time_point prepared{};
    void Log(const std::string& line) override { std::fprintf(stderr, "log: %s\n", line.c_str()); }
    void ClearLog() override {}
    void ConnectionStatus(const std::string&) override {}
    void Preparing(int) override {}
    void DataSent(const std::string&) override {}
    void SentSuccessfully(int count) override {
        if (count == 0) prepared = Clock::now();
        sent = count;
    }
    void Finished() override { finished = true; }
};

// The hidden window the session reports to; it hands every status to the run.
class Host : public lx::Window {
public:
    explicit Host(lx::MailMergeRun& run) {
        Map().On(lx::WM_LX_MERGE_STATUS, [&run](WPARAM code, LPARAM value) -> LRESULT {
            run.OnStatus(static_cast<int>(code), value);
            return 0;
        });
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 9) {
        std::fprintf(stderr, "usage: merge_bench INSTALL_DIR CATALOGUE ADDRESS_FILE MESSAGE_FILE "
                             "SUBJECT ATTACHMENT SERVER SENDER\n");
        return 2;
    }
    if (TERNStartWinSock(0x0101) != 1) return 1;
    lx::MessageCatalog catalog;
    catalog.Open(argv[2], lx::CatalogMagic::Exact);
    BenchView view;
    lx::MailMergeRun run(&catalog, view);
    Host host(run);
    if (!lx::Window::RegisterClass("LorvexMergeBench", 0, nullptr, nullptr) ||
        !host.Create("LorvexMergeBench", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr))
        return 1;
    lx::MergeRequest request{argv[3], argv[4], argv[5], argv[6]};
    lx::SendingSettings settings;
    settings.keyExisted = true;
    settings.server = argv[7];
    settings.address = argv[8];
    const auto t0 = Clock::now();
    if (!run.Start(request, lx::InstallFile(argv[1], lx::kSmtpSpoolFile), settings, host.Handle(),
                   lx::WM_LX_MERGE_STATUS))
        return 1;
    MSG m;
    while (!view.finished && ::GetMessageA(&m, nullptr, 0, 0)) {
        ::TranslateMessage(&m);
        ::DispatchMessageA(&m);
    }
    const auto t1 = Clock::now();
    std::printf("%.3f %d %.3f\n", std::chrono::duration<double>(t1 - t0).count(), view.sent,
                std::chrono::duration<double>(view.prepared - t0).count());
    host.Destroy();
    TERNEndWinSock();
    return view.sent == run.Prepared() ? 0 : 1;
}
