// Secured retrieval, sending and mail merge through their dialogs: each mode, the certificate
// offered and trusted, a changed or expired one refused, wrong passwords and refused logins, a
// server that cannot secure the connection.
#include "tests/secure/secure_fixture.h"

namespace lxtest {
namespace {

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

} // namespace
} // namespace lxtest
