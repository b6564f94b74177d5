// TERN32.dll's MIME exports, called through the import library as the main program calls them:
// a batch prepared, turned into an incoming spool, and scanned back.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "mimetest.h"
#include "netlib/mime/ternmime.h"

using lxtest::TempDir;

TEST(Tern32Mime, RecordLayoutIsTheInterfaces) {
    // Character fields first, then the pointer arrays with their counts.
    EXPECT_EQ(offsetof(TernScanRecord, Date), 64u);
    EXPECT_EQ(offsetof(TernScanRecord, From), 104u);
    EXPECT_EQ(offsetof(TernScanRecord, ReplyTo), 184u);
    EXPECT_EQ(offsetof(TernScanRecord, Subject), 264u);
    EXPECT_EQ(offsetof(TernScanRecord, To), 520u);
    EXPECT_EQ(offsetof(TernScanRecord, ToCount), 520u + 32 * sizeof(char*));
}

TEST(Tern32Mime, PrepareAndScanThroughTheDll) {
    TempDir dir;
    const std::string file = dir.file("report.pdf");
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<char>(i * 7));
    lxtest::writeFile(file, bytes);
    const std::string out = dir.file("TernSmtp.Txt");
    TERNHANDLE h = 0;
    ASSERT_EQ(TERNMimePrepStart(out.c_str(), "me@lorvex.example", &h), 0);
    ASSERT_EQ(TERNMimePrepNewMesg(h, nullptr), 0);
    ASSERT_EQ(TERNMimePrepTO(h, "you@x.example"), 0);
    ASSERT_EQ(TERNMimePrepCC(h, "cc@x.example"), 0);
    ASSERT_EQ(TERNMimePrepSubj(h, "Through the DLL"), 0);
    ASSERT_EQ(TERNMimePrepFile(h, file.c_str()), 0);
    const char text[] = "Hello from Wine\r\nCaf\xe9\r\n";
    ASSERT_EQ(TERNMimePrepData(h, text, static_cast<int32_t>(sizeof text - 1)), 0);
    ASSERT_EQ(TERNMimePrepEndMesg(h), 0);
    ASSERT_EQ(TERNMimePrepFinish(h), 0);
    EXPECT_EQ(TERNMimePrepFinish(h), -4);

    const auto sections = lxtest::outgoingDataSections(lxtest::readFile(out));
    ASSERT_EQ(sections.size(), 1u);
    const std::string in = dir.file("TernPop3.Txt");
    lxtest::writeFile(in, lxtest::incomingSpool(sections));
    const std::string data = dir.file("DATA");
    std::filesystem::create_directory(data);
    TERNHANDLE s = 0;
    ASSERT_EQ(TERNMimeScanStart(in.c_str(), data.c_str(), &s), 0);
    int32_t count = 0;
    ASSERT_EQ(TERNMimeScanNumMessages(s, &count), 0);
    EXPECT_EQ(count, 1);
    TernScanRecord* r = TERNMimeScanGetFirst(s);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->Subject, "Through the DLL");
    EXPECT_STREQ(r->From, "me@lorvex.example");
    ASSERT_EQ(r->ToCount, 1);
    EXPECT_STREQ(r->To[0], "you@x.example");
    ASSERT_EQ(r->CcCount, 1);
    EXPECT_STREQ(r->Cc[0], "cc@x.example");
    EXPECT_EQ(std::string(r->Text).substr(0, 23), "Hello from Wine\r\nCaf\xe9\r\n");
    ASSERT_EQ(r->FileCount, 1);
    EXPECT_EQ(std::string(r->Files[0]), data + "\\report.pdf");
    EXPECT_EQ(lxtest::readFile(r->Files[0]), bytes);
    EXPECT_EQ(TERNMimeScanGetNext(s), nullptr);
    EXPECT_EQ(TERNMimeScanClose(s), 0);
    EXPECT_EQ(TERNMimeScanClose(s), -4);
    EXPECT_EQ(TERNMimeScanGetFirst(s), nullptr);
}

TEST(Tern32Mime, MalformedMessageIsFlaggedAndTheNextOneRead) {
    TempDir dir;
    const std::string in = dir.file("TernPop3.Txt");
    lxtest::writeFile(
        in, lxtest::incomingSpool(
                {"MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=B\r\n\r\n"
                 "--B\r\nContent-Type: text/plain\r\n\r\nx\r\n--Bogus\r\ny\r\n",
                 "Subject: =?utf-8?q?Caf=C3=A9?=\r\n\r\n" + std::string(3000, 'z') + "\r\n"}));
    TERNHANDLE s = 0;
    ASSERT_EQ(TERNMimeScanStart(in.c_str(), dir.path().c_str(), &s), 0);
    int32_t flags = -1;
    TernScanRecord* r = TERNMimeScanGetFirst(s);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(TERNMimeScanLastError(s, &flags), 0);
    EXPECT_EQ(flags, TERN_SCAN_MALFORMED);
    EXPECT_STREQ(r->Text, "x\r\n--Bogus\r\ny\r\n");
    r = TERNMimeScanGetNext(s);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(TERNMimeScanLastError(s, &flags), 0);
    EXPECT_EQ(flags, 0);
    EXPECT_STREQ(r->Subject, "Caf\xe9");
    EXPECT_EQ(std::string(r->Text), std::string(3000, 'z') + "\r\n");
    EXPECT_EQ(TERNMimeScanGetNext(s), nullptr);
    EXPECT_EQ(TERNMimeScanClose(s), 0);
    EXPECT_EQ(TERNMimeScanLastError(s, &flags), -4);
}
