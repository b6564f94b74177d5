// The signatures of SIGNING.SIG as the "Signature Files" dialog changes them: the bytes written,
// the older file's text taken over, the slot limit and the reuse of deleted slots.
#include "mailer/ui/logic/signatur_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// A file in memory; a write can be made to fail.
class MemoryFile : public lx::SignatureStorage {
public:
    Bytes bytes;
    bool refuseWrites = false;
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) override {
        if (offset < 0 || static_cast<std::size_t>(offset) >= bytes.size()) return 0;
        const std::size_t got = std::min(size, bytes.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes.data() + offset, got);
        return got;
    }
    bool WriteAt(std::int64_t offset, const void* data, std::size_t size) override {
        if (refuseWrites || offset < 0) return false;
        const std::size_t at = static_cast<std::size_t>(offset);
        if (bytes.size() < at + size) bytes.resize(at + size, 0);
        std::memcpy(bytes.data() + at, data, size);
        return true;
    }
};

// The expected image, laid out field by field.
struct Image {
    Bytes bytes = Bytes(1296, 0);
    void Int(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void Slot(int i, const char* name, std::uint32_t offset, bool deleted, const char* text) {
        std::memcpy(&bytes[4 + 32 * i], name, std::strlen(name));
        Int(1028 + 4 * i, offset);
        Int(1156 + 4 * i, deleted ? 1 : 0);
        if (bytes.size() < offset + 512) bytes.resize(offset + 512, 0);
        std::memcpy(&bytes[offset], text, std::strlen(text));
    }
};

lx::SignatureSave Add(lx::SignatureBook& book, const std::string& name, const std::string& text) {
    return book.Save(-1, name, text, nullptr);
}

TEST(SignatureBook, WritesTheFileByteForByteAndReadsItBack) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready); // an empty file gets its empty index
    EXPECT_EQ(file.bytes, Bytes(1296, 0));
    ASSERT_EQ(Add(book, "Work", "Ann Smith\r\nExample Ltd"), lx::SignatureSave::Saved);
    ASSERT_EQ(Add(book, "Home", "Ann"), lx::SignatureSave::Saved);
    ASSERT_TRUE(book.Remove(0));

    Image expected;
    expected.Int(0, 2);
    expected.Slot(0, "Work", 1296, true, "Ann Smith\r\nExample Ltd");
    expected.Slot(1, "Home", 1296 + 512, false, "Ann");
    EXPECT_EQ(file.bytes, expected.bytes);

    lx::SignatureBook again(file);
    ASSERT_EQ(again.Load(), lx::SignatureLoad::Ready);
    EXPECT_EQ(again.Names(), Lines{"Home"});
    EXPECT_EQ(again.TextOf(again.SlotOf("Home")), "Ann");
    EXPECT_EQ(again.SlotOf("Work"), -1); // deleted: kept in the file, never found

    // The sending's reader takes the same bytes.
    lx::SignatureIndex index;
    ASSERT_TRUE(lx::ParseSignatureIndex(file.bytes.data(), file.bytes.size(), &index));
    EXPECT_EQ(index.count, 2);
    EXPECT_EQ(lx::FindSignature(index, "Home"), 1);
}

TEST(SignatureBook, AFileShorterThanItsIndexIsDamaged) {
    MemoryFile file;
    file.bytes = Bytes(1295, 0);
    lx::SignatureBook book(file);
    EXPECT_EQ(book.Load(), lx::SignatureLoad::Damaged);
    EXPECT_EQ(file.bytes.size(), 1295u); // left as it was
}

TEST(SignatureBook, TheOlderSignatureBecomesTheFirstSlot) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_TRUE(book.StartFromOldSignature("Regards,\r\nAnn", "Default Signature"));
    Image expected;
    expected.Int(0, 1);
    expected.Slot(0, "Default Signature", 1296, false, "Regards,\r\nAnn");
    EXPECT_EQ(file.bytes, expected.bytes);
    EXPECT_EQ(book.Names(), Lines{"Default Signature"});
}

TEST(SignatureBook, NamesAndTextsAreCutToWhatFitsWithTheirZero) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    ASSERT_EQ(Add(book, std::string(40, 'n'), std::string(600, 't')), lx::SignatureSave::Saved);
    EXPECT_EQ(file.bytes.size(), 1296u + 512u);
    EXPECT_EQ(file.bytes[4 + 31], 0);     // the name's zero
    EXPECT_EQ(file.bytes[1296 + 511], 0); // the text's zero
    EXPECT_EQ(book.Names(), Lines{std::string(31, 'n')});
    EXPECT_EQ(book.TextOf(0), std::string(511, 't'));
}

TEST(SignatureBook, TheThirtyThirdSignatureIsRefusedUntilOneIsDeleted) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(Add(book, "S" + std::to_string(i), "text"), lx::SignatureSave::Saved) << i;
    EXPECT_FALSE(book.HasFreeSlot());
    const Bytes full = file.bytes;
    EXPECT_EQ(Add(book, "S32", "text"), lx::SignatureSave::Full);
    EXPECT_EQ(file.bytes, full);
    ASSERT_TRUE(book.Remove(5));
    EXPECT_TRUE(book.HasFreeSlot()); // a deleted slot makes room again
    int slot = -1;
    ASSERT_EQ(book.Save(-1, "S32", "new", &slot), lx::SignatureSave::Saved);
    EXPECT_EQ(slot, 5);
    EXPECT_EQ(file.bytes.size(), full.size());
}

TEST(SignatureBook, ANewSignatureTakesTheFirstDeletedSlotAndItsBlock) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    for (const char* name : {"One", "Two", "Three"})
        ASSERT_EQ(Add(book, name, name), lx::SignatureSave::Saved);
    ASSERT_TRUE(book.Remove(2));
    ASSERT_TRUE(book.Remove(1));
    const std::size_t size = file.bytes.size();
    int slot = -1;
    ASSERT_EQ(book.Save(-1, "Four", "four", &slot), lx::SignatureSave::Saved);
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(file.bytes.size(), size); // the file does not grow
    EXPECT_EQ(book.Index().count, 3);
    EXPECT_EQ(book.Index().offsets[1], 1296 + 512);
    EXPECT_EQ(book.Names(), (Lines{"One", "Four"}));
    EXPECT_EQ(book.TextOf(1), "four");
}

TEST(SignatureBook, NamesAreUniqueAmongSignaturesInUse) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    ASSERT_EQ(Add(book, "Work", "a"), lx::SignatureSave::Saved);
    ASSERT_EQ(Add(book, "Home", "b"), lx::SignatureSave::Saved);
    EXPECT_EQ(Add(book, "Work", "c"), lx::SignatureSave::NameTaken);
    EXPECT_EQ(Add(book, "", "c"), lx::SignatureSave::EmptyName);
    // Changing a signature may keep its own name, not take another's.
    EXPECT_EQ(book.Save(0, "Work", "changed", nullptr), lx::SignatureSave::Saved);
    EXPECT_EQ(book.Save(0, "Home", "changed", nullptr), lx::SignatureSave::NameTaken);
    EXPECT_EQ(book.TextOf(0), "changed");
    // A deleted signature's name is free again.
    ASSERT_TRUE(book.Remove(1));
    EXPECT_EQ(Add(book, "Home", "d"), lx::SignatureSave::Saved);
    EXPECT_EQ(book.Names(), (Lines{"Work", "Home"}));
}

TEST(SignatureBook, ARefusedWriteLeavesTheSignaturesAsTheyWere) {
    MemoryFile file;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    ASSERT_EQ(Add(book, "Work", "a"), lx::SignatureSave::Saved);
    file.refuseWrites = true;
    EXPECT_EQ(Add(book, "Home", "b"), lx::SignatureSave::WriteFailed);
    EXPECT_FALSE(book.Remove(0));
    EXPECT_EQ(book.Names(), Lines{"Work"});
    EXPECT_EQ(book.Index().count, 1);
}

} // namespace

namespace {

// A damaged index can send a slot's text into the index, onto another signature's text or far
// past the end of the file: a save then writes the text where nothing else is kept.
TEST(SignatureBook, ASaveIntoADamagedSlotKeepsEveryOtherSignature) {
    const struct {
        const char* what;
        std::uint32_t recorded; // slot 1's offset in the damaged file
        std::uint32_t written;  // where its changed text goes
    } cases[] = {
        {"into the index", 100, 1296 + 512},
        {"onto slot 0's text", 1296 + 200, 1296 + 512},
        {"far past the end", 0x7ffffff0u, 1296 + 512},
        {"before the file", 0xfffffff0u, 1296 + 512},
        {"a sound place of its own", 1296 + 5 * 512, 1296 + 5 * 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Image damaged;
        damaged.Int(0, 2);
        damaged.Slot(0, "Work", 1296, false, "Ann Smith");
        damaged.Slot(1, "Home", 1296 + 512, false, "Ann");
        damaged.Int(1028 + 4, c.recorded);
        MemoryFile file;
        file.bytes = damaged.bytes;
        lx::SignatureBook book(file);
        ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
        // Bytes of the index are no signature's text: the sending would append them to mail.
        if (c.recorded < 1296 || c.recorded >= 0x80000000u) EXPECT_EQ(book.TextOf(1), "");
        int saved = -1;
        ASSERT_EQ(book.Save(1, "Home", "Ann at home", &saved), lx::SignatureSave::Saved);
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(book.Index().offsets[1], static_cast<std::int32_t>(c.written));
        EXPECT_EQ(book.TextOf(0), "Ann Smith");
        EXPECT_EQ(book.TextOf(1), "Ann at home");
        EXPECT_LE(file.bytes.size(), 1296u + 33 * 512);
    }
}

// When slot 1's own place is taken by another signature too, its text goes after the last one.
TEST(SignatureBook, ATextWithNoPlaceOfItsOwnGoesAfterTheLastBlock) {
    Image damaged;
    damaged.Int(0, 3);
    damaged.Slot(0, "Work", 1296, false, "Ann Smith");
    damaged.Slot(1, "Home", 1296, false, "Ann");
    damaged.Slot(2, "Club", 1296 + 512, false, "Captain");
    MemoryFile file;
    file.bytes = damaged.bytes;
    lx::SignatureBook book(file);
    ASSERT_EQ(book.Load(), lx::SignatureLoad::Ready);
    ASSERT_EQ(book.Save(1, "Home", "Ann at home", nullptr), lx::SignatureSave::Saved);
    EXPECT_EQ(book.Index().offsets[1], 1296 + 2 * 512);
    EXPECT_EQ(book.TextOf(0), "Ann Smith");
    EXPECT_EQ(book.TextOf(1), "Ann at home");
    EXPECT_EQ(book.TextOf(2), "Captain");
}

} // namespace
