// The digests, the base64 codec and the SMTP login pieces on published test vectors.
#include <gtest/gtest.h>

#include "netlib/core/base64.h"
#include "netlib/core/md5.h"
#include "netlib/core/sasl.h"

namespace lx::net::test {
namespace {

struct Vector {
    std::string key, data, digest;
};

TEST(Md5, Rfc1321SuiteAndPaddingBoundaries) {
    const Vector cases[] = {
        {"", "", "d41d8cd98f00b204e9800998ecf8427e"},
        {"", "a", "0cc175b9c0f1b6a831c399e269772661"},
        {"", "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"",
         "1234567890123456789012345678901234567890"
         "1234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // The length field fits after 55 bytes, not after 56; 64 fills a block exactly.
        {"", std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {"", std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {"", std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    };
    for (const Vector& c : cases) {
        SCOPED_TRACE(c.data.substr(0, 20));
        EXPECT_EQ(md5Hex(c.data), c.digest);
        // Fed a byte at a time, the digest is the same.
        Md5 m;
        for (char ch : c.data) m.update(&ch, 1);
        EXPECT_EQ(digestHex(m.finish()), c.digest);
    }
}

TEST(HmacMd5, Rfc2104AndRfc2202Vectors) {
    const Vector cases[] = {
        {std::string(16, '\x0b'), "Hi There", "9294727a3638bb1c13f48ef8158bfc9d"},
        {"Jefe", "what do ya want for nothing?", "750c783e6ab0b503eaa86e310a5db738"},
        {std::string(16, '\xaa'), std::string(50, '\xdd'), "56be34521d144c88dbb8c733f0e8b3f6"},
        // A key of exactly one block is used as it is; a longer one is digested first.
        {std::string(64, '\xaa'), "x", "5008d796c91c4cc94e59c724e664a7f2"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd"},
        {std::string(80, '\xaa'),
         "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "6f630fad67cda0ee1fb1f562db3aa53e"},
    };
    for (const Vector& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(digestHex(hmacMd5(c.key, c.data)), c.digest);
    }
}

TEST(Base64, DecodesWhatItEncodesAndRefusesWhatIsNotBase64) {
    const std::string samples[] = {"", "t", "ti", "tim", std::string("\0\xff\x10", 3)};
    for (const std::string& s : samples) {
        std::string back;
        ASSERT_TRUE(base64Decode(base64Encode(s), back));
        EXPECT_EQ(back, s);
    }
    EXPECT_EQ(base64Encode("tim"), "dGlt");
    std::string out;
    for (const char* bad : {"dGl", "dG!t", "dGlt\r\n"}) EXPECT_FALSE(base64Decode(bad, out)) << bad;
}

TEST(Ehlo, ReadsStartTlsAndTheLoginMechanisms) {
    struct Case {
        const char* reply;
        bool startTls;
        std::vector<std::string> auth;
    };
    const Case cases[] = {
        {"250 mail.example.org\r\n", false, {}},
        {"250-mail.example.org Hello\r\n250-SIZE 1000\r\n250-STARTTLS\r\n250 8BITMIME\r\n",
         true,
         {}},
        {"250-mail.example.org\r\n250-auth plain Login\r\n250 HELP\r\n", false, {"PLAIN", "LOGIN"}},
        // The older "AUTH=" form beside the standard one; a mechanism is listed once.
        {"250-mx\r\n250-AUTH=LOGIN CRAM-MD5\r\n250-AUTH LOGIN PLAIN\r\n250 STARTTLS\r\n",
         true,
         {"LOGIN", "CRAM-MD5", "PLAIN"}},
        // The first line names the server, whatever it says; keywords must stand alone.
        {"250-STARTTLS\r\n250-XSTARTTLS\r\n250 AUTHX PLAIN\r\n", false, {}},
        {"250-mx\n250 STARTTLS\n", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        const EhloOffer offer = parseEhlo(c.reply);
        EXPECT_EQ(offer.startTls, c.startTls);
        EXPECT_EQ(offer.auth, c.auth);
    }
}

TEST(Sasl, PasswordsGoInClearTextOnlyOverASecuredConnection) {
    using M = SaslMechanism;
    struct Case {
        std::vector<std::string> offered;
        bool secured;
        M chosen;
    };
    const Case cases[] = {
        {{"LOGIN", "PLAIN", "CRAM-MD5"}, true, M::Plain},
        {{"LOGIN", "CRAM-MD5"}, true, M::Login},
        {{"CRAM-MD5"}, true, M::CramMd5},
        {{"LOGIN", "PLAIN", "CRAM-MD5"}, false, M::CramMd5},
        {{"LOGIN", "PLAIN"}, false, M::None},
        {{"XOAUTH2", "GSSAPI"}, true, M::None},
        {{}, true, M::None},
    };
    for (const Case& c : cases) EXPECT_EQ(chooseMechanism(c.offered, c.secured), c.chosen);
}

TEST(Sasl, EachMechanismAnswersItsChallenges) {
    SaslClient plain(SaslMechanism::Plain, "joe@example.org", "s3cret pass");
    EXPECT_EQ(plain.command(), "AUTH PLAIN AGpvZUBleGFtcGxlLm9yZwBzM2NyZXQgcGFzcw==");
    std::string out;
    EXPECT_FALSE(plain.answer("", out));

    SaslClient login(SaslMechanism::Login, "joe@example.org", "s3cret pass");
    EXPECT_EQ(login.command(), "AUTH LOGIN");
    ASSERT_TRUE(login.answer("VXNlcm5hbWU6", out));
    EXPECT_EQ(out, "am9lQGV4YW1wbGUub3Jn");
    ASSERT_TRUE(login.answer("UGFzc3dvcmQ6", out));
    EXPECT_EQ(out, "czNjcmV0IHBhc3M=");
    EXPECT_FALSE(login.answer("UGFzc3dvcmQ6", out));

    // The example exchange of RFC 2195.
    SaslClient cram(SaslMechanism::CramMd5, "tim", "tanstaaftanstaaf");
    EXPECT_EQ(cram.command(), "AUTH CRAM-MD5");
    ASSERT_TRUE(cram.answer("PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+", out));
    EXPECT_EQ(out, "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw");
    EXPECT_FALSE(cram.answer("PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+", out));
    SaslClient garbled(SaslMechanism::CramMd5, "tim", "tanstaaftanstaaf");
    EXPECT_FALSE(garbled.answer("not base64!", out));
    EXPECT_FALSE(SaslClient(SaslMechanism::CramMd5, "tim", "x").answer("", out));
}

} // namespace
} // namespace lx::net::test
