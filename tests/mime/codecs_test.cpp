#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "netlib/mime/codecs.h"
#include "netlib/mime/scanutil.h"

using namespace lx::mime;

namespace {

std::string b64(const std::string& s) {
    std::string out;
    base64Encode(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), out);
    return out;
}

long unb64(const std::string& line, std::string& out) {
    std::uint8_t buf[1024];
    long n = base64DecodeLine(line.data(), line.size(), buf);
    out.assign(reinterpret_cast<char*>(buf), n > 0 ? static_cast<std::size_t>(n) : 0);
    return n;
}

std::string qp(const std::string& s) {
    std::string out;
    qpEncode(reinterpret_cast<const std::uint8_t*>(s.data()), s.size(), out);
    return out;
}

std::string unqp(const std::string& s, bool* soft = nullptr) {
    std::string out(s.size(), '\0');
    out.resize(qpDecodeLine(s.data(), s.size(), &out[0], soft));
    return out;
}

} // namespace

TEST(Base64, EncodesGroupsAndPadding) {
    EXPECT_EQ(b64(""), "");
    EXPECT_EQ(b64("f"), "Zg==");
    EXPECT_EQ(b64("fo"), "Zm8=");
    EXPECT_EQ(b64("foo"), "Zm9v");
    EXPECT_EQ(b64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(b64(std::string("\xff\xfe\x00", 3)), "//4A");
    EXPECT_EQ(b64(std::string(kBase64LineBytes, 'x')).size(), kBase64LineChars);
}

TEST(Base64, DecodesLinesAndRefusesBadOnes) {
    std::string out;
    EXPECT_EQ(unb64("Zm9vYmFy", out), 6);
    EXPECT_EQ(out, "foobar");
    EXPECT_EQ(unb64("Zg==", out), 1);
    EXPECT_EQ(out, "f");
    EXPECT_EQ(unb64("Zm8=", out), 2);
    EXPECT_EQ(out, "fo");
    EXPECT_EQ(unb64("//4A", out), 3);
    EXPECT_EQ(out, std::string("\xff\xfe\x00", 3));
    EXPECT_EQ(unb64("Zm9", out), -1);      // not a multiple of four
    EXPECT_EQ(unb64("Zm9v!mFy", out), -1); // outside the alphabet
    EXPECT_EQ(unb64("", out), 0);
    // Every byte value survives a round trip.
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    std::string enc = b64(all);
    EXPECT_EQ(unb64(enc, out), 256);
    EXPECT_EQ(out, all);
}

TEST(QuotedPrintable, EncodesByTheByteRule) {
    EXPECT_EQ(qp("caf\xe9"), "caf=E9");
    EXPECT_EQ(qp("a b\tc"), "a=20b=09c");
    EXPECT_EQ(qp("x=y"), "x=3Dy");
    EXPECT_EQ(qp("line\r\nnext"), "line\r\nnext");
    EXPECT_EQ(qp(std::string("\x00\x7f\x80\xff", 4)), "=00=7F=80=FF");
    EXPECT_EQ(qp("!<>~"), "!<>~");
}

TEST(QuotedPrintable, DecodesLinesAndSoftBreaks) {
    bool soft = true;
    EXPECT_EQ(unqp("caf=E9 ok", &soft), "caf\xe9 ok");
    EXPECT_FALSE(soft);
    EXPECT_EQ(unqp("caf=e9", &soft), "caf\xe9");
    EXPECT_EQ(unqp("soft break=", &soft), "soft break");
    EXPECT_TRUE(soft);
    EXPECT_EQ(unqp("odd =A", &soft), "odd =A");
    EXPECT_FALSE(soft);
    // "=" without two hexadecimal digits after it is no escape: kept as written.
    EXPECT_EQ(unqp("=G0 a=b c=4"), "=G0 a=b c=4");
}

TEST(Base64Stream, AnyCuttingAndStrayCharacters) {
    const std::string text = "Zm9v YmFy\r\nYm*F6=\r\nZm9=";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Base64Stream b;
        std::string out;
        b.add(text.data(), cut, out);
        b.add(text.data() + cut, text.size() - cut, out);
        b.finish(out);
        EXPECT_EQ(out, "foobarbazfo") << cut;
    }
    Base64Stream b;
    std::string out;
    b.add("Zm9vYg", 6, out); // an unpadded last group
    b.finish(out);
    EXPECT_EQ(out, "foob");
}

TEST(Base64Stream, DecodesIntoRoomAndNotesPadding) {
    const struct {
        const char* in;
        const char* bytes;
        bool padded;
    } cases[] = {
        {"Zm9vYmFy", "foobar", false},
        {"Zm9vYg==", "foob", true},
        {"Zm9vYmE=", "fooba", true},
        {"Zm9v*YmFy", "foobar", false}, // a stray character inside the groups is skipped
        {"Zm*9vYmFy", "foobar", false},
        {"Zm9vYmF", "foo", false}, // the short group waits for more
        {"=", "", true},
        {"", "", false},
    };
    for (const auto& c : cases) {
        const std::size_t n = std::strlen(c.in);
        std::string room(Base64Stream::maxDecoded(n), '\0');
        Base64Stream b;
        const std::size_t got = b.add(c.in, n, &room[0]);
        ASSERT_LE(got, room.size()) << c.in;
        EXPECT_EQ(room.substr(0, got), c.bytes) << c.in;
        EXPECT_EQ(b.sawPadding(), c.padded) << c.in;
    }
}

TEST(Uudecode, DecodesAnnouncedCount) {
    std::uint8_t out[64];
    // "Cat" uuencoded: count 3 -> '#', then "0V%T"
    std::string line = "#0V%T";
    ASSERT_EQ(uudecodeLine(line.data(), line.size(), out), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 3), "Cat");
    std::string empty = "`";
    EXPECT_EQ(uudecodeLine(empty.data(), empty.size(), out), 0u);
    // A line that announces more than it carries yields only what it carries.
    std::string cut = "M0V%T";
    EXPECT_LE(uudecodeLine(cut.data(), cut.size(), out), 3u);
}

TEST(FindByte, EveryPositionAndLength) {
    // The line end search (a word or a byte at a time on Windows) finds the first match wherever
    // it lies, and nothing at or past the length it is given.
    for (std::size_t len = 0; len <= 40; ++len)
        for (std::size_t at = 0; at <= len; ++at) {
            std::string s(len + 8, 'a');
            s[at] = '\n';
            s[len] = '\n'; // just beyond the search
            const char* hit = findByte(s.data(), len, '\n');
            EXPECT_EQ(hit, at < len ? s.data() + at : nullptr) << len << " " << at;
        }
}
