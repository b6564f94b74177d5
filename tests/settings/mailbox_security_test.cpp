// A mailbox's secure-connection settings in the record's spare bytes: older records and
// records that ask for nothing more read and write exactly as before.
#include <gtest/gtest.h>

#include <cstring>

#include "common/settings/mailbox_security.h"
#include "tests/settings/samples.h"

using namespace lx;

namespace {

std::vector<std::uint8_t> Image(const MailboxRecord& rec) {
    std::vector<std::uint8_t> image(kMailboxRecordSize);
    EncodeMailbox(rec, image.data());
    return image;
}

TEST(MailboxSecurity, SettingsSurviveTheFileAndSitInTheSpareBytes) {
    const MailboxSecurity cases[] = {
        {MailSecurity::StartTls, MailSecurity::StartTls, 0, 0, true},
        {MailSecurity::Tls, MailSecurity::Tls, 995, 465, true},
        {MailSecurity::None, MailSecurity::StartTls, 0, 2525, false},
        {MailSecurity::None, MailSecurity::None, 0, 0, true}, // a login alone counts too
    };
    const MailboxRecord plain = lx_test::SampleMailbox(1);
    for (const MailboxSecurity& s : cases) {
        MailboxRecord rec = plain;
        WriteMailboxSecurity(rec, s);
        const std::vector<std::uint8_t> image = Image(rec);
        const std::vector<std::uint8_t> before = Image(plain);
        // Everything up to the spare bytes is as it was.
        EXPECT_TRUE(std::equal(image.begin(), image.begin() + 367, before.begin()));
        EXPECT_EQ(image[367], 'L');
        EXPECT_EQ(image[368], 'X');
        EXPECT_EQ(ReadMailboxSecurity(DecodeMailbox(image.data())), s);
    }
}

TEST(MailboxSecurity, OlderRecordsReadAsClearTextOnTheUsualPorts) {
    const MailboxSecurity none;
    MailboxRecord rec = lx_test::SampleMailbox(2);
    EXPECT_EQ(ReadMailboxSecurity(rec), none);
    // Whatever an older program left in the spare bytes, without the mark it means nothing.
    std::memset(rec.unused, 0x7f, sizeof rec.unused);
    EXPECT_EQ(ReadMailboxSecurity(rec), none);
    // A marked block with a value out of range asks for nothing rather than for something else.
    WriteMailboxSecurity(rec, {MailSecurity::Tls, MailSecurity::Tls, 1, 2, true});
    for (int at : {2, 3, 8}) {
        MailboxRecord bad = rec;
        bad.unused[at] = 3;
        EXPECT_EQ(ReadMailboxSecurity(bad), none) << at;
    }
    // Asking for nothing more clears a block of ours...
    WriteMailboxSecurity(rec, none);
    for (std::uint8_t b : rec.unused) EXPECT_EQ(b, 0);
    // ...and leaves a record as an older program wrote it.
    MailboxRecord old = lx_test::SampleMailbox(3);
    WriteMailboxSecurity(old, none);
    EXPECT_EQ(Image(old), Image(lx_test::SampleMailbox(3)));
}

} // namespace
