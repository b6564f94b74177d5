// The secured runs' dialogs under Wine against the TLS test servers (tools/testpeers/tlspeers.sh:
// Dovecot with STLS on 110 and TLS on 995, aiosmtpd with STARTTLS on 587 and TLS on 465, each
// asking for a login) and the clear-text ones (peers.sh). The mailbox is set up as the program
// does it: a record with its security in the spare bytes, made current into the registry. The
// servers' certificates come from a test authority this computer does not trust, so the user's
// choice to trust one (its pin) decides.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/registry_win32.h"
#include "common/settings/scramble.h"
#include "mailer/res/resource.h"
#include "mailer/transfer/maillett.h"
#include "mailer/transfer/mboxedit.h"
#include "mailer/transfer/mboxexpt.h"
#include "mailer/transfer/mboxwiz.h"
#include "mailer/transfer/mergerun.h"
#include "mailer/transfer/pop3stat.h"
#include "mailer/transfer/sendmmf.h"
#include "netlib/core/sha256.h"
#include "netlib/tern32.h"
#include "tests/sending/queue_fixture.h"
#include "tests/startup/uitest.h"

namespace lxtest {

using lx::MailSecurity;
using lx::MailServer;

constexpr char kKey[] = "Software\\Quorbit\\LorvexSecureTest";
constexpr char kMailbox[] = "Secure";
constexpr char kTlsPop3[] = "127.0.0.44";
constexpr char kTlsSmtp[] = "127.0.0.45";
constexpr char kExpiredSmtp[] = "127.0.0.42";   // TLS on 465, an expired certificate
constexpr char kOtherNameSmtp[] = "127.0.0.43"; // TLS on 465, made out for mail.other.test
constexpr char kPlainPop3[] = "127.0.0.2";      // no STLS
constexpr char kPlainSmtp[] = "127.0.0.3";      // no STARTTLS

inline std::string Text(const char* key, const std::vector<lx::FormatArg>& args = {}) {
    const char* text = BuiltCatalogue().Lookup(key);
    return lx::FormatTextOr(text ? text : "", args, text ? text : "");
}

// The start of a catalogue text, up to its first placeholder.
inline std::string Lead(const char* key) {
    const std::string text = Text(key);
    return text.substr(0, text.find('%'));
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::string TlsDir() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/tlspeers";
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The fingerprint of a test server's certificate ("good", "expired", "othername").
inline std::string FingerprintOf(const char* certificate) {
    return lx::net::fingerprintText(
        lx::net::sha256(ReadFile(TlsDir() + "/" + certificate + ".der")));
}

inline int FilesIn(const std::string& pattern) {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return n;
}

// The secured Dovecot's mailbox of joe holds exactly these messages (names never used before).
inline void FillTlsMailbox(const std::vector<std::string>& messages) {
    const std::string dir = TlsDir() + "/mail/joe";
    for (const char* sub : {"/new/", "/cur/"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((dir + sub + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA((dir + sub + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    static unsigned serial = ::GetTickCount();
    for (const std::string& m : messages) {
        char name[64];
        std::snprintf(name, sizeof name, "/new/%010u.M%uP1.lxsecure", 1700000000u, ++serial);
        std::ofstream(dir + name, std::ios::binary) << m;
    }
}

struct Mailbox {
    std::string pop3 = kTlsPop3;
    std::string smtp = kTlsSmtp;
    std::string password = "secret";
    lx::MailboxSecurity security;
};

class SecureRuns : public QueueTest {
protected:
    void SetUp() override {
        QueueTest::SetUp();
        ASSERT_TRUE(BuiltCatalogue().Loaded()) << "DGROUP.VSF of the build is needed";
        folder = TempFolder("lxsecure");
        ::CreateDirectoryA((folder + "\\DATA").c_str(), nullptr);
        in = QueryLong("SELECT FolderNum FROM Folders WHERE Folder = '_IN'");
        ASSERT_EQ(TERNStartWinSock(0x0101), 1);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        hook.reset(new ScriptedHook);
    }
    void TearDown() override {
        hook.reset();
        TERNEndWinSock();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }

    // The mailbox as the editors store it and the selector makes it current.
    void MakeMailbox(const Mailbox& m) {
        lx::MailboxList list;
        lx::MailboxRecord& rec = list.records[0];
        lx::CopyText(rec.name, kMailbox);
        lx::CopyText(rec.pop3Server, m.pop3.c_str());
        lx::CopyText(rec.smtpServer, m.smtp.c_str());
        lx::CopyText(rec.address, "joe@example.org");
        lx::CopyText(rec.user, "joe");
        lx::CopyText(rec.password, m.password.c_str());
        lx::Scramble(rec.password);
        lx::CopyText(rec.defaultFolder, "_IN");
        rec.defaultFolderNum = static_cast<std::int32_t>(in);
        rec.current = 1;
        lx::WriteMailboxSecurity(rec, m.security);
        list.count = 1;
        lx::Win32SettingsRegistry registry(kKey);
        ASSERT_TRUE(lx::KeepMailboxPassword(registry, kMailbox, m.password));
        ASSERT_TRUE(lx::MakeCurrent(list, 0, registry));
    }
    void Pin(MailServer server, const std::string& fingerprint) {
        lx::Win32SettingsRegistry registry(kKey);
        ASSERT_TRUE(lx::WriteMailboxPin(registry, kMailbox, server, fingerprint));
    }
    std::string PinOf(MailServer server) {
        lx::Win32SettingsRegistry registry(kKey);
        return lx::ReadMailboxPin(registry, kMailbox, server);
    }
    long Stored() {
        return QueryLong("SELECT COUNT(*) FROM Messages WHERE FolderNum = " + std::to_string(in));
    }

    // One manual retrieval, closed once the connection's run is over; the connection status
    // texts it showed.
    std::vector<std::string> Retrieve(lx::Pop3StatData& d, bool automatic = false) {
        d = lx::Pop3StatData{};
        d.catalog = &BuiltCatalogue();
        d.conn = &Conn();
        d.installPath = folder;
        d.marks = &marks;
        d.automatic = automatic;
        d.inFolderNum = in;
        d.registryKey = kKey;
        std::vector<std::string> shown;
        static std::string over;
        over = Text("POP3STAT_CPP_2"); // the connection's run is over
        hook->onInit = [&shown](HWND dialog, int id) {
            if (id != IDD_POP3STAT) return;
            TextWatch::Start(::GetDlgItem(dialog, IDC_POP3STAT_CONNECTION), &shown);
            ::SetTimer(dialog, 0x53, 50, [](HWND dlg, UINT, UINT_PTR timer, DWORD) {
                if (ControlText(dlg, IDC_POP3STAT_CONNECTION) != over) return;
                ::KillTimer(dlg, timer);
                Press(dlg, IDCANCEL);
            });
        };
        lx::ShowPop3StatDialog(nullptr, &d);
        hook->onInit = nullptr;
        return shown;
    }

    // One manual sending run of what _OUT holds, closed once it has finished.
    std::vector<std::string> Send(lx::SendMailData& d) {
        d = lx::SendMailData{};
        d.installPath = folder.c_str();
        d.catalog = &BuiltCatalogue();
        d.conn = &Conn();
        d.marks = &marks;
        d.registryKey = kKey;
        std::vector<std::string> shown;
        static std::string finished;
        finished = Text("MAILLETT_CPP_13");
        hook->onInit = [&shown](HWND dialog, int id) {
            if (id != IDD_MAILLETT) return;
            TextWatch::Start(::GetDlgItem(dialog, IDC_MAILLETT_STATUS), &shown);
            ::SetTimer(dialog, 0x53, 50, [](HWND dlg, UINT, UINT_PTR timer, DWORD) {
                if (ControlText(dlg, IDC_MAILLETT_STATUS) != finished) return;
                ::KillTimer(dlg, timer);
                Press(dlg, IDCANCEL);
            });
        };
        lx::ShowSendMailDialog(nullptr, &d);
        hook->onInit = nullptr;
        return shown;
    }

    // The questions asked so far about trusting a certificate, and the last one's text.
    int TrustQuestions() const {
        int n = 0;
        for (const auto& box : hook->boxes) n += box.caption == Text("CERTTRUST_CPP_6");
        return n;
    }
    std::string LastBox() const { return hook->boxes.empty() ? "" : hook->boxes.back().text; }

    std::string folder;
    long in = 0;
    lx::TransferMarks marks;
    std::unique_ptr<ScriptedHook> hook;
};

} // namespace lxtest
