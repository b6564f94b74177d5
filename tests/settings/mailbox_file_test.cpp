// The mailbox account files: MAILBOXX.STP, the two conversions, damaged files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "common/settings/fixed_text.h"
#include "common/settings/mailbox_file.h"
#include "tests/settings/samples.h"
#include "tests/settings/temp_folder.h"

using namespace lx;
using lx_test::Get16;
using lx_test::Get32;
using lx_test::GetText;
using lx_test::Put16;
using lx_test::Put32;
using lx_test::PutText;
using lx_test::TempFolder;

namespace {

MailboxList SampleList(int n) {
    MailboxList list;
    for (int i = 0; i < n; ++i) list.records[i] = lx_test::SampleMailbox(i + 1);
    list.count = static_cast<std::int16_t>(n);
    return list;
}

// A count-prefixed file of `records` records of recordSize bytes, each filled by fill(image, i).
template <typename Fill>
std::vector<std::uint8_t> RecordFile(std::int16_t count, int records, std::size_t recordSize,
                                     Fill fill) {
    std::vector<std::uint8_t> file(2 + records * recordSize, 0);
    Put16(file, 0, count);
    for (int i = 0; i < records; ++i) {
        std::vector<std::uint8_t> rec(recordSize, 0);
        fill(rec, i);
        std::copy(rec.begin(), rec.end(), file.begin() + 2 + i * recordSize);
    }
    return file;
}

std::vector<std::uint8_t> MailboxFile(std::int16_t count, int records) {
    return RecordFile(count, records, kMailboxRecordSize,
                      [](std::vector<std::uint8_t>& rec, int i) {
                          EncodeMailbox(lx_test::SampleMailbox(i + 1), rec.data());
                      });
}

void FillMailSet3(std::vector<std::uint8_t>& rec, int i) {
    std::string n = std::to_string(i + 1);
    PutText(rec, 0, ("Old" + n).c_str());
    PutText(rec, 13, ("pop" + n).c_str());
    PutText(rec, 93, ("smtp" + n).c_str());
    PutText(rec, 173, ("me" + n + "@old.example").c_str());
    PutText(rec, 253, i == 0 ? "sixteen-char-usr" : "u2"); // the first fills its 16 bytes
    for (int b = 0; b < 16; ++b) rec[269 + b] = static_cast<std::uint8_t>(40 + b + i);
    Put32(rec, 285, 1 + i);
    Put32(rec, 289, 10 + i);
    Put32(rec, 293, i);
}

void FillMailSetX(std::vector<std::uint8_t>& rec, int i) {
    std::string n = std::to_string(i + 1);
    PutText(rec, 0, ("X" + n).c_str());
    PutText(rec, 13, ("popx" + n).c_str());
    PutText(rec, 253, ("userx" + n).c_str());
    for (int b = 0; b < 16; ++b) rec[317 + b] = static_cast<std::uint8_t>(60 + b);
    Put32(rec, 333, 5 + i);
    Put32(rec, 337, 6 + i);
    Put32(rec, 341, 7 + i);
    PutText(rec, 345, ("Work" + n).c_str());
    Put32(rec, 362, 900 + i);
}

} // namespace

TEST(MailboxFile, SaveWritesCountAndRecordsAtTheirOffsets) {
    TempFolder dir;
    MailboxList list = SampleList(3);
    ASSERT_TRUE(SaveMailboxes(dir.Path(), list));
    auto raw = dir.Read(kMailboxFile);
    ASSERT_EQ(raw.size(), 2u + 3 * kMailboxRecordSize);
    EXPECT_EQ(Get16(raw, 0), 3);
    std::size_t second = 2 + kMailboxRecordSize;
    EXPECT_EQ(GetText(raw, second, 13), "Box2");
    EXPECT_EQ(Get32(raw, second + 342), 3002);
    EXPECT_EQ(GetText(raw, second + 346, 17), "Folder2");
    EXPECT_EQ(Get32(raw, second + 363), 4002);
}

TEST(MailboxFile, LoadReadsBackWhatWasSaved) {
    TempFolder dir;
    MailboxList list = SampleList(10);
    ASSERT_TRUE(SaveMailboxes(dir.Path(), list));
    MailboxList back;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, back));
    ASSERT_EQ(back.count, 10);
    for (int i = 0; i < 10; ++i) lx_test::ExpectSameMailbox(back.records[i], list.records[i]);
}

TEST(MailboxFile, NoFileGivesAnEmptyTable) {
    TempFolder dir;
    MailboxList list = SampleList(2);
    EXPECT_FALSE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(TextOf(list.records[0].name), "");
}

TEST(MailboxFile, SaveFailsWhenTheFileCannotBeCreated) {
    TempFolder dir;
    EXPECT_FALSE(SaveMailboxes(dir.File("no-such-folder"), SampleList(1)));
}

TEST(MailSet3Conversion, TwoRecordsBecomeMailboxFile) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(2, 2, kMailSet3RecordSize, FillMailSet3));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 77, list));
    EXPECT_FALSE(dir.Exists(kMailSet3File));

    auto raw = dir.Read(kMailboxFile);
    ASSERT_EQ(raw.size(), 2u + 2 * kMailboxRecordSize);
    EXPECT_EQ(Get16(raw, 0), 2);
    for (int i = 0; i < 2; ++i) {
        std::size_t at = 2 + i * kMailboxRecordSize;
        std::string n = std::to_string(i + 1);
        EXPECT_EQ(GetText(raw, at, 13), "Old" + n);
        EXPECT_EQ(GetText(raw, at + 13, 80), "pop" + n);
        EXPECT_EQ(GetText(raw, at + 93, 80), "smtp" + n);
        EXPECT_EQ(GetText(raw, at + 173, 80), "me" + n + "@old.example");
        for (int b = 0; b < 16; ++b) EXPECT_EQ(raw[at + 317 + b], 40 + b + i);
        EXPECT_EQ(raw[at + 333], 0);
        EXPECT_EQ(Get32(raw, at + 334), 1 + i);
        EXPECT_EQ(Get32(raw, at + 338), 10 + i);
        EXPECT_EQ(Get32(raw, at + 342), i);
        EXPECT_EQ(GetText(raw, at + 346, 17), "_IN");
        EXPECT_EQ(Get32(raw, at + 363), 77);
    }
    EXPECT_EQ(GetText(raw, 2 + 253, 64), "sixteen-char-usr");
    EXPECT_EQ(TextOf(list.records[0].user), "sixteen-char-usr");
    EXPECT_EQ(TextOf(list.records[1].user), "u2");
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.records[1].defaultFolderNum, 77);
}

TEST(MailSet3Conversion, EmptyCountStillReplacesTheOldFile) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(0, 1, kMailSet3RecordSize, FillMailSet3));
    MailboxList list = SampleList(3);
    EXPECT_TRUE(LoadMailboxes(dir.Path(), 5, list));
    EXPECT_EQ(list.count, 0);
    EXPECT_FALSE(dir.Exists(kMailSet3File));
    auto raw = dir.Read(kMailboxFile);
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(Get16(raw, 0), 0);
}

TEST(MailSet3Conversion, RunsBeforeTheNewerFormat) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(1, 1, kMailSet3RecordSize, FillMailSet3));
    dir.Write(kMailSetXFile, RecordFile(1, 1, kMailSetXRecordSize, FillMailSetX));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 3, list));
    EXPECT_EQ(TextOf(list.records[0].name), "Old1");
    EXPECT_TRUE(dir.Exists(kMailSetXFile));
}

TEST(MailSet3Conversion, OldFileKeptWhenTheNewOneCannotBeWritten) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(1, 1, kMailSet3RecordSize, FillMailSet3));
    std::filesystem::create_directory(dir.File(kMailboxFile)); // blocks the write
    MailboxList list;
    EXPECT_FALSE(LoadMailboxes(dir.Path(), 3, list));
    EXPECT_EQ(list.count, 0);
    EXPECT_TRUE(dir.Exists(kMailSet3File));
}

TEST(MailSetXConversion, FlagsAndFolderMoveUpOneByte) {
    TempFolder dir;
    dir.Write(kMailSetXFile, RecordFile(2, 2, kMailSetXRecordSize, FillMailSetX));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_FALSE(dir.Exists(kMailSetXFile));
    auto raw = dir.Read(kMailboxFile);
    ASSERT_EQ(raw.size(), 2u + 2 * kMailboxRecordSize);
    for (int i = 0; i < 2; ++i) {
        std::size_t at = 2 + i * kMailboxRecordSize;
        std::string n = std::to_string(i + 1);
        EXPECT_EQ(GetText(raw, at, 13), "X" + n);
        EXPECT_EQ(GetText(raw, at + 253, 64), "userx" + n);
        for (int b = 0; b < 16; ++b) EXPECT_EQ(raw[at + 317 + b], 60 + b);
        EXPECT_EQ(raw[at + 333], 0) << "the password's 17th byte";
        EXPECT_EQ(Get32(raw, at + 334), 5 + i);
        EXPECT_EQ(Get32(raw, at + 338), 6 + i);
        EXPECT_EQ(Get32(raw, at + 342), 7 + i);
        EXPECT_EQ(GetText(raw, at + 346, 17), "Work" + n);
        EXPECT_EQ(Get32(raw, at + 363), 900 + i);
    }
    EXPECT_EQ(list.records[1].current, 8);
    EXPECT_EQ(TextOf(list.records[0].password).size(), 16u);
}

TEST(MailSetXConversion, TableServesTheRunWhenTheNewFileCannotBeWritten) {
    TempFolder dir;
    dir.Write(kMailSetXFile, RecordFile(1, 1, kMailSetXRecordSize, FillMailSetX));
    std::filesystem::create_directory(dir.File(kMailboxFile));
    MailboxList list;
    EXPECT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(TextOf(list.records[0].defaultFolder), "Work1");
    EXPECT_TRUE(dir.Exists(kMailSetXFile));
}

// An older file left beside a MAILBOXX.STP written after it was converted before and could not be
// removed then: it must never be converted over the mailboxes changed since.
class LeftOverOldFile : public ::testing::TestWithParam<const char*> {
protected:
    void WriteOldThenNewer() {
        const bool set3 = std::string(GetParam()) == kMailSet3File;
        dir.Write(GetParam(), set3 ? RecordFile(1, 1, kMailSet3RecordSize, FillMailSet3)
                                   : RecordFile(1, 1, kMailSetXRecordSize, FillMailSetX));
        ASSERT_TRUE(SaveMailboxes(dir.Path(), SampleList(3))); // the mailboxes changed since
        const auto now = std::filesystem::last_write_time(dir.File(kMailboxFile));
        std::filesystem::last_write_time(dir.File(GetParam()), now - std::chrono::hours(1));
    }
    TempFolder dir;
};

TEST_P(LeftOverOldFile, IsRenamedAsideAndTheMailboxFileKept) {
    WriteOldThenNewer();
    const auto before = dir.Read(kMailboxFile);
    MailboxList list;
    MailboxLoadNote note;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list, &note));
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(dir.Read(kMailboxFile), before);
    EXPECT_FALSE(dir.Exists(GetParam()));
    const std::string aside = AsideName(GetParam());
    EXPECT_TRUE(dir.Exists(aside.c_str()));
    EXPECT_EQ(note.fate, OldMailboxFile::RenamedAside);
    EXPECT_EQ(note.oldFile, GetParam());
    EXPECT_EQ(note.keptAs, aside);
}

TEST_P(LeftOverOldFile, ThatCannotBeMovedIsReportedAndNeverConvertedAgain) {
    WriteOldThenNewer();
    // A folder in the way of the aside name: the file can be neither removed nor renamed here.
    const std::string aside = AsideName(GetParam());
    std::filesystem::create_directories(dir.File(aside.c_str()) + "/held");
    for (int start = 0; start < 2; ++start) {
        MailboxList list;
        MailboxLoadNote note;
        ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list, &note));
        EXPECT_EQ(list.count, 3) << "start " << start;
        EXPECT_EQ(note.fate, OldMailboxFile::LeftInPlace);
        EXPECT_EQ(note.oldFile, GetParam());
        EXPECT_TRUE(dir.Exists(GetParam()));
    }
}

INSTANTIATE_TEST_SUITE_P(OldFormats, LeftOverOldFile,
                         ::testing::Values(kMailSet3File, kMailSetXFile));

TEST(MailSet3Conversion, AFreshConversionLeavesNothingToReport) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(1, 1, kMailSet3RecordSize, FillMailSet3));
    MailboxList list;
    MailboxLoadNote note;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list, &note));
    EXPECT_EQ(note.fate, OldMailboxFile::None);
    EXPECT_FALSE(dir.Exists(kMailSet3File));
    EXPECT_FALSE(dir.Exists(AsideName(kMailSet3File).c_str()));
}

TEST(MailSet3Conversion, TheNewerFormatLeftBehindIsNotConvertedAtTheNextStart) {
    TempFolder dir;
    dir.Write(kMailSetXFile, RecordFile(1, 1, kMailSetXRecordSize, FillMailSetX));
    const auto old = std::filesystem::last_write_time(dir.File(kMailSetXFile));
    dir.Write(kMailSet3File, RecordFile(1, 1, kMailSet3RecordSize, FillMailSet3));
    std::filesystem::last_write_time(dir.File(kMailSetXFile), old - std::chrono::hours(1));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 3, list));
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 3, list));
    EXPECT_EQ(TextOf(list.records[0].name), "Old1");
}

TEST(DamagedMailboxFile, CountAboveTenTakesTen) {
    TempFolder dir;
    dir.Write(kMailboxFile, MailboxFile(11, 11));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 10);
    lx_test::ExpectSameMailbox(list.records[9], lx_test::SampleMailbox(10));
}

TEST(DamagedMailboxFile, NegativeCountGivesNoRecords) {
    TempFolder dir;
    dir.Write(kMailboxFile, MailboxFile(-3, 2));
    MailboxList list = SampleList(2);
    EXPECT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 0);
}

TEST(DamagedMailboxFile, ShortFileTakesOnlyWholeRecords) {
    TempFolder dir;
    auto raw = MailboxFile(5, 3);
    raw.resize(raw.size() - 100); // the third record is cut
    dir.Write(kMailboxFile, raw);
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 2);
    lx_test::ExpectSameMailbox(list.records[1], lx_test::SampleMailbox(2));
    EXPECT_EQ(TextOf(list.records[2].name), "");
}

TEST(DamagedMailboxFile, OneByteFileIsEmpty) {
    TempFolder dir;
    dir.Write(kMailboxFile, {7});
    MailboxList list = SampleList(1);
    EXPECT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 0);
}

TEST(DamagedMailboxFile, OldFormatsAreClampedToo) {
    TempFolder dir;
    dir.Write(kMailSet3File, RecordFile(12, 12, kMailSet3RecordSize, FillMailSet3));
    MailboxList list;
    ASSERT_TRUE(LoadMailboxes(dir.Path(), 1, list));
    EXPECT_EQ(list.count, 10);
    EXPECT_EQ(Get16(dir.Read(kMailboxFile), 0), 10);

    TempFolder dir2;
    auto raw = RecordFile(4, 2, kMailSetXRecordSize, FillMailSetX);
    dir2.Write(kMailSetXFile, raw);
    ASSERT_TRUE(LoadMailboxes(dir2.Path(), 1, list));
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(dir2.Read(kMailboxFile).size(), 2u + 2 * kMailboxRecordSize);
}

TEST(DamagedMailboxFile, SaveNeverWritesPastTheTable) {
    TempFolder dir;
    MailboxList list = SampleList(10);
    list.count = 25;
    ASSERT_TRUE(SaveMailboxes(dir.Path(), list));
    auto raw = dir.Read(kMailboxFile);
    EXPECT_EQ(raw.size(), 2u + 10 * kMailboxRecordSize);
    EXPECT_EQ(Get16(raw, 0), 10);
    list.count = -4;
    ASSERT_TRUE(SaveMailboxes(dir.Path(), list));
    EXPECT_EQ(dir.Read(kMailboxFile).size(), 2u);
}
