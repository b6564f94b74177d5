// The soak run (bench/soak/run.sh): one Lorvex main window in this process retrieves BATCHES
// batches of BATCH messages from Dovecot through the "Retrieving Mail [POP3]" dialog, and at
// chosen checkpoints lists every folder, searches, moves and deletes messages and prints PRINT
// messages. After every stage it prints what the process holds (memory, handles, GDI and USER
// objects); at the end it compares the first checkpoint with the last and fails on growth beyond
// a fixed slack.
// usage: soak_driver INSTALL CATALOGUE MAILDIR LOCKDIR BATCHES BATCH PRINT
#include <windows.h>

#include "bench/soak/soakfigures.h"
#include "bench/soak/soakmail.h"
#include "bench/soak/soakprobe.h"
#include "common/catalog/msgcatalog.h"
#include "common/schema/schema.h"
#include "common/schema/storeconnection.h"
#include "common/schema/storetables.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "common/settings/win32_forms.h"
#include "common/win/handles.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/pop3stat.h"
#include "mailer/ui/findmesg.h"
#include "mailer/ui/logic/cmdgate.h"
#include "mailer/ui/mailfold.h"
#include "mailer/ui/mailmess.h"
#include "mailer/ui/mainfrm.h"
#include "mailer/ui/mainspli.h"
#include "mailer/ui/msgprint.h"
#include "netlib/tern32.h"
#include "printengine/prntvant.h"
#include "tests/print/printer_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using lx::soak::StageFigures;

constexpr char kSoakKey[] = "Software\\Quorbit\\LorvexSoak";
constexpr char kServer[] = "127.0.0.60";
// Messages moved and deleted at each checkpoint: a tenth of a batch, at most this many.
constexpr int kMovedPerStage = 100;
constexpr UINT_PTR kSearchReadTimer = 0x534B;

struct Options {
    std::string install, catalogue, maildir, lockdir;
    int batches = 20, batch = 1000, print = 200;
};

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes `bytes` as the whole file; false when that failed.
bool WriteWhole(const std::string& path, const std::string& bytes) {
    lx::UniqueHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD put = 0;
    return f &&
           ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
           put == bytes.size();
}

void Touch(const std::string& path) { WriteWhole(path, ""); }

// Answers the boxes (Yes to emptying _TRASHCAN), runs a script at each dialog's start and picks
// the default printer in the print dialog.
class SoakHook : public lx::ui::UiHook {
public:
    SoakHook() { lx::ui::SetHook(this); }
    ~SoakHook() override { lx::ui::SetHook(nullptr); }
    int OnMessageBox(HWND, const char* text, const char*, UINT) override {
        lastBox = text;
        return IDYES;
    }
    void OnDialogInit(HWND dialog, int id) override {
        if (onInit) onInit(dialog, id);
    }
    BOOL OnCommonDialog(lx::ui::CommonDialog kind, void* data) override {
        return kind == lx::ui::CommonDialog::Print
                   ? lx::print::test::AnswerPrintDialog(static_cast<PRINTDLGA*>(data))
                   : FALSE;
    }
    std::function<void(HWND, int)> onInit;
    std::string lastBox;
};

long Count(odbcvantConnection& conn, const std::string& sql) {
    odbcvantCursor cur(&conn, sql.c_str());
    SQLINTEGER n = -1;
    if (cur.BindColumns(1, ODBCVANT_INT32, &n, 0) && cur.ExecuteStmt() && cur.SingleFetch())
        return n;
    return -1;
}

bool FreshStore(odbcvantConnection& conn) {
    for (int i = lx::kStoreTableCount - 1; i >= 0; --i)
        conn.ExecuteDirect(
            (std::string("DROP TABLE IF EXISTS ") + lx::StoreTables()[i].name).c_str());
    return lx::CreateStoreTables(conn);
}

class Soak {
public:
    Soak(const Options& o, lx::MessageCatalog& catalog, odbcvantConnection& conn)
        : o_(o), catalog_(catalog), conn_(conn) {}

    int Run() {
        if (!MakeFrame()) return Fail("the main window could not be made");
        conn_.ExecuteDirect("INSERT INTO Folders (Folder, FolderType, Description) VALUES "
                            "('Soak', 'U', 'moved by the soak run')");
        folders_->Fill();
        soakFolder_ = Count(conn_, "SELECT FolderNum FROM Folders WHERE Folder = 'Soak'");
        WriteMailbox();
        const std::vector<int> checkpoints = {1, (o_.batches + 1) / 2, o_.batches};
        for (int b = 1; b <= o_.batches; ++b) {
            if (!Retrieve(b)) return Fail("batch " + std::to_string(b) + " was not stored whole");
            bool checkpoint = false;
            for (int c : checkpoints) checkpoint = checkpoint || c == b;
            if (!checkpoint) continue;
            Record("retrieve");
            if (!ListEveryFolder()) return Fail("a folder did not list its messages");
            Record("list");
            if (!Search()) return Fail("the search found nothing");
            Record("search");
            if (!MoveAndDelete()) return Fail("moving or deleting did not change the folders");
            Record("move-delete");
            if (o_.print > 0) {
                if (!Print()) return Fail("the messages were not printed");
                Record("print");
            }
        }
        return Verdict();
    }

private:
    int Fail(const std::string& why) {
        std::printf("soak: FAILED: %s\n", why.c_str());
        return 1;
    }

    bool MakeFrame() {
        mailboxes_.count = 1;
        std::strcpy(mailboxes_.records[0].name, "Soak");
        std::strcpy(mailboxes_.records[0].pop3Server, kServer);
        std::strcpy(mailboxes_.records[0].defaultFolder, "_IN");
        mailboxes_.records[0].current = 1;
        lx::CommandGate::Instance().Reopen();
        // As the program does when it plugs message printing: the print dialog goes through the
        // UI seam, which the hook answers with the default printer.
        PrintVant::SetPrintDialog(lx::ui::PrintDialog);
        for (int i = 0; i < lx::kMessageFontCount; ++i) { // the program's four print fonts
            const LOGFONTA lf =
                lx::ToLogFont(lx::DefaultMessageFont(static_cast<lx::MessageFont>(i)));
            fonts_[i].Reset(::CreateFontIndirectA(&lf));
        }
        lx::MainFrameContext context{o_.install.c_str(), &catalog_, &conn_, &mailboxes_};
        frame_ = std::make_unique<lx::CMainFrame>(context);
        if (!frame_->CreateFrame()) return false;
        ::ShowWindow(frame_->Handle(), SW_SHOWNORMAL);
        Pump();
        folders_ = static_cast<lx::FolderPane*>(
            lx::Window::FromHandle(frame_->Splitter()->FolderPaneWindow()));
        messages_ = static_cast<lx::MessageListPane*>(
            lx::Window::FromHandle(frame_->Splitter()->MessagePaneWindow()));
        return folders_ && messages_;
    }

    void WriteMailbox() {
        lx::Win32SettingsRegistry reg(kSoakKey);
        char password[128] = "secret";
        lx::Scramble(password);
        reg.WriteString(lx::kRegServer, kServer);
        reg.WriteString(lx::kRegUser, "joe");
        reg.WriteString(lx::kRegPassword, password);
        reg.WriteDword(lx::kRegDelMail, 1); // each batch leaves the server empty
        reg.WriteDword(lx::kRegApop, 0);
        reg.WriteString(lx::kRegDefFolder, "_IN");
        reg.WriteDword(lx::kRegDefFolderNum, frame_->SpecialFolders().in);
    }

    // The server's maildir receives the batch under names never used before.
    bool FillServer(int batch) {
        for (int i = 0; i < o_.batch; ++i) {
            const long serial = static_cast<long>(batch - 1) * o_.batch + i;
            char name[96];
            std::snprintf(name, sizeof name, "\\new\\%ld.M%dP1.soak", 1700000000L + serial, batch);
            if (!WriteWhole(o_.maildir + name, lx::soak::SoakMessage(serial))) return false;
        }
        return true;
    }

    bool Retrieve(int batch) {
        if (!FillServer(batch)) return false;
        lx::Pop3StatData data;
        data.catalog = &catalog_;
        data.conn = &conn_;
        data.installPath = o_.install;
        data.automatic = true; // closes itself when the store work is done
        data.registryKey = kSoakKey;
        data.inFolderNum = frame_->SpecialFolders().in;
        const DWORD start = ::GetTickCount();
        lx::ShowPop3StatDialog(frame_->Handle(), &data);
        retrieved_ += data.messagesStored;
        const long stored = Count(conn_, "SELECT COUNT(*) FROM Messages");
        std::printf("batch %2d: %d messages in %.1f s, %ld rows in the store\n", batch,
                    data.messagesStored, (::GetTickCount() - start) / 1000.0, stored);
        std::fflush(stdout);
        return data.messagesStored == o_.batch && stored == retrieved_ - removed_;
    }

    // Every folder is selected in the folder pane, which loads it into the message list; the
    // figures are then taken with the small _DESK listed.
    bool ListEveryFolder() {
        bool ok = true;
        for (int i = 0; i < static_cast<int>(folders_->Rows().size()); ++i) {
            folders_->SelectIndex(i);
            Pump();
            const long num = folders_->Rows()[i].num;
            const long inStore = Count(conn_, "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                                  std::to_string(num));
            ok = ok && messages_->MessageCount() == inStore;
        }
        folders_->SelectIndex(0);
        Pump();
        return ok;
    }

    // One "Message Search" run: the fields filled, Find pressed, the hits counted, closed.
    int SearchOnce(const char* sender, const char* subject) {
        int hits = -1;
        hook_.onInit = [&](HWND dialog, int id) {
            if (id != IDD_FINDMESG) return;
            ::SetDlgItemTextA(dialog, IDC_FINDMESG_SENDER, sender);
            ::SetDlgItemTextA(dialog, IDC_FINDMESG_SUBJECT, subject);
            ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FINDMESG_FIND, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_FINDMESG_FIND)));
            // A timer comes after the posted Find: the hits are in the list by then.
            ::SetPropA(dialog, "LxSoakHits", &hits);
            ::SetTimer(dialog, kSearchReadTimer, 1, [](HWND d, UINT, UINT_PTR id, DWORD) {
                ::KillTimer(d, id);
                *static_cast<int*>(::GetPropA(d, "LxSoakHits")) = static_cast<int>(
                    ::SendDlgItemMessageA(d, IDC_FINDMESG_RESULTS, LB_GETCOUNT, 0, 0));
                ::RemovePropA(d, "LxSoakHits");
                ::PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
        };
        lx::MessageSearchData data{&catalog_, &conn_, o_.install, nullptr};
        lx::ShowMessageSearchDialog(frame_->Handle(), &data);
        hook_.onInit = nullptr;
        return hits;
    }

    bool Search() {
        const int topic = SearchOnce("", lx::soak::kSearchTopic);
        const int sender = SearchOnce("sender3@", "");
        const int both = SearchOnce("SENDER1", "soak 1");
        std::printf("search: %d, %d and %d hits\n", topic, sender, both);
        return topic > 0 && sender > 0 && both > 0;
    }

    void SelectFirstRows(int count) {
        messages_->ClickRow(0, false, false);
        messages_->ClickRow(count - 1, false, true);
    }

    // From _IN: some messages filed into the user folder, some deleted to _TRASHCAN, which is
    // then emptied for good.
    bool MoveAndDelete() {
        const bool in = SelectByNum(frame_->SpecialFolders().in);
        const int changed = std::min(kMovedPerStage, o_.batch / 10);
        SelectFirstRows(changed);
        for (long num : messages_->SelectedMessages()) messages_->MoveMessage(num, soakFolder_);
        messages_->Reload();
        SelectFirstRows(changed);
        messages_->DeleteSelected();
        SelectByNum(frame_->SpecialFolders().trashcan);
        const long trashed = messages_->MessageCount();
        messages_->SelectAll();
        messages_->DeleteSelected();
        removed_ += trashed - messages_->MessageCount();
        const long moved = Count(conn_, "SELECT COUNT(*) FROM Messages WHERE FolderNum = " +
                                            std::to_string(soakFolder_));
        folders_->SelectIndex(0);
        Pump();
        std::printf("moved: %ld in the user folder, %ld deleted for good\n", moved, removed_);
        return in && trashed >= changed && messages_->MessageCount() == 0 && moved >= changed;
    }

    // Selects the folder in the folder pane, which lists it.
    bool SelectByNum(long num) {
        const auto& rows = folders_->Rows();
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (rows[i].num == num) {
                folders_->SelectIndex(i);
                Pump();
                return messages_->Folder() == num;
            }
        return false;
    }

    // The printer is shared with the tests: run.sh holds its lock while LOCKDIR\granted exists.
    bool Print() {
        const std::string want = o_.lockdir + "\\want", granted = o_.lockdir + "\\granted",
                          done = o_.lockdir + "\\done";
        Touch(want);
        for (int i = 0; i < 6000 && !Exists(granted); ++i) ::Sleep(100); // bounded: 10 minutes
        if (!Exists(granted)) return false;
        lx::print::test::ClearPdfs();
        SelectByNum(frame_->SpecialFolders().in);
        std::vector<long> nums;
        for (const auto& row : messages_->Rows()) {
            if (static_cast<int>(nums.size()) >= o_.print) break;
            nums.push_back(row.mesgNum);
        }
        lx::print::test::DialogAnswer answer;
        lx::print::test::SetDialogAnswer(&answer);
        const DWORD start = ::GetTickCount();
        lx::MessagePrintContext context{&catalog_, &conn_, {}};
        context.font = [this](lx::MessageFont which) {
            return fonts_[static_cast<int>(which)].Get();
        };
        const lx::PrintOutcome outcome = lx::PrintMessages(frame_->Handle(), context, nums);
        lx::print::test::SetDialogAnswer(nullptr);
        const bool printed = outcome == lx::PrintOutcome::Printed;
        std::printf("print: job of %zu messages on \"%s\" %s after %.1f s\n", nums.size(),
                    lx::print::test::DefaultPrinter().c_str(),
                    printed                                   ? "spooled"
                    : outcome == lx::PrintOutcome::NotStarted ? "NOT started"
                                                              : "NOT printed",
                    (::GetTickCount() - start) / 1000.0);
        std::fflush(stdout);
        bool pdf = false;
        for (int i = 0; printed && i < 6000 && !pdf; ++i) { // bounded: 10 minutes for the PDF
            for (const std::string& name : lx::print::test::Pdfs())
                pdf = pdf || lx::print::test::Complete(lx::print::test::OutFolder() + "\\" + name);
            if (!pdf) ::Sleep(100);
        }
        lx::print::test::ClearPdfs();
        Touch(done);
        for (int i = 0; i < 100 && Exists(granted); ++i) ::Sleep(100); // the lock given back
        ::DeleteFileA(want.c_str());
        folders_->SelectIndex(0);
        Pump();
        std::printf("print: %zu messages in %.1f s, PDF %s\n", nums.size(),
                    (::GetTickCount() - start) / 1000.0, pdf ? "complete" : "missing");
        return printed && pdf && static_cast<int>(nums.size()) == o_.print;
    }

    void Record(const char* stage) {
        Pump();
        StageFigures s{stage, retrieved_, lx::soak::ProbeProcess()};
        std::printf("%s\n", lx::soak::FiguresLine(s).c_str());
        std::fflush(stdout);
        figures_.push_back(s);
    }

    int Verdict() {
        const long early = o_.batch, late = static_cast<long>(o_.batch) * o_.batches;
        std::printf("\n%s\n", lx::soak::CheckpointTable(figures_, early, late).c_str());
        const auto findings =
            lx::soak::UnboundedGrowth(figures_, early, late, lx::soak::GrowthLimits{});
        for (const auto& f : findings) std::printf("soak: GROWTH: %s\n", FindingLine(f).c_str());
        std::printf("soak: %s\n", findings.empty() ? "bounded" : "FAILED");
        return findings.empty() ? 0 : 1;
    }

    const Options& o_;
    lx::MessageCatalog& catalog_;
    odbcvantConnection& conn_;
    SoakHook hook_;
    lx::MailboxList mailboxes_{};
    std::unique_ptr<lx::CMainFrame> frame_;
    lx::FolderPane* folders_ = nullptr;
    lx::MessageListPane* messages_ = nullptr;
    long soakFolder_ = -1;
    long retrieved_ = 0;
    long removed_ = 0;
    std::vector<StageFigures> figures_;
    lx::Font fonts_[lx::kMessageFontCount];
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 8) {
        std::fprintf(stderr,
                     "usage: soak_driver INSTALL CATALOGUE MAILDIR LOCKDIR BATCHES BATCH PRINT\n");
        return 2;
    }
    Options o{argv[1],           argv[2], argv[3], argv[4], std::atoi(argv[5]), std::atoi(argv[6]),
              std::atoi(argv[7])};
    ::CreateDirectoryA((o.install + "\\DATA").c_str(), nullptr);
    TERNStartWinSock(0x0101);
    lx::MessageCatalog catalog;
    if (!catalog.Open(o.catalogue.c_str(), lx::CatalogMagic::Exact)) {
        std::fprintf(stderr, "catalogue %s cannot be read\n", o.catalogue.c_str());
        return 1;
    }
    lx::StoreConnection store;
    if (store.Open() != lx::StoreConnection::Outcome::Connected) {
        std::fprintf(stderr, "connect: %s\n", store.RefusalText().c_str());
        return 1;
    }
    if (!FreshStore(*store.Get())) return 1;
    const int result = Soak(o, catalog, *store.Get()).Run();
    TERNEndWinSock();
    return result;
}
