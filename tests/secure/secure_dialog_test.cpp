// Secured retrieval, sending and mail merge through their dialogs under Wine, against the TLS
// test servers (tools/testpeers/tlspeers.sh: Dovecot with STLS on 110 and TLS on 995, aiosmtpd
// with STARTTLS on 587 and TLS on 465, each asking for a login) and the clear-text ones
// (peers.sh). The mailbox is set up as the program does it: a record with its security in the
// spare bytes, made current into the registry. The servers' certificates come from a test
// authority this computer does not trust, so the user's choice to trust one (its pin) decides.
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
namespace {

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

std::string Text(const char* key, const std::vector<lx::FormatArg>& args = {}) {
    const char* text = BuiltCatalogue().Lookup(key);
    return lx::FormatTextOr(text ? text : "", args, text ? text : "");
}

// The start of a catalogue text, up to its first placeholder.
std::string Lead(const char* key) {
    const std::string text = Text(key);
    return text.substr(0, text.find('%'));
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string TlsDir() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/tlspeers";
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The fingerprint of a test server's certificate ("good", "expired", "othername").
std::string FingerprintOf(const char* certificate) {
    return lx::net::fingerprintText(
        lx::net::sha256(ReadFile(TlsDir() + "/" + certificate + ".der")));
}

int FilesIn(const std::string& pattern) {
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
void FillTlsMailbox(const std::vector<std::string>& messages) {
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

// Every text a control is given while a dialog runs.
class TextWatch {
public:
    static void Start(HWND control, std::vector<std::string>* texts) {
        texts_ = texts;
        old_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETTEXT && texts_ && lParam)
            texts_->push_back(reinterpret_cast<const char*>(lParam));
        return ::CallWindowProcA(old_, wnd, message, wParam, lParam);
    }
    static inline WNDPROC old_ = nullptr;
    static inline std::vector<std::string>* texts_ = nullptr;
};

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

const std::vector<std::string> kTwo = {
    "From: a@example.org\nTo: joe@example.org\nSubject: one\n\nFirst.\n",
    "From: b@example.org\nTo: joe@example.org\nSubject: two\n\nSecond.\n"};

// The first run refuses the certificate of the test authority and offers it with its reason and
// fingerprint; Yes keeps it, and every later run, STLS or TLS, is secured with it.
TEST_F(SecureRuns, RetrievalTrustsTheOfferedCertificateThenRetrievesSecured) {
    const std::string good = FingerprintOf("good");
    ASSERT_EQ(good.size(), 95u);
    Mailbox m;
    m.security.pop3 = MailSecurity::StartTls;
    MakeMailbox(m);
    FillTlsMailbox(kTwo);

    lx::Pop3StatData d;
    hook->boxAnswer = IDYES;
    Retrieve(d);
    EXPECT_TRUE(Contains(d.messages, Text("POP3STAT_CPP_44"))) << d.messages;
    // The server sends no authority with its certificate: the chain ends short of one.
    EXPECT_TRUE(Contains(d.messages, "does not lead to a trusted authority")) << d.messages;
    ASSERT_EQ(TrustQuestions(), 1);
    EXPECT_TRUE(Contains(LastBox(), good)) << LastBox();
    EXPECT_TRUE(Contains(LastBox(), "does not lead to a trusted authority"));
    EXPECT_TRUE(Contains(LastBox(), Lead("CERTTRUST_CPP_1"))) << LastBox();
    EXPECT_TRUE(Contains(d.messages, Text("CERTTRUST_CPP_7"))) << d.messages;
    EXPECT_EQ(PinOf(MailServer::Pop3), good);
    EXPECT_EQ(Stored(), 0);

    for (MailSecurity security : {MailSecurity::StartTls, MailSecurity::Tls}) {
        SCOPED_TRACE(static_cast<int>(security));
        m.security.pop3 = security;
        MakeMailbox(m);
        FillTlsMailbox(kTwo);
        const long before = Stored();
        const std::vector<std::string> shown = Retrieve(d);
        EXPECT_EQ(Stored(), before + 2) << d.messages;
        EXPECT_NE(std::find(shown.begin(), shown.end(), Text("POP3STAT_CPP_43")), shown.end());
        EXPECT_EQ(TrustQuestions(), 1);
    }
}

TEST_F(SecureRuns, RetrievalRefusesAChangedCertificateAndAWrongPassword) {
    Mailbox m;
    m.security.pop3 = MailSecurity::Tls;
    MakeMailbox(m);
    FillTlsMailbox(kTwo);
    // The certificate trusted before is another one: refused, and the question says it changed.
    const std::string other = FingerprintOf("othername");
    Pin(MailServer::Pop3, other);
    lx::Pop3StatData d;
    hook->boxAnswer = IDNO;
    Retrieve(d);
    EXPECT_TRUE(Contains(d.messages, "not the pinned one")) << d.messages;
    ASSERT_EQ(TrustQuestions(), 1);
    EXPECT_TRUE(Contains(LastBox(), Lead("CERTTRUST_CPP_2"))) << LastBox();
    EXPECT_TRUE(Contains(LastBox(), FingerprintOf("good")));
    EXPECT_TRUE(Contains(d.messages, Text("CERTTRUST_CPP_8")));
    EXPECT_EQ(PinOf(MailServer::Pop3), other); // No changes nothing
    EXPECT_EQ(Stored(), 0);

    // The right certificate and a wrong password: the server's refusal, over the secured line.
    Pin(MailServer::Pop3, FingerprintOf("good"));
    m.password = "wrong";
    MakeMailbox(m);
    const std::vector<std::string> shown = Retrieve(d);
    EXPECT_NE(std::find(shown.begin(), shown.end(), Text("POP3STAT_CPP_43")), shown.end());
    EXPECT_TRUE(Contains(d.messages, Text("POP3STAT_CPP_11"))) << d.messages;
    EXPECT_EQ(Stored(), 0);
    EXPECT_EQ(TrustQuestions(), 1);
}

TEST_F(SecureRuns, RetrievalWithoutStlsOfferedIsRefusedNotSentInClear) {
    Mailbox m;
    m.pop3 = kPlainPop3;
    m.security.pop3 = MailSecurity::StartTls;
    MakeMailbox(m);
    lx::Pop3StatData d;
    Retrieve(d);
    EXPECT_TRUE(Contains(d.messages, Text("POP3STAT_CPP_44"))) << d.messages;
    EXPECT_TRUE(Contains(d.messages, "does not offer STLS")) << d.messages;
    EXPECT_EQ(TrustQuestions(), 0);
    EXPECT_EQ(Stored(), 0);
}

// The automatic check has nobody to ask: it says how to decide instead.
TEST_F(SecureRuns, AutomaticRetrievalAsksNothing) {
    Mailbox m;
    m.security.pop3 = MailSecurity::Tls;
    MakeMailbox(m);
    lx::Pop3StatData d;
    Retrieve(d, true);
    EXPECT_TRUE(Contains(d.messages, Text("CERTTRUST_CPP_9"))) << d.messages;
    EXPECT_EQ(TrustQuestions(), 0);
    EXPECT_EQ(PinOf(MailServer::Pop3), "");
}

TEST_F(SecureRuns, SendingWithStartTlsAndTlsLogsInAndShowsTheSecuredConnection) {
    const int before = FilesIn(TlsDir() + "/smtp/*.eml");
    Mailbox m;
    m.security.smtp = MailSecurity::StartTls;
    m.security.smtpLogin = true;
    MakeMailbox(m);
    const long first = Queue(Queued{});
    lx::SendMailData d;
    hook->boxAnswer = IDYES;
    Send(d);
    EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_45"))) << d.log;
    ASSERT_EQ(TrustQuestions(), 1);
    EXPECT_EQ(PinOf(MailServer::Smtp), FingerprintOf("good"));
    EXPECT_EQ(FolderOf(first), out);

    for (MailSecurity security : {MailSecurity::StartTls, MailSecurity::Tls}) {
        SCOPED_TRACE(static_cast<int>(security));
        m.security.smtp = security;
        MakeMailbox(m);
        const std::vector<std::string> shown = Send(d);
        EXPECT_NE(std::find(shown.begin(), shown.end(), Text("MAILLETT_CPP_44")), shown.end())
            << d.log;
        EXPECT_EQ(FolderOf(first), sent) << d.log;
        Exec("UPDATE Messages SET FolderNum = " + std::to_string(out));
    }
    EXPECT_EQ(FilesIn(TlsDir() + "/smtp/*.eml"), before + 2);
    EXPECT_EQ(TrustQuestions(), 1);
}

TEST_F(SecureRuns, SendingRefusalsSayWhy) {
    struct Case {
        const char* what;
        std::string smtp;
        MailSecurity security;
        bool login;
        std::string password;
        int port;          // 0: the usual one
        const char* pinOf; // the certificate trusted beforehand, or null
        const char* logKey;
        const char* reason;
        bool offered; // the question to trust the certificate came
    };
    const Case cases[] = {
        {"wrong password", kTlsSmtp, MailSecurity::Tls, true, "wrong", 0, "good", "MAILLETT_CPP_46",
         "", false},
        {"no login where one is required", kTlsSmtp, MailSecurity::Tls, false, "secret", 0, "good",
         "MAILLETT_CPP_19", "", false},
        {"no STARTTLS offered", kPlainSmtp, MailSecurity::StartTls, true, "secret", 25, nullptr,
         "MAILLETT_CPP_45", "does not offer STARTTLS", false},
        {"trusted certificate expired since", kExpiredSmtp, MailSecurity::Tls, false, "secret", 0,
         "expired", "MAILLETT_CPP_45", "has expired", false},
        {"certificate changed since", kOtherNameSmtp, MailSecurity::Tls, false, "secret", 0, "good",
         "MAILLETT_CPP_45", "not the pinned one", true},
    };
    hook->boxAnswer = IDNO;
    const long message = Queue(Queued{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mailbox m;
        m.smtp = c.smtp;
        m.security.smtp = c.security;
        m.security.smtpLogin = c.login;
        m.security.smtpPort = static_cast<std::uint16_t>(c.port);
        m.password = c.password;
        MakeMailbox(m);
        Pin(MailServer::Smtp, c.pinOf ? FingerprintOf(c.pinOf) : "");
        const int asked = TrustQuestions();
        lx::SendMailData d;
        Send(d);
        EXPECT_TRUE(Contains(d.log, Lead(c.logKey))) << d.log;
        EXPECT_TRUE(Contains(d.log, c.reason)) << d.log;
        EXPECT_EQ(TrustQuestions(), asked + (c.offered ? 1 : 0));
        EXPECT_EQ(FolderOf(message), out);
    }
}

// With the test authority trusted by this computer, the checks that remain are the name and the
// dates: a certificate for another host is offered, an expired one is not. A program of its own
// runs it (ctest secure_dialogs_trusted): the system reads the trusted authorities once.
using TrustedAuthorityRuns = SecureRuns;
TEST_F(TrustedAuthorityRuns, StillRefuseAnotherHostAndAnExpiredCertificate) {
    struct Trusted {
        Trusted() {
            const std::string pem = ReadFile(TlsDir() + "/ca.pem");
            DWORD len = 0;
            CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &len, nullptr,
                                 nullptr);
            der.resize(len);
            CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER,
                                 reinterpret_cast<BYTE*>(&der[0]), &len, nullptr, nullptr);
            store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER,
                                  "Root");
            if (store)
                CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                 reinterpret_cast<const BYTE*>(der.data()), len,
                                                 CERT_STORE_ADD_REPLACE_EXISTING, &added);
            if (store) CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        }
        ~Trusted() {
            if (added) CertDeleteCertificateFromStore(added);
            if (store) {
                CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
                CertCloseStore(store, 0);
            }
        }
        std::string der;
        HCERTSTORE store = nullptr;
        PCCERT_CONTEXT added = nullptr;
    } trusted;
    ASSERT_NE(trusted.added, nullptr);
    hook->boxAnswer = IDNO;
    Queue(Queued{});
    const struct {
        const char* smtp;
        const char* reason;
        bool offered;
    } cases[] = {
        {kOtherNameSmtp, "not made out for the host name \"127.0.0.43\"", true},
        {kExpiredSmtp, "has expired", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.smtp);
        Mailbox m;
        m.smtp = c.smtp;
        m.security.smtp = MailSecurity::Tls;
        MakeMailbox(m);
        const int asked = TrustQuestions();
        lx::SendMailData d;
        Send(d);
        EXPECT_TRUE(Contains(d.log, Text("MAILLETT_CPP_45"))) << d.log;
        EXPECT_TRUE(Contains(d.log, c.reason)) << d.log;
        EXPECT_EQ(TrustQuestions(), asked + (c.offered ? 1 : 0));
    }
}

TEST_F(SecureRuns, MailMergeSendsOverTlsWithTheTrustedCertificate) {
    const int before = FilesIn(TlsDir() + "/smtp/*.eml");
    Mailbox m;
    m.security.smtp = MailSecurity::Tls;
    m.security.smtpLogin = true;
    MakeMailbox(m);
    Pin(MailServer::Smtp, FingerprintOf("good"));
    const std::string list = folder + "\\list.mmf";
    const std::string body = folder + "\\letter.txt";
    std::ofstream(list, std::ios::binary) << "ann@example.org\r\nbob@example.org\r\n";
    std::ofstream(body, std::ios::binary) << "Dear reader,\r\nhello.\r\n";
    lx::MailMergeData d;
    d.installPath = folder.c_str();
    d.catalog = &BuiltCatalogue();
    d.marks = &marks;
    d.registryKey = kKey;
    std::vector<std::string> shown;
    static std::string finished;
    finished = Text("SENDMMF_CPP_12");
    static std::string paths[2];
    paths[0] = list;
    paths[1] = body;
    hook->onInit = [&shown](HWND dialog, int id) {
        if (id != IDD_SENDMMF) return;
        TextWatch::Start(::GetDlgItem(dialog, IDC_SENDMMF_STATUS), &shown);
        ::SetDlgItemTextA(dialog, IDC_SENDMMF_ADDRESSFILE, paths[0].c_str());
        ::SetDlgItemTextA(dialog, IDC_SENDMMF_MESSAGEFILE, paths[1].c_str());
        ::SetDlgItemTextA(dialog, IDC_SENDMMF_SUBJECT, "Secured merge");
        Press(dialog, IDC_SENDMMF_START);
        ::SetTimer(dialog, 0x53, 50, [](HWND dlg, UINT, UINT_PTR timer, DWORD) {
            if (ControlText(dlg, IDC_SENDMMF_STATUS) != finished) return;
            ::KillTimer(dlg, timer);
            Press(dlg, IDCANCEL);
        });
    };
    lx::ShowMailMergeDialog(nullptr, &d);
    EXPECT_NE(std::find(shown.begin(), shown.end(), Text("SENDMMF_CPP_46")), shown.end());
    EXPECT_EQ(d.sentSuccessfully, 2);
    EXPECT_EQ(FilesIn(TlsDir() + "/smtp/*.eml"), before + 2);
}

// The expert screen: the security lists and ports, the SMTP login, a long app password.
class SecureEditor : public SecureRuns {
protected:
    // Opens the expert screen on record 0 of `list`; `script` runs once it is shown.
    INT_PTR Edit(lx::MailboxList& list, std::function<void(HWND)> script, lx::MailboxRecord* out) {
        lx::MailboxEditData edit;
        edit.catalog = &BuiltCatalogue();
        edit.conn = &Conn();
        edit.installPath = folder;
        edit.mailboxes = &list;
        edit.index = 0;
        edit.inFolderNum = in;
        edit.registryKey = kKey;
        hook->onInit = [script](HWND dialog, int id) {
            if (id == IDD_MBOXEXPERT) script(dialog);
        };
        const INT_PTR result = lx::ShowMailboxExpertDialog(nullptr, &edit);
        hook->onInit = nullptr;
        *out = edit.record;
        return result;
    }
    static void Choose(HWND dialog, int list, int index) {
        ::SendDlgItemMessageA(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, list)));
    }
    lx::MailboxList OldList() {
        lx::MailboxList list;
        lx::MailboxRecord& rec = list.records[0];
        lx::CopyText(rec.name, kMailbox);
        lx::CopyText(rec.pop3Server, kTlsPop3);
        lx::CopyText(rec.smtpServer, kTlsSmtp);
        lx::CopyText(rec.user, "joe");
        lx::CopyText(rec.password, "secret");
        lx::Scramble(rec.password);
        lx::CopyText(rec.defaultFolder, "_IN");
        rec.defaultFolderNum = static_cast<std::int32_t>(in);
        for (std::size_t i = 0; i < sizeof rec.unused; ++i)
            rec.unused[i] = static_cast<std::uint8_t>(0xA0 + i); // an older program's leftovers
        list.count = 1;
        return list;
    }
};

TEST_F(SecureEditor, OlderRecordSavedUnchangedStaysByteForByte) {
    lx::MailboxList list = OldList();
    std::map<int, std::string> shown;
    lx::MailboxRecord saved;
    ASSERT_EQ(Edit(
                  list,
                  [&shown](HWND dialog) {
                      for (int id :
                           {IDC_MBOXEXPERT_POP3SEC, IDC_MBOXEXPERT_POP3PORT, IDC_MBOXEXPERT_SMTPSEC,
                            IDC_MBOXEXPERT_SMTPPORT, IDC_MBOXEXPERT_SMTPLOGIN})
                          shown[id] = ControlText(dialog, id);
                      Press(dialog, IDC_MBOXEXPERT_SAVE);
                  },
                  &saved),
              IDOK);
    EXPECT_EQ(shown[IDC_MBOXEXPERT_POP3SEC], Text("MBOXWIZ_CPP_5"));
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPSEC], Text("MBOXWIZ_CPP_5"));
    EXPECT_EQ(shown[IDC_MBOXEXPERT_POP3PORT], "110");
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPPORT], "25");
    EXPECT_EQ(shown[IDC_MBOXEXPERT_SMTPLOGIN], Text("MBOXWIZ_CPP_10"));
    std::uint8_t before[lx::kMailboxRecordSize], after[lx::kMailboxRecordSize];
    lx::EncodeMailbox(list.records[0], before);
    lx::EncodeMailbox(saved, after);
    EXPECT_EQ(0, std::memcmp(before, after, sizeof before));
}

TEST_F(SecureEditor, SecuritySavedIntoTheSpareBytesAndLongPasswordKeptWhole) {
    lx::MailboxList list = OldList();
    const std::string appPassword = "abcd-efgh-ijkl-mnop-qrst-uvwx-yz01-2345";
    std::map<int, std::string> ports;
    lx::MailboxRecord saved;
    // A port out of range keeps the screen open with the message; fixed, Save stores.
    hook->afterBox = [](HWND dialog, size_t) {
        ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_SMTPPORT, "2525");
        Press(dialog, IDC_MBOXEXPERT_SAVE);
    };
    ASSERT_EQ(Edit(
                  list,
                  [&](HWND dialog) {
                      Choose(dialog, IDC_MBOXEXPERT_POP3SEC, 2);
                      Choose(dialog, IDC_MBOXEXPERT_SMTPSEC, 1);
                      ports[1] = ControlText(dialog, IDC_MBOXEXPERT_POP3PORT);
                      ports[2] = ControlText(dialog, IDC_MBOXEXPERT_SMTPPORT);
                      ::CheckDlgButton(dialog, IDC_MBOXEXPERT_SMTPLOGIN, BST_CHECKED);
                      ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_PASSWORD, appPassword.c_str());
                      ::SetDlgItemTextA(dialog, IDC_MBOXEXPERT_SMTPPORT, "70000");
                      Press(dialog, IDC_MBOXEXPERT_SAVE);
                  },
                  &saved),
              IDOK);
    hook->afterBox = nullptr;
    ASSERT_EQ(hook->boxes.size(), 1u);
    EXPECT_EQ(hook->boxes[0].text, Text("MBOXWIZ_CPP_13"));
    EXPECT_EQ(ports[1], "995");
    EXPECT_EQ(ports[2], "587");
    const lx::MailboxSecurity want{MailSecurity::Tls, MailSecurity::StartTls, 0, 2525, true};
    EXPECT_EQ(lx::ReadMailboxSecurity(saved), want);
    // The record holds the first 16 characters; the runs log in with the whole.
    char head[17] = "";
    lx::CopyText(head, saved.password);
    lx::Unscramble(head);
    EXPECT_EQ(std::string(head), appPassword.substr(0, 16));
    list.records[0] = saved;
    lx::Win32SettingsRegistry registry(kKey);
    ASSERT_TRUE(lx::MakeCurrent(list, 0, registry));
    char mirrored[lx::kRegPasswordSize] = "";
    ASSERT_TRUE(registry.ReadString(lx::kRegPassword, mirrored, sizeof mirrored));
    EXPECT_EQ(lx::PlainWhole(mirrored), appPassword);
    EXPECT_EQ(lx::ReadDwordOr(registry, lx::kRegSmtpPort, 0), 2525);
    EXPECT_EQ(lx::ReadDwordOr(registry, lx::kRegPop3Port, 0), 995);

    // Opened again, the screen shows the whole password and the ports as saved.
    std::map<int, std::string> again;
    lx::MailboxRecord unchanged;
    ASSERT_EQ(Edit(
                  list,
                  [&again](HWND dialog) {
                      for (int id : {IDC_MBOXEXPERT_PASSWORD, IDC_MBOXEXPERT_POP3PORT,
                                     IDC_MBOXEXPERT_SMTPPORT})
                          again[id] = ControlText(dialog, id);
                      Press(dialog, IDCANCEL);
                  },
                  &unchanged),
              IDCANCEL);
    EXPECT_EQ(again[IDC_MBOXEXPERT_PASSWORD], appPassword);
    EXPECT_EQ(again[IDC_MBOXEXPERT_POP3PORT], "995");
    EXPECT_EQ(again[IDC_MBOXEXPERT_SMTPPORT], "2525");
}

// Steps run one after the other from a dialog's own loop, each once the last one's posted
// presses have been handled.
class Steps {
public:
    static void Start(HWND dialog, std::vector<std::function<void(HWND)>> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        ::SetTimer(dialog, 0x57, 100, [](HWND dlg, UINT, UINT_PTR timer, DWORD) {
            if (next_ >= steps_.size()) return (void)::KillTimer(dlg, timer);
            steps_[next_++](dlg);
        });
    }

private:
    static inline std::vector<std::function<void(HWND)>> steps_;
    static inline std::size_t next_ = 0;
};

TEST_F(SecureEditor, WizardAsksForTheSecurityBesideEachServer) {
    lx::MailboxList list; // the first mailbox
    lx::MailboxEditData edit;
    edit.catalog = &BuiltCatalogue();
    edit.conn = &Conn();
    edit.installPath = folder;
    edit.mailboxes = &list;
    edit.index = 0;
    edit.inFolderNum = in;
    edit.registryKey = kKey;
    std::map<std::string, std::string> seen;
    auto text = [](HWND dialog, const char* value) {
        ::SetDlgItemTextA(dialog, IDC_MBOXWIZ_EDIT, value);
        Press(dialog, IDC_MBOXWIZ_NEXT);
    };
    hook->onInit = [&](HWND dialog, int id) {
        if (id != IDD_MBOXWIZ) return;
        Steps::Start(
            dialog, {[](HWND d) { Press(d, IDC_MBOXWIZ_NEXT); }, [&](HWND d) { text(d, "Wizard"); },
                     [&](HWND d) {
                         seen["pop3 shown"] =
                             ::IsWindowVisible(::GetDlgItem(d, IDC_MBOXWIZ_POP3SEC)) ? "yes" : "no";
                         seen["smtp shown"] =
                             ::IsWindowVisible(::GetDlgItem(d, IDC_MBOXWIZ_SMTPSEC)) ? "yes" : "no";
                         Choose(d, IDC_MBOXWIZ_POP3SEC, 2);
                         seen["pop3 port"] = ControlText(d, IDC_MBOXWIZ_POP3PORT);
                         text(d, kTlsPop3);
                     },
                     [&](HWND d) {
                         Choose(d, IDC_MBOXWIZ_SMTPSEC, 2);
                         seen["smtp port"] = ControlText(d, IDC_MBOXWIZ_SMTPPORT);
                         ::CheckDlgButton(d, IDC_MBOXWIZ_SMTPLOGIN, BST_CHECKED);
                         text(d, kTlsSmtp);
                     },
                     [&](HWND d) { text(d, "joe@example.org"); }, [&](HWND d) { text(d, "joe"); },
                     [](HWND d) {
                         ::SetDlgItemTextA(d, IDC_MBOXWIZ_PASSWORD, "secret");
                         Press(d, IDC_MBOXWIZ_NEXT);
                     },
                     [](HWND d) { Press(d, IDC_MBOXWIZ_FINISH); }});
    };
    ASSERT_EQ(lx::ShowMailboxWizardDialog(nullptr, &edit), IDOK);
    hook->onInit = nullptr;
    EXPECT_EQ(seen["pop3 shown"], "yes");
    EXPECT_EQ(seen["smtp shown"], "no");
    EXPECT_EQ(seen["pop3 port"], "995");
    EXPECT_EQ(seen["smtp port"], "465");
    EXPECT_EQ(lx::TextOf(edit.record.pop3Server), kTlsPop3);
    const lx::MailboxSecurity want{MailSecurity::Tls, MailSecurity::Tls, 0, 0, true};
    EXPECT_EQ(lx::ReadMailboxSecurity(edit.record), want);
}

} // namespace
} // namespace lxtest
