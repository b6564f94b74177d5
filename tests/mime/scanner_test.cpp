#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "mimetest.h"
#include "netlib/mime/codecs.h"
#include "netlib/mime/scanner.h"
#include "netlib/mime/ternmime.h"
#include "netlib/mime/uniquefile.h"

using namespace lx::mime;
using lxtest::TempDir;

namespace {

struct Scan {
    TempDir dir;
    std::string attach;
    Scanner* scanner = nullptr;
    explicit Scan(const std::vector<std::string>& messages)
        : Scan(lxtest::incomingSpool(messages), true) {}
    Scan(const std::string& spoolBytes, bool) {
        lxtest::writeFile(dir.file("TernPop3.Txt"), spoolBytes);
        attach = dir.file("Data");
        std::filesystem::create_directory(attach);
        scanner = new Scanner(dir.file("TernPop3.Txt"), attach);
    }
    ~Scan() { delete scanner; }
    std::string text(const TernScanRecord* r) const {
        return std::string(r->Text, r->TextLength - 1);
    }
    std::string file(const TernScanRecord* r, int i) const { return lxtest::readFile(r->Files[i]); }
};

std::string msg(const std::string& headers, const std::string& body) {
    return headers + "\r\n" + body;
}

std::string leaf(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }

} // namespace

TEST(ScannerSpool, CountLine) {
    Scan s(std::string("BEGIN MESSAGE\r\n+OK\r\nSubject: x\r\n\r\nbody\r\n.\r\nEND MESSAGE\r\n"),
           true);
    EXPECT_EQ(s.scanner->messageCount(), 0);
    EXPECT_EQ(s.scanner->getFirst(), nullptr);
    Scan t(std::string("Letters :   7\r\n"), true);
    EXPECT_EQ(t.scanner->messageCount(), 7);
    EXPECT_EQ(t.scanner->getFirst(), nullptr); // promised messages that never came
}

TEST(ScannerSpool, MissingFileGivesNoRecords) {
    TempDir dir;
    Scanner sc(dir.file("absent.txt"), dir.path());
    EXPECT_EQ(sc.messageCount(), 0);
    EXPECT_EQ(sc.getFirst(), nullptr);
    EXPECT_EQ(sc.getNext(), nullptr);
}

TEST(ScannerHeaders, FieldsCutAtParenthesis) {
    Scan s({msg("Subject: Word (comment)\r\nDate: Mon, 1 Jan 2024 (x)\r\nFrom: a@b.example (Al)\r\n"
                "Message-ID: <id@b> (c)\r\nReceived: from x\r\nX-Foo: bar\r\n",
                "Body text.\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "Word (comment)"); // unstructured: nothing is a comment
    EXPECT_STREQ(r->Date, "Mon, 1 Jan 2024 ");
    EXPECT_STREQ(r->From, "a@b.example ");
    EXPECT_STREQ(r->MesgId, "<id@b> ");
    EXPECT_EQ(s.text(r), "Body text.\r\n");
    EXPECT_EQ(r->TextLength, 13);
    EXPECT_EQ(s.scanner->getNext(), nullptr);
}

TEST(ScannerHeaders, FieldsAreBounded) {
    Scan s({msg("Subject: " + std::string(600, 's') + "\r\nFrom: " + std::string(300, 'f') + "\r\n",
                "x\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r->Subject), std::string(255, 's'));
    EXPECT_EQ(std::string(r->From), std::string(79, 'f'));
}

TEST(ScannerHeaders, ReplyToIsCaptured) {
    Scan s({msg("From: a@b.example\r\nReply-To: list@b.example (List)\r\n", "Hi\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->ReplyTo, "list@b.example ");
    EXPECT_EQ(s.text(r), "Reply-To: list@b.example \r\nHi\r\n");
}

TEST(ScannerHeaders, EncodedWordsAndFoldedValues) {
    Scan s(
        {msg("From: =?iso-8859-1?q?Andr=E9?= <a@x.example> (comment)\r\n"
             "Reply-To: =?utf-8?b?SsO2cmc=?= <j@x.example>\r\n"
             "To: =?utf-8?q?=C3=89mile?= <e@x.example>, =?utf-8?q?Smith=2C_J?= <s@x.example>\r\n"
             "Subject: =?utf-8?q?Caf=C3=A9_(menu)?=\r\n =?windows-1252?q?=80_5?= and\r\n\tmore\r\n"
             "Date: Mon, 1 Jan 2024\r\n 10:00 +0000 (UTC)\r\n",
             "b\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->From, "Andr\xe9 <a@x.example> ");
    EXPECT_STREQ(r->ReplyTo, "J\xf6rg <j@x.example>");
    EXPECT_STREQ(r->Subject, "Caf\xe9 (menu)\x80 5 and\tmore");
    EXPECT_STREQ(r->Date, "Mon, 1 Jan 2024 10:00 +0000 ");
    ASSERT_EQ(r->ToCount, 2);
    EXPECT_STREQ(r->To[0], "\xc9mile <e@x.example>");
    EXPECT_STREQ(r->To[1], "Smith, J <s@x.example>");
}

TEST(ScannerAddresses, CommaBeforeAtAndContinuations) {
    Scan s({msg("To: Smith, John <js@x.example>, <only@x.example>,\r\n\tbob@y.example\r\n"
                "Cc: Carol\r\n <carol@z.example>\r\nSubject: s\r\n",
                "b\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->ToCount, 3);
    EXPECT_STREQ(r->To[0], "Smith, John <js@x.example>");
    EXPECT_STREQ(r->To[1], "<only@x.example>");
    EXPECT_STREQ(r->To[2], "bob@y.example");
    ASSERT_EQ(r->CcCount, 1);
    EXPECT_STREQ(r->Cc[0], "Carol <carol@z.example>");
    EXPECT_STREQ(r->Subject, "s");
}

TEST(ScannerAddresses, FortyAddressesKeepThirtyTwo) {
    std::string to = "To: ";
    for (int i = 0; i < 40; ++i)
        to += "u" + std::to_string(i) + "@x.example" + (i < 39 ? ",\r\n " : "\r\n");
    Scan s({msg(to, "Body\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->ToCount, 32);
    EXPECT_STREQ(r->To[31], "u31@x.example");
    std::string expected;
    for (int i = 32; i < 40; ++i)
        expected += "Extra To Name: u" + std::to_string(i) + "@x.example\r\n";
    EXPECT_EQ(s.text(r), expected + "Body\r\n");
}

TEST(ScannerBody, MarkerWordsStayInTheText) {
    const std::string body = "before\r\nthe END MESSAGE words\r\nEND MESSAGE\r\nBEGIN MESSAGE\r\n"
                             ".\r\nEND MESSAGE\r\nafter\r\n";
    Scan s({msg("Subject: a\r\n", body), msg("Subject: b\r\n", "second\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r), body);
    EXPECT_EQ(s.scanner->lastError(), kScanSound);
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "b");
    EXPECT_EQ(s.text(r), "second\r\n");
    EXPECT_EQ(s.scanner->getNext(), nullptr);
}

TEST(ScannerBody, DotStuffingAndLeadingEmptyLines) {
    Scan s({msg("Subject: d\r\n", "\r\n\r\n.starts with dot\r\n.\r\nlast\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r), ".starts with dot\r\n.\r\nlast\r\n");
}

TEST(ScannerBody, LargeTextMovesToFile) {
    std::string body;
    while (body.size() < 40000) body += std::string(70, 'L') + "\r\n";
    Scan s({msg("Subject: big\r\n", body)});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Text, "Message Text Was Too Large - Please check file attachment");
    EXPECT_EQ(r->TextLength, 64);
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(leaf(r->Files[0]), "TEXTFILE.TXT");
    EXPECT_EQ(s.file(r, 0), body);
}

TEST(ScannerBody, UuencodedFileInPlainMessage) {
    Scan s({msg("Subject: uu\r\n",
                "see file\r\nbegin 644 cat.txt\r\n#0V%T\r\n`\r\nend\r\nafter\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(leaf(r->Files[0]), "cat.txt");
    EXPECT_EQ(s.file(r, 0), "Cat");
    EXPECT_EQ(s.text(r), "see file\r\nafter\r\n");
}

namespace {
const std::string kMimeHead =
    "MIME-Version: 1.0\r\nSubject: m\r\nContent-Type: multipart/mixed; boundary=\"BB\"\r\n";
std::string b64part(const std::string& name, const std::string& data64) {
    return "--BB\r\nContent-Type: application/octet-stream; name=\"" + name +
           "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + data64 + "\r\n";
}
} // namespace

TEST(ScannerMime, PreambleTextAndAttachment) {
    Scan s({msg(kMimeHead,
                "This is the preamble.\r\n--BB\r\nContent-Type: text/plain\r\n\r\nHello\r\n" +
                    b64part("a.bin", "Zm9vYmFy") + "--BB--\r\nepilogue\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r).substr(0, 23), "This is the preamble.\r\n");
    EXPECT_NE(s.text(r).find("Hello\r\n"), std::string::npos);
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(leaf(r->Files[0]), "a.bin");
    EXPECT_EQ(s.file(r, 0), "foobar");
}

TEST(ScannerMime, TildeNamesAndDuplicateNames) {
    Scan s({msg(kMimeHead, b64part("my~file.tar.gz", "Zm9v") + b64part("my~file.tar.gz", "YmFy") +
                               "--BB--\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->FileCount, 2);
    EXPECT_EQ(leaf(r->Files[0]), "my_file.tar.gz");
    const std::string second = leaf(r->Files[1]);
    EXPECT_EQ(second.substr(0, 3), "QBT");
    EXPECT_EQ(second.substr(second.find('.')), ".tar.gz");
    EXPECT_EQ(s.file(r, 0), "foo");
    EXPECT_EQ(s.file(r, 1), "bar");
}

TEST(ScannerMime, ThirteenthAttachmentIsWrittenNotListed) {
    std::string body;
    for (int i = 0; i < 13; ++i) body += b64part("f" + std::to_string(i) + ".bin", "Zm9v");
    Scan s({msg(kMimeHead, body + "--BB--\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->FileCount, 12);
    EXPECT_TRUE(lxtest::fileExists(joinPath(s.attach, "f12.bin")));
}

TEST(ScannerMime, FilesPerMessageAreBounded) {
    std::string body;
    for (int i = 0; i < kMaxOutputFiles + 40; ++i) body += b64part("same.bin", "Zm9v");
    Scan s({msg(kMimeHead, body + "--BB--\r\n"), msg("Subject: after\r\n", "x\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->FileCount, 12);
    const auto written = std::distance(std::filesystem::directory_iterator(s.attach),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(written, kMaxOutputFiles);
    EXPECT_EQ(s.scanner->lastError(), kScanFilesLost); // the host is told what was not saved
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "after");
    EXPECT_EQ(s.scanner->lastError(), kScanSound);
}

TEST(ScannerMime, AttachmentFolderThatRefusesFilesIsReported) {
    Scan s({msg(kMimeHead, b64part("a.bin", "Zm9v") + "--BB--\r\n")});
    std::filesystem::remove_all(s.attach); // the folder is gone: no file can be made
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->FileCount, 0);
    EXPECT_EQ(s.scanner->lastError(), kScanNotSaved); // the message is not whole: not stored
}

TEST(ScannerMime, TransferEncodingAnywhereAmongTheHeaders) {
    Scan s({msg(kMimeHead, "--BB\r\nContent-Transfer-Encoding: base64\r\nContent-Type: "
                           "application/x; name=\"q.bin\"\r\n\r\nZm9v\r\n"
                           "--BB\r\nContent-Type: application/pdf; name=\"r.pdf\"\r\n"
                           "Content-Disposition: attachment; filename=\"r.pdf\"\r\n"
                           "Content-Transfer-Encoding: base64\r\nContent-ID: <f1>\r\n\r\nYmFy\r\n"
                           "--BB--\r\n"),
            msg("MIME-Version: 1.0\r\nContent-Transfer-Encoding: quoted-printable\r\n"
                "Subject: q\r\nContent-Type: text/plain; charset=iso-8859-1\r\n",
                "Caf=E9\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->FileCount, 2);
    EXPECT_EQ(s.file(r, 0), "foo");
    EXPECT_EQ(s.file(r, 1), "bar");
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r), "Caf\xe9\r\n");
}

TEST(ScannerMime, SingleBase64PartStaysText) {
    Scan s({msg("MIME-Version: 1.0\r\nContent-Type: application/pdf\r\nContent-Transfer-Encoding: "
                "base64\r\n",
                "Zm9vYmFy\r\nYmF6\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->FileCount, 0);
    EXPECT_EQ(s.text(r), "Zm9vYmFy\r\nYmF6\r\n");
}

TEST(ScannerMime, QuotedPrintableTextAndAttachment) {
    Scan s({msg(
        kMimeHead,
        "--BB\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
        "Caf=E9 soft=\r\nnext\r\n"
        "--BB\r\nContent-Type: text/plain; name=\"q.txt\"\r\nContent-Transfer-Encoding: "
        "quoted-printable\r\n\r\n"
        "a=3Db=\r\nc\r\n--BB--\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r), "Caf\xe9 softnext\r\n"); // the soft line break joins the lines
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(s.file(r, 0), "a=bc\r\n");
}

TEST(ScannerMime, AttachmentsLargerThanTheWriteBufferComeOutWhole) {
    // The decoded bytes pass through the output file's buffer in many pieces, and some lines are
    // longer than the buffer itself.
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>((i * 7919) >> 3));
    std::string encoded;
    base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), encoded);
    std::string b64Lines;
    for (std::size_t i = 0; i < encoded.size(); i += 76) b64Lines += encoded.substr(i, 76) + "\r\n";
    std::string qpBody, qpBytes, plainBody, plainBytes;
    for (int i = 0; i < 5000; ++i) {
        qpBody += "line " + std::to_string(i) + " a=3Db soft=\r\njoined\r\n";
        qpBytes += "line " + std::to_string(i) + " a=b softjoined\r\n";
        plainBody += "plain line " + std::to_string(i) + "\r\n";
    }
    for (int i = 0; i < 70000; ++i) qpBody += "=41";
    qpBody += "\r\n";
    qpBytes += std::string(70000, 'A') + "\r\n";
    plainBody += std::string(70000, 'z') + "\r\n";
    plainBytes = plainBody;
    const struct {
        const char* encoding;
        std::string body, expected;
    } cases[] = {
        {"base64", b64Lines, bytes},
        {"base64", encoded + "\r\n", bytes}, // all of it on one line
        {"quoted-printable", qpBody, qpBytes},
        {"7bit", plainBody, plainBytes},
    };
    for (const auto& c : cases) {
        Scan s({msg(kMimeHead, std::string("--BB\r\nContent-Type: application/octet-stream; "
                                           "name=\"big.bin\"\r\nContent-Transfer-Encoding: ") +
                                   c.encoding + "\r\n\r\n" + c.body + "--BB--\r\n")});
        const TernScanRecord* r = s.scanner->getFirst();
        ASSERT_NE(r, nullptr) << c.encoding;
        ASSERT_EQ(r->FileCount, 1) << c.encoding;
        EXPECT_TRUE(s.file(r, 0) == c.expected) << c.encoding << " " << c.body.size();
    }
}

TEST(ScannerMime, Base64LinesEndWhereTheMessageLoopMustSeeTheNextLine) {
    const std::string head = "--BB\r\nContent-Type: application/octet-stream; name=\"e.bin\"\r\n"
                             "Content-Transfer-Encoding: base64\r\n\r\n";
    const struct {
        const char* what;
        std::string spool;
        const char* file;
        const char* text; // found in the record's text
    } cases[] = {
        {"empty line",
         lxtest::incomingSpool({msg(kMimeHead, head + "Zm9v\r\n\r\nYmFy\r\n--BB--\r\n")}), "foo",
         "YmFy\r\n"},
        {"dot-stuffed line",
         lxtest::incomingSpool({msg(kMimeHead, head + "Zm9v\r\n.YmFy\r\n--BB--\r\n")}), "foobar",
         ""},
        {"message end", lxtest::incomingSpool({msg(kMimeHead, head + "Zm9v\r\nYmFy\r\n")}),
         "foobar", ""},
        {"end of file",
         "Letters : 1\r\nBEGIN MESSAGE\r\n+OK\r\n" + msg(kMimeHead, head + "Zm9v\r\nYmFy"),
         "foobar", ""},
        {"boundary",
         lxtest::incomingSpool(
             {msg(kMimeHead, head + "Zm9v\r\nYmFy\r\n--BB\r\n\r\nnext\r\n--BB--\r\n")}),
         "foobar", "next\r\n"},
    };
    for (const auto& c : cases) {
        Scan s(c.spool, true);
        const TernScanRecord* r = s.scanner->getFirst();
        ASSERT_NE(r, nullptr) << c.what;
        ASSERT_EQ(r->FileCount, 1) << c.what;
        EXPECT_EQ(s.file(r, 0), c.file) << c.what;
        EXPECT_NE(s.text(r).find(c.text), std::string::npos) << c.what << ": " << s.text(r);
    }
}

TEST(ScannerMime, NestedMultipart) {
    Scan s({msg(kMimeHead, "--BB\r\nContent-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n"
                           "--IN\r\nContent-Type: text/plain\r\n\r\nplain\r\n--IN\r\nContent-Type: "
                           "text/html\r\n\r\n<p>h</p>\r\n"
                           "--IN--\r\n" +
                               b64part("n.bin", "Zm9v") + "--BB--\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_NE(s.text(r).find("plain\r\n"), std::string::npos);
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(s.file(r, 0), "foo");
}

TEST(ScannerMime, MalformedBoundaryIsFlaggedAndKeptAsText) {
    Scan s({msg(kMimeHead, "--BB\r\nContent-Type: text/plain\r\n\r\nx\r\n--BBX\r\nrest\r\n"),
            msg("Subject: later\r\n", "y\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.scanner->lastError(), kScanMalformed);
    EXPECT_EQ(s.text(r), "x\r\n--BBX\r\nrest\r\n");
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.scanner->lastError(), kScanSound);
    EXPECT_STREQ(r->Subject, "later");
    EXPECT_EQ(s.scanner->getNext(), nullptr);
}

TEST(ScannerMime, MultipartWithoutParametersIsMalformed) {
    Scan s({msg("MIME-Version: 1.0\r\nContent-Type: multipart/mixed\r\nSubject: s\r\n", "x\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.scanner->lastError(), kScanMalformed);
    EXPECT_EQ(s.text(r), "Content-Type: multipart/mixed\r\nSubject: s\r\n\r\nx\r\n");
}

TEST(ScannerMime, DeepNestingIsAnErrorNotACrash) {
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body += "--B" + std::to_string(i) + "\r\nContent-Type: multipart/mixed; boundary=\"B" +
                std::to_string(i + 1) + "\"\r\n\r\n";
    Scan s({msg("MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"B0\"\r\n", body)});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.scanner->lastError(), kScanMalformed);
    EXPECT_EQ(r->FileCount, 1); // the rest of the message as it stands, in "TEXTFILE.TXT"
}

TEST(ScannerSafety, NamesNeverLeaveTheFolder) {
    const char* names[] = {"..\\..\\evil1.txt",
                           "C:\\evil2.txt",
                           "/etc/evil3.txt",
                           "a:b.txt",
                           "CON",
                           "nul.txt",
                           "COM1.log",
                           "..",
                           "  ",
                           "x\x01y.txt"};
    std::string body;
    for (const char* n : names) body += b64part(n, "Zm9v");
    Scan s({msg(kMimeHead, body + "--BB--\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->FileCount, 10);
    for (int i = 0; i < r->FileCount; ++i) {
        std::string p = r->Files[i];
        EXPECT_EQ(p.substr(0, s.attach.size()), s.attach) << p;
        EXPECT_TRUE(isPathSep(p[s.attach.size()])) << p;
        EXPECT_EQ(p.find("..", s.attach.size()), std::string::npos) << p;
        EXPECT_EQ(lxtest::readFile(p), "foo");
    }
    EXPECT_EQ(leaf(r->Files[0]), "evil1.txt");
    EXPECT_EQ(leaf(r->Files[1]), "evil2.txt");
    EXPECT_EQ(leaf(r->Files[2]), "evil3.txt");
    EXPECT_EQ(leaf(r->Files[3]), "b.txt");
    EXPECT_EQ(leaf(r->Files[4]), "_CON");
    EXPECT_EQ(leaf(r->Files[5]), "_nul.txt");
    EXPECT_EQ(leaf(r->Files[6]), "_COM1.log");
    EXPECT_EQ(leaf(r->Files[7]).substr(0, 3), "QBT");
    EXPECT_EQ(leaf(r->Files[9]), "x_y.txt");
    // Nothing was written beside the attachment folder.
    auto top = s.dir.list();
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"Data", "TernPop3.Txt"}));
}

TEST(ScannerSpool, LongLinesAreReadWhole) {
    const std::string body = "ok\r\n" + std::string(1200, 'x') + "\r\nseen\r\n";
    Scan s({msg("Subject: long\r\n", body), msg("Subject: next\r\n", "fine\r\n")});
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(s.text(r), body);
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "next");
}

TEST(ScannerSpool, CutOffSpoolEndsTheMessage) {
    std::string spool =
        "Letters : 2\r\nBEGIN MESSAGE\r\n+OK\r\nSubject: one\r\n\r\nfirst\r\n.\r\nEND MESSAGE\r\n"
        "BEGIN MESSAGE\r\n+OK\r\nSubject: two\r\n\r\npartial";
    Scan s(spool, true);
    const TernScanRecord* r = s.scanner->getFirst();
    ASSERT_NE(r, nullptr);
    r = s.scanner->getNext();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "two");
    EXPECT_EQ(s.text(r), "partial\r\n");
    EXPECT_EQ(s.scanner->lastError(), kScanCutShort);
    EXPECT_EQ(s.scanner->getNext(), nullptr);
    // A begin line with nothing after it is no message.
    Scan t(std::string("Letters : 2\r\nBEGIN MESSAGE\r\n+OK\r\nSubject: one\r\n\r\nx\r\n.\r\n"
                       "END MESSAGE\r\nBEGIN MESSAGE\r\n"),
           true);
    ASSERT_NE(t.scanner->getFirst(), nullptr);
    EXPECT_EQ(t.scanner->getNext(), nullptr);
}

TEST(ScannerExports, HandlesAndRecords) {
    TempDir dir;
    lxtest::writeFile(dir.file("in.txt"),
                      lxtest::incomingSpool({msg("Subject: api\r\n", "t\r\n")}));
    TernMimeHandle h = 0;
    ASSERT_EQ(TERNMimeScanStart(dir.file("in.txt").c_str(), dir.path().c_str(), &h), 0);
    int32_t n = -1;
    EXPECT_EQ(TERNMimeScanNumMessages(h, &n), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(TERNMimeScanNumMessages(0, &n), -4);
    EXPECT_EQ(TERNMimeScanGetFirst(0), nullptr);
    TernScanRecord* r = TERNMimeScanGetFirst(h);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "api");
    int32_t flags = -1;
    EXPECT_EQ(TERNMimeScanLastError(h, &flags), 0);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(TERNMimeScanLastError(0, &flags), -4);
    EXPECT_EQ(TERNMimeScanGetNext(h), nullptr);
    EXPECT_EQ(TERNMimeScanClose(h), 0);
    EXPECT_EQ(TERNMimeScanClose(h), -4);
    EXPECT_EQ(TERNMimeScanGetFirst(h), nullptr);
}
