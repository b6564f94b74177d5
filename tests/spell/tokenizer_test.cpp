#include "spellcheck/core/tokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using lx::spell::TextWord;
using lx::spell::WordScanner;

// Words found, sentence starts marked with '^'.
std::string Words(const std::string& text) {
    WordScanner scanner(text);
    TextWord w;
    std::string out;
    while (scanner.Next(&w)) {
        if (!out.empty()) out += ' ';
        if (w.sentenceStart) out += '^';
        out += text.substr(w.begin, w.length);
    }
    return out;
}

struct Case {
    const char* text;
    const char* words;
};

TEST(WordScanner, FindsTheWordsACheckerLooksUp) {
    const Case cases[] = {
        {"", ""},
        {"  \r\n ", ""},
        {"Hello world", "^Hello world"},
        {"Don't stop; it's fine.", "^Don't stop it's fine"},
        {"\x93quoted\x94 'single' words", "^quoted single words"},
        {"the students' books", "^the students books"},
        {"it\x92s curly", "^it\x92s curly"},
        {"room 101 and R2D2 or 3rd or foo_bar, x1", "^room and or or"},
        {"mail me at jo.doe@example.com now", "^mail me at now"},
        {"<bob@mail.example.org> wrote", "wrote"},
        {"see http://example.com/a?b=c, https://x.org and ftp://h/f", "^see and"},
        {"www.example.com and mailto:jo@x.org", "and"},
        {"open lorvex.exe or example.com", "^open or"},
        {"e.g. this and i.e. that", "^e g ^this and i e ^that"},
        {"well-known state-of-the-art", "^well known state of the art"},
        {"One. Two! Three? four", "^One ^Two ^Three ^four"},
        {"He said \"stop.\" Then", "^He said stop ^Then"},
        {"Dear Bob,\r\nThanks again\nfor it", "^Dear Bob ^Thanks again ^for it"},
        {"caf\xe9 na\xefve \xc9mile", "^caf\xe9 na\xefve \xc9mile"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.words, Words(c.text)) << c.text;
}

// Words where a capital is in order without a sentence start: after a capitalised word.
std::string AfterCapital(const std::string& text) {
    WordScanner scanner(text);
    TextWord w;
    std::string out;
    while (scanner.Next(&w))
        if (w.afterCapital && !w.sentenceStart)
            out += (out.empty() ? "" : " ") + text.substr(w.begin, w.length);
    return out;
}

TEST(WordScanner, MarksWordsThatContinueATitleOrName) {
    const Case cases[] = {
        {"under the GNU General Public License now", "General Public License now"},
        {"read the License", ""},
        {"Kind Regards,\r\nJo", "Regards"},
        {"Thanks, Jo Smith", "Smith"},
        {"Anglo-Saxon Chronicle", "Saxon Chronicle"},
        {"Ask Bob (Ann too)", "Bob too"},
        {"See R2D2 Here and www.x.org There", "and"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.words, AfterCapital(c.text)) << c.text;
}

TEST(WordScanner, ReportsOffsetsIntoTheText) {
    const std::string text = "  ab, cd\r\nef";
    WordScanner scanner(text);
    TextWord w;
    std::vector<std::pair<size_t, size_t>> found;
    while (scanner.Next(&w)) found.emplace_back(w.begin, w.length);
    EXPECT_EQ((std::vector<std::pair<size_t, size_t>>{{2, 2}, {6, 2}, {10, 2}}), found);
}

TEST(WordScanner, SeekContinuesAfterAChangedWord) {
    const std::string text = "abc-def ghi. jkl";
    WordScanner scanner(text);
    TextWord w;
    ASSERT_TRUE(scanner.Next(&w));
    scanner.Seek(3, false); // after "abc", inside its chunk
    ASSERT_TRUE(scanner.Next(&w));
    EXPECT_EQ("def", text.substr(w.begin, w.length));
    EXPECT_FALSE(w.sentenceStart);
    ASSERT_TRUE(scanner.Next(&w));
    ASSERT_TRUE(scanner.Next(&w));
    EXPECT_EQ("jkl", text.substr(w.begin, w.length));
    EXPECT_TRUE(w.sentenceStart);
}

} // namespace
