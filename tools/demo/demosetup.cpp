// Prepares the demo's installation folder through the program's own settings and store code: the
// special folders, one message queued in _OUT, a few address book entries and a mailing list to
// pick recipients from, the mailbox file MAILBOXX.STP with the password
// scrambled and, when asked for, how it secures its connections, and the current mailbox's
// registry values as a REGEDIT4 file for `wine reg import`.
//
// usage: lxdemosetup INSTALL_DIR REG_FILE POP3_SERVER SMTP_SERVER USER PASSWORD
//                    [POP3_SECURITY POP3_PORT SMTP_SECURITY SMTP_PORT]
// A security is 0 (clear text), 1 (STLS or STARTTLS) or 2 (TLS from the first byte), a port 0
// for the usual one; a secured SMTP connection logs in with the mailbox's user and password.
// The store is the data source "Lorvex" of the ODBC configuration in the environment.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/catalog/msgcatalog.h"
#include "common/clock/localtime.h"
#include "common/schema/newmessage.h"
#include "common/schema/sqlforms.h"
#include "common/schema/storeconnection.h"
#include "common/schema/subject.h"
#include "common/settings/fixed_text.h"
#include "common/settings/install_path.h"
#include "common/settings/mailbox_file.h"
#include "common/settings/mailbox_security.h"
#include "common/settings/scramble.h"
#include "common/settings/settings_registry.h"
#include "mailer/ui/store/mailfold_store.h"

namespace {

constexpr char kMailboxName[] = "Demo";
constexpr char kAddress[] = "you@lorvex.example";

// Registry values written as a REGEDIT4 file (strings in the Windows code page, as the program's
// own writes would store them).
class RegFile : public lx::SettingsRegistry {
public:
    bool KeyExisted() const override { return false; }
    bool WriteString(const char* name, const char* text) override {
        std::string line = "\"" + Escaped(name) + "\"=\"" + Escaped(text) + "\"";
        lines_.push_back(line);
        return true;
    }
    bool WriteDword(const char* name, std::int32_t value) override {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(value));
        lines_.push_back("\"" + Escaped(name) + "\"=dword:" + hex);
        return true;
    }
    bool Save(const std::string& path) const {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        std::fprintf(f, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\%s]\r\n", lx::kRegistryKey);
        for (const std::string& line : lines_) std::fprintf(f, "%s\r\n", line.c_str());
        return std::fclose(f) == 0;
    }

protected:
    bool QueryString(const char*, std::string&) override { return false; }
    bool QueryDword(const char*, std::int32_t&) override { return false; }

private:
    static std::string Escaped(const char* text) {
        std::string out;
        for (const char* p = text; *p; ++p) {
            if (*p == '"' || *p == '\\') out += '\\';
            out += *p;
        }
        return out;
    }
    std::vector<std::string> lines_;
};

long FolderNum(const std::vector<lx::FolderRow>& rows, const char* name) {
    for (const lx::FolderRow& row : rows)
        if (row.name == name) return row.num;
    return -1;
}

bool QueueGreeting(odbcvantConnection* conn, long outNum) {
    lx::NewMessage m;
    m.kind = lx::NewMessageKind::Written;
    m.folderNum = outNum;
    m.fromAdd = kAddress;
    m.appDate = lx::LocalTimeNow();
    m.subject = lx::ComposeSubject("Greetings from the Lorvex demo", false, false);
    m.mailData =
        "Hello,\r\n\r\nthis message waited in the _OUT folder until you chose Mail > Send Mail.\r\n"
        "The demo's SMTP server keeps it as a file in build/demo/servers/smtp.\r\n\r\n"
        "Regards,\r\nthe Lorvex demo\r\n";
    m.to = {"friend@lorvex.example"};
    m.cc = {"team@lorvex.example"};
    long mesgNum = -1;
    return lx::StoreNewMessage(conn, m, nullptr, &mesgNum) == lx::StoreOutcome::Stored;
}

// Address book entries (name, address) and the mailing list "Lorvex team" of the first three:
// two as To members, one as a Cc member.
bool FillAddressBook(odbcvantConnection* conn) {
    static const char* const kEntries[][2] = {{"Ada Friend", "friend@lorvex.example"},
                                              {"Bert Builder", "bert@lorvex.example"},
                                              {"Carla Reviewer", "carla@lorvex.example"},
                                              {"Quentin Quiet", "quentin@lorvex.example"},
                                              {"Zoe Zeal", "zoe@lorvex.example"}};
    for (const auto& e : kEntries) {
        const std::string sql = "INSERT INTO AddBook (AddName, AddDest, AddNote) VALUES (" +
                                lx::SqlQuote(e[0]) + ", " + lx::SqlQuote(e[1]) + ", '')";
        if (!conn->ExecuteDirect(sql.c_str())) return false;
    }
    return conn->ExecuteDirect("INSERT INTO Distribution (DistroName) VALUES ('Lorvex team')") &&
           conn->ExecuteDirect(
               "INSERT INTO DistroAdd (DistroNum, AddNum, IsTo) SELECT D.DistroNum, A.AddNum, "
               "CASE WHEN A.AddName = 'Carla Reviewer' THEN 0 ELSE 1 END FROM Distribution D, "
               "AddBook A WHERE D.DistroName = 'Lorvex team' AND A.AddName IN ('Ada Friend', "
               "'Bert Builder', 'Carla Reviewer')");
}

// The security arguments from argv[7] on; false when one is out of range.
bool ParseSecurity(char** argv, lx::MailboxSecurity& security) {
    long v[4];
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        v[i] = std::strtol(argv[7 + i], &end, 10);
        if (*end != '\0' || v[i] < 0 || v[i] > (i % 2 ? 65535 : 2)) return false;
    }
    security.pop3 = static_cast<lx::MailSecurity>(v[0]);
    security.pop3Port = static_cast<std::uint16_t>(v[1]);
    security.smtp = static_cast<lx::MailSecurity>(v[2]);
    security.smtpPort = static_cast<std::uint16_t>(v[3]);
    security.smtpLogin = security.smtp != lx::MailSecurity::None;
    return true;
}

lx::MailboxList DemoMailbox(char** argv, long inNum, const lx::MailboxSecurity& security) {
    lx::MailboxList list;
    lx::MailboxRecord& r = list.records[0];
    lx::CopyText(r.name, kMailboxName);
    lx::CopyText(r.pop3Server, argv[3]);
    lx::CopyText(r.smtpServer, argv[4]);
    lx::CopyText(r.address, kAddress);
    lx::CopyText(r.user, argv[5]);
    lx::CopyText(r.password, argv[6]);
    lx::Scramble(r.password);
    r.deleteMail = 0; // the sample messages stay on the server: retrieve them as often as you like
    r.apop = 1;
    r.current = 1;
    lx::CopyText(r.defaultFolder, "_IN");
    r.defaultFolderNum = static_cast<std::int32_t>(inNum);
    lx::WriteMailboxSecurity(r, security);
    list.count = 1;
    return list;
}

} // namespace

int main(int argc, char** argv) {
    lx::MailboxSecurity security;
    if ((argc != 7 && argc != 11) || (argc == 11 && !ParseSecurity(argv, security))) {
        std::fprintf(stderr,
                     "usage: %s INSTALL_DIR REG_FILE POP3_SERVER SMTP_SERVER USER PASSWORD "
                     "[POP3_SECURITY POP3_PORT SMTP_SECURITY SMTP_PORT]\n"
                     "  a security is 0 (clear text), 1 (STLS/STARTTLS) or 2 (TLS), a port 0 for "
                     "the usual one\n",
                     argv[0]);
        return 2;
    }
    const std::string installDir = argv[1];
    lx::MessageCatalog catalog;
    catalog.Open(lx::InstallFile(installDir, "DGROUP.VSF").c_str(), lx::CatalogMagic::Exact);

    lx::StoreConnection store;
    if (store.Open() != lx::StoreConnection::Outcome::Connected) {
        std::fprintf(stderr, "the demo store cannot be opened: %s\n", store.RefusalText().c_str());
        return 1;
    }
    lx::FolderStore folders(store.Get(), nullptr);
    std::vector<lx::FolderRow> rows;
    if (!folders.LoadEnsuringSpecialFolders(
            rows, [&catalog](const char* key) { return lx::CatalogText(&catalog, key); })) {
        std::fprintf(stderr, "the special folders cannot be made in the demo store\n");
        return 1;
    }
    const long inNum = FolderNum(rows, "_IN"), outNum = FolderNum(rows, "_OUT");
    if (inNum < 0 || outNum < 0 || !QueueGreeting(store.Get(), outNum)) {
        std::fprintf(stderr, "the demo message cannot be queued in _OUT\n");
        return 1;
    }
    if (!FillAddressBook(store.Get())) {
        std::fprintf(stderr, "the demo address book cannot be filled: %s\n",
                     store.Get()->GetLastErrorText());
        return 1;
    }

    const lx::MailboxList list = DemoMailbox(argv, inNum, security);
    RegFile reg;
    if (!lx::SaveMailboxes(installDir, list) || !lx::MakeCurrent(list, 0, reg) ||
        !reg.Save(argv[2])) {
        std::fprintf(stderr, "the demo mailbox cannot be written\n");
        return 1;
    }
    std::printf("demo store: folders ready, one message queued in _OUT, address book filled; "
                "mailbox \"%s\" written\n",
                kMailboxName);
    return 0;
}
