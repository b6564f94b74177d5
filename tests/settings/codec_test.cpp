// Record layouts: every field at its byte offset, and back again.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "common/settings/dialer_settings.h"
#include "common/settings/fixed_text.h"
#include "common/settings/font_desc.h"
#include "common/settings/install_path.h"
#include "common/settings/le_codec.h"
#include "common/settings/mailbox_record.h"
#include "common/settings/window_file.h"
#include "tests/settings/samples.h"
#include "tests/settings/temp_folder.h"

using namespace lx;
using lx_test::Get32;
using lx_test::GetText;

TEST(LeCodec, WritesLittleEndianAndReadsBack) {
    std::uint8_t buf[6] = {};
    LeWriter w(buf, sizeof buf);
    w.I16(-2);
    w.I32(0x12345678);
    EXPECT_EQ(buf[0], 0xFE);
    EXPECT_EQ(buf[1], 0xFF);
    EXPECT_EQ(buf[2], 0x78);
    EXPECT_EQ(buf[5], 0x12);
    LeReader r(buf, sizeof buf);
    EXPECT_EQ(r.I16(), -2);
    EXPECT_EQ(r.I32(), 0x12345678);
    EXPECT_EQ(GetI32(buf + 2), 0x12345678);
}

TEST(LeCodec, RefusesFieldsPastTheImage) {
    std::uint8_t buf[5] = {};
    LeReader r(buf, sizeof buf);
    r.I32();
    EXPECT_THROW(r.I16(), std::out_of_range);
    LeWriter w(buf, sizeof buf);
    w.Zeros(3);
    EXPECT_THROW(w.I32(1), std::out_of_range);
}

TEST(LeCodec, TextFieldsStayTerminatedWithinTheirSize) {
    std::uint8_t raw[4] = {'a', 'b', 'c', 'd'};
    char out[4];
    LeReader(raw, 4).Text(out, 4);
    EXPECT_STREQ(out, "abc");

    char field[4] = {'w', 'x', 'y', 'z'}; // no NUL at all
    std::uint8_t img[4];
    LeWriter(img, 4).Text(field, 4);
    EXPECT_EQ(img[2], 'y');
    EXPECT_EQ(img[3], 0);
}

TEST(FixedText, CopyCutsAndZeroFills) {
    char f[5];
    std::memset(f, 'Q', sizeof f);
    CopyText(f, "ab");
    EXPECT_EQ(std::string(f, 5), std::string("ab\0\0\0", 5));
    CopyText(f, "abcdefgh");
    EXPECT_STREQ(f, "abcd");
    CopyText(f, nullptr);
    EXPECT_STREQ(f, "");
    char open[3] = {'x', 'y', 'z'};
    EXPECT_EQ(TextOf(open), "xyz");
}

TEST(InstallPath, AddsOneSeparatorOnly) {
#ifdef _WIN32
    EXPECT_EQ(InstallFile("C:\\LORVEX", "MAILBOXX.STP"), "C:\\LORVEX\\MAILBOXX.STP");
    EXPECT_EQ(InstallFile("C:\\LORVEX\\", "MAILBOXX.STP"), "C:\\LORVEX\\MAILBOXX.STP");
    EXPECT_EQ(InstallFile("C:\\", "DGROUP.VSF"), "C:\\DGROUP.VSF");
#else
    EXPECT_EQ(InstallFile("/opt/lorvex", "MAILBOXX.STP"), "/opt/lorvex/MAILBOXX.STP");
    EXPECT_EQ(InstallFile("/opt/lorvex/", "MAILBOXX.STP"), "/opt/lorvex/MAILBOXX.STP");
    EXPECT_EQ(InstallFile("C:\\LORVEX\\", "DGROUP.VSF"), "C:\\LORVEX\\DGROUP.VSF");
#endif
}

TEST(MailboxCodec, FieldsSitAtTheirOffsets) {
    MailboxRecord rec = lx_test::SampleMailbox(7);
    std::vector<std::uint8_t> img(kMailboxRecordSize);
    EncodeMailbox(rec, img.data());
    EXPECT_EQ(GetText(img, 0, 13), "Box7");
    EXPECT_EQ(GetText(img, 13, 80), "pop7.example.org");
    EXPECT_EQ(GetText(img, 93, 80), "smtp7.example.org");
    EXPECT_EQ(GetText(img, 173, 80), "user7@example.org");
    EXPECT_EQ(GetText(img, 253, 64), "login7");
    EXPECT_EQ(GetText(img, 317, 17), "pw7xyz");
    EXPECT_EQ(Get32(img, 334), 1007);
    EXPECT_EQ(Get32(img, 338), 2007);
    EXPECT_EQ(Get32(img, 342), 3007);
    EXPECT_EQ(GetText(img, 346, 17), "Folder7");
    EXPECT_EQ(Get32(img, 363), 4007);
    EXPECT_EQ(img[367], 8);
    EXPECT_EQ(img[383], 24);
}

TEST(MailboxCodec, RoundTripKeepsEveryField) {
    MailboxRecord rec = lx_test::SampleMailbox(3);
    std::uint8_t img[kMailboxRecordSize];
    EncodeMailbox(rec, img);
    lx_test::ExpectSameMailbox(DecodeMailbox(img), rec);
}

TEST(MailboxCodec, DecodingTerminatesFullTextFields) {
    std::vector<std::uint8_t> img(kMailboxRecordSize, 'A');
    MailboxRecord rec = DecodeMailbox(img.data());
    EXPECT_EQ(TextOf(rec.name), std::string(12, 'A'));
    EXPECT_EQ(TextOf(rec.password), std::string(16, 'A'));
    EXPECT_EQ(TextOf(rec.defaultFolder), std::string(16, 'A'));
}

TEST(DialerCodec, FieldsSitAtTheirOffsets) {
    DialerSettings s = lx_test::SampleDialer();
    std::vector<std::uint8_t> img(kDialerRecordSize, 0xEE);
    EncodeDialer(s, img.data());
    EXPECT_EQ(Get32(img, 0), 900);
    EXPECT_EQ(Get32(img, 4), 11);
    EXPECT_EQ(Get32(img, 8), 22);
    EXPECT_EQ(GetText(img, 12, 256), "My Provider");
    EXPECT_EQ(GetText(img, 268, 256), "dialuser");
    EXPECT_EQ(GetText(img, 524, 256), "dial|secret");
    EXPECT_EQ(GetText(img, 780, 13), "Sel0");
    EXPECT_EQ(GetText(img, 780 + 9 * 13, 13), "Sel9");
    EXPECT_EQ(Get32(img, 910), 7);
    EXPECT_EQ(Get32(img, 914), 456);
    for (std::size_t i = 918; i < kDialerRecordSize; ++i) EXPECT_EQ(img[i], 0) << "byte " << i;
}

TEST(DialerCodec, RoundTripKeepsEveryField) {
    DialerSettings s = lx_test::SampleDialer();
    std::uint8_t img[kDialerRecordSize];
    EncodeDialer(s, img);
    lx_test::ExpectSameDialer(DecodeDialer(img), s);
}

TEST(FontCodec, MatchesTheLogfontLayout) {
    FontDesc f = lx_test::SampleFont();
    std::vector<std::uint8_t> img(kFontDescSize);
    EncodeFont(f, img.data());
    EXPECT_EQ(Get32(img, 0), -21);
    EXPECT_EQ(Get32(img, 4), 9);
    EXPECT_EQ(Get32(img, 8), 450);
    EXPECT_EQ(Get32(img, 12), 900);
    EXPECT_EQ(Get32(img, 16), 600);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(img[20 + i], i + 1) << "byte " << 20 + i;
    EXPECT_EQ(GetText(img, 28, 32), "Courier New");
    EXPECT_TRUE(DecodeFont(img.data()) == f);
    f.quality = 0;
    EXPECT_FALSE(DecodeFont(img.data()) == f);
}
