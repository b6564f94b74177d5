// Reading SIGNING.SIG: the index and one signature's text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mailer/transfer/logic/signatureindex.h"
#include "tests/mime/mimetest.h"

namespace {

using lx::kSignatureIndexSize;
using lx::kSignatureTextSize;

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

struct Slot {
    std::string name, text;
    bool deleted;
};

// A file as the signature editor writes it: the index, then one 512-byte block per slot.
std::vector<std::uint8_t> SignatureBytes(const std::vector<Slot>& slots, std::int32_t count) {
    std::vector<std::uint8_t> b(kSignatureIndexSize + slots.size() * kSignatureTextSize, 0);
    Put32(b, 0, count);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        std::copy(slots[i].name.begin(), slots[i].name.end(), b.begin() + 4 + 32 * i);
        const std::size_t offset = kSignatureIndexSize + kSignatureTextSize * i;
        Put32(b, 1028 + 4 * i, static_cast<std::int32_t>(offset));
        Put32(b, 1156 + 4 * i, slots[i].deleted ? 1 : 0);
        std::copy(slots[i].text.begin(), slots[i].text.end(), b.begin() + offset);
    }
    return b;
}

std::string Write(const lxtest::TempDir& dir, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.file("SIGNING.SIG");
    lxtest::writeFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

const std::vector<Slot> kSlots = {
    {"Work", "Old work signature", true},
    {"Home", "Jo\r\nat home", false},
    {"Work", "Jo Bloggs\r\nQuorbit Ltd", false},
};

TEST(SignatureIndex, FindsTheSignatureInUseByExactName) {
    const auto bytes = SignatureBytes(kSlots, 3);
    lx::SignatureIndex index;
    ASSERT_TRUE(lx::ParseSignatureIndex(bytes.data(), bytes.size(), &index));
    EXPECT_EQ(index.count, 3);
    struct {
        const char* name;
        int slot;
    } cases[] = {{"Work", 2}, {"Home", 1}, {"home", -1}, {"Wor", -1}, {"", -1}, {"Other", -1}};
    for (const auto& c : cases) EXPECT_EQ(lx::FindSignature(index, c.name), c.slot) << c.name;
}

TEST(SignatureIndex, SlotsPastTheCountAreNotFound) {
    const auto bytes = SignatureBytes(kSlots, 2);
    lx::SignatureIndex index;
    ASSERT_TRUE(lx::ParseSignatureIndex(bytes.data(), bytes.size(), &index));
    EXPECT_EQ(lx::FindSignature(index, "Work"), -1); // slot 2 lies past the count
}

TEST(SignatureIndex, CountIsKeptWithinTheSlots) {
    for (std::int32_t count : {-5, 0, 32, 33, 1000}) {
        auto bytes = SignatureBytes({}, count);
        lx::SignatureIndex index;
        ASSERT_TRUE(lx::ParseSignatureIndex(bytes.data(), bytes.size(), &index));
        EXPECT_EQ(index.count, count < 0 ? 0 : (count > 32 ? 32 : count)) << count;
    }
}

TEST(SignatureIndex, ShortIndexIsRefused) {
    const auto bytes = SignatureBytes(kSlots, 3);
    lx::SignatureIndex index;
    EXPECT_FALSE(lx::ParseSignatureIndex(bytes.data(), kSignatureIndexSize - 1, &index));
}

TEST(SignatureIndex, NameFillingItsFieldIsReadWhole) {
    const std::string name(32, 'n');
    auto bytes = SignatureBytes({{name, "text", false}}, 1);
    lx::SignatureIndex index;
    ASSERT_TRUE(lx::ParseSignatureIndex(bytes.data(), bytes.size(), &index));
    EXPECT_EQ(index.names[0], name);
}

TEST(SignatureFile, ReadsTheTextOfANamedSignature) {
    lxtest::TempDir dir;
    lx::SignatureFile file;
    ASSERT_TRUE(file.Open(Write(dir, SignatureBytes(kSlots, 3))));
    EXPECT_EQ(file.TextOf("Work"), "Jo Bloggs\r\nQuorbit Ltd");
    EXPECT_EQ(file.TextOf("Home"), "Jo\r\nat home");
    EXPECT_EQ(file.TextOf("Nobody"), "");
}

TEST(SignatureFile, TextFillingItsBlockStopsAtTheBlock) {
    lxtest::TempDir dir;
    auto bytes = SignatureBytes({{"Full", std::string(512, 'x'), false}}, 1);
    bytes.push_back('y'); // past the block
    lx::SignatureFile file;
    ASSERT_TRUE(file.Open(Write(dir, bytes)));
    EXPECT_EQ(file.TextOf("Full"), std::string(512, 'x'));
}

TEST(SignatureFile, MissingOrShortFileMeansNoSignatures) {
    lxtest::TempDir dir;
    lx::SignatureFile file;
    EXPECT_FALSE(file.Open(dir.file("SIGNING.SIG")));
    EXPECT_EQ(file.TextOf("Work"), "");
    auto bytes = SignatureBytes(kSlots, 3);
    bytes.resize(kSignatureIndexSize - 10);
    EXPECT_FALSE(file.Open(Write(dir, bytes)));
    EXPECT_EQ(file.TextOf("Work"), "");
}

TEST(SignatureFile, BlockBeyondTheFileGivesNoText) {
    lxtest::TempDir dir;
    auto bytes = SignatureBytes({{"Cut", "gone", false}}, 1);
    bytes.resize(kSignatureIndexSize); // the index names a block that was never written
    lx::SignatureFile file;
    ASSERT_TRUE(file.Open(Write(dir, bytes)));
    EXPECT_EQ(file.TextOf("Cut"), "");
}

TEST(SignatureFile, BlockInsideTheIndexGivesNoText) {
    // A damaged offset into the index would append the index's bytes to every message sent.
    lxtest::TempDir dir;
    for (std::int32_t offset : {0, 4, 1295, -1}) {
        auto bytes = SignatureBytes({{"Bad", "text", false}}, 1);
        Put32(bytes, 1028, offset);
        lx::SignatureFile file;
        ASSERT_TRUE(file.Open(Write(dir, bytes)));
        EXPECT_EQ(file.TextOf("Bad"), "") << offset;
    }
}

} // namespace
