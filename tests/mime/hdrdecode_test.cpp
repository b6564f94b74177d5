#include <gtest/gtest.h>

#include <string>

#include "netlib/mime/hdrdecode.h"

using lx::mime::decodeHeaderWords;

namespace {

struct Case {
    const char* what;
    const char* in;
    const char* out; // Windows-1252
};

const Case kCases[] = {
    {"plain text", "Hello there", "Hello there"},
    {"B, ISO-8859-1", "=?ISO-8859-1?B?Q2Fm6Q==?=", "Caf\xe9"},
    {"Q, ISO-8859-1", "=?iso-8859-1?q?Caf=E9_cr=E8me?=", "Caf\xe9 cr\xe8me"},
    {"B, UTF-8", "=?UTF-8?B?Q2Fmw6k=?=", "Caf\xe9"},
    {"Q, UTF-8, lower-case hex", "=?utf-8?Q?Caf=c3=a9?=", "Caf\xe9"},
    {"Q, Windows-1252 quotes and euro", "=?windows-1252?Q?=93=80=94?=", "\x93\x80\x94"},
    {"UTF-8 euro and quotes to Windows-1252",
     "=?utf-8?q?=E2=82=AC_=E2=80=9Cx=E2=80=9D?=", "\x80 \x93x\x94"},
    {"US-ASCII", "=?us-ascii?q?plain_words?=", "plain words"},
    {"language suffix", "=?utf-8*en?q?Hi?=", "Hi"},
    {"text around a word keeps its blanks", "Re: =?utf-8?q?Caf=C3=A9?= today", "Re: Caf\xe9 today"},
    {"split words join", "=?utf-8?q?Caf?= =?utf-8?q?=C3=A9?=", "Caf\xe9"},
    {"split UTF-8 sequence joins", "=?utf-8?b?w6k=?=\t =?utf-8?b?w6k=?=", "\xe9\xe9"},
    {"mixed charsets join", "=?iso-8859-1?q?a=E9?=   =?utf-8?q?=C3=A9b?=",
     "a\xe9\xe9"
     "b"},
    {"B without padding", "=?utf-8?b?Q2Fmw6k?=", "Caf\xe9"},
    {"not representable", "=?utf-8?b?5pel5pys?= =?utf-8?q?=F0=9F=98=80?=", "???"},
    {"Latin-1 control bytes", "=?iso-8859-1?q?=80=9F?=", "??"},
    {"undefined Windows-1252 byte", "=?windows-1252?q?=81?=", "?"},
    {"invalid UTF-8", "=?utf-8?q?a=C3b=FF?=", "a?b?"},
    {"unknown charset left alone", "=?koi8-r?q?abc?=", "=?koi8-r?q?abc?="},
    {"unknown encoding left alone", "=?utf-8?x?abc?=", "=?utf-8?x?abc?="},
    {"broken base64 left alone", "=?utf-8?b?ab$c?=", "=?utf-8?b?ab$c?="},
    {"lone base64 character left alone", "=?utf-8?b?abcde?=", "=?utf-8?b?abcde?="},
    {"unterminated word left alone", "=?utf-8?q?abc", "=?utf-8?q?abc"},
    {"bad word beside a good one", "=?x?q?a?= =?utf-8?q?b?=", "=?x?q?a?= b"},
    {"question marks alone", "What? =? Why?=", "What? =? Why?="},
    {"Q escape that is no escape", "=?utf-8?q?50=25_=G1?=", "50% =G1"},
};

} // namespace

TEST(HeaderDecode, EncodedWords) {
    for (const Case& c : kCases) EXPECT_EQ(decodeHeaderWords(c.in), std::string(c.out)) << c.what;
}

TEST(HeaderDecode, LongValuesStayQuick) {
    std::string many;
    for (int i = 0; i < 20000; ++i) many += "=?utf-8?q?a ";
    EXPECT_EQ(decodeHeaderWords(many), many); // no word closes: all stays as it stands
    const std::string word = "=?utf-8?q?" + std::string(5000, 'x') + "?=";
    EXPECT_EQ(decodeHeaderWords(word), word); // longer than any encoded word may be
}

TEST(HeaderDecode, CodePointsToWindows1252) {
    EXPECT_EQ(lx::mime::toWindows1252(0x41), 'A');
    EXPECT_EQ(lx::mime::toWindows1252(0xE9), '\xe9');
    EXPECT_EQ(lx::mime::toWindows1252(0x20AC), '\x80');
    EXPECT_EQ(lx::mime::toWindows1252(0x0178), '\x9f');
    EXPECT_EQ(lx::mime::toWindows1252(0x0081), '?');
    EXPECT_EQ(lx::mime::toWindows1252(0x4E00), '?');
}
