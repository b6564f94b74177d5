// Splitting texts into rectangles over a monospaced fake layout: 10 units a character, 20 a
// line, so a rectangle 200 wide holds 20 characters a line.
#include "printengine/core/paginate.h"
#include "tests/print/fake_measurer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lx::print::test {
namespace {

constexpr long kChar = 10;
constexpr long kLine = 20;

PageRect Rect(int lines, int columns = 20, int top = 100) {
    return PageRect{50, top, 50 + columns * static_cast<int>(kChar),
                    top + lines * static_cast<int>(kLine)};
}

// Every piece of `text` for rectangles of `rect`, with a buffer of `size` bytes.
std::vector<std::string> Pieces(const std::string& text, const PageRect& rect, std::size_t size,
                                FakeMeasurer* used = nullptr) {
    FakeMeasurer own(kChar, kLine);
    FakeMeasurer& measurer = used ? *used : own;
    std::vector<std::string> pieces;
    std::vector<char> buffer(size);
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t piece = 0;
        EXPECT_TRUE(FitPiece(measurer, text.data(), text.size(), position, rect, buffer.data(),
                             size, &piece));
        EXPECT_GT(piece, 0u) << "no progress at " << position;
        if (piece == 0) break;
        EXPECT_EQ(std::string(buffer.data()), text.substr(position, piece));
        pieces.push_back(text.substr(position, piece));
        position += piece;
    }
    return pieces;
}

std::string Words(int count, const char* word = "word") {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + std::string(word) + std::to_string(i % 10);
    return text;
}

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(1000 + i) + "\r\n";
    return text;
}

struct CountCase {
    const char* name;
    long textHeight;
    long rectHeight;
    bool ok;
    int count;
};

TEST(CountRects, HeightsAgainstRectangles) {
    const CountCase cases[] = {
        {"shorter text", 30, 100, true, 1},        {"empty text", 0, 100, true, 1},
        {"exactly one", 100, 100, true, 1},        {"exactly twice", 200, 100, true, 2},
        {"twice and one unit", 201, 100, true, 3}, {"one unit over one", 101, 100, true, 2},
        {"zero height", 200, 0, false, -7},        {"negative height", 200, -40, false, -7},
    };
    for (const auto& c : cases) {
        int count = -7;
        EXPECT_EQ(CountRects(c.textHeight, c.rectHeight, &count), c.ok) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
    }
}

TEST(FitPiece, ShortTextIsTheWholeRest) {
    const std::string text = "a short text\r\nof two lines";
    const auto pieces = Pieces(text, Rect(5), 4096);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], text);
}

TEST(FitPiece, FirstMeasurementIsHalfTheBuffer) {
    const std::string text = Words(2000);
    FakeMeasurer measurer(kChar, kLine);
    std::vector<char> buffer(4096);
    std::size_t piece = 0;
    ASSERT_TRUE(
        FitPiece(measurer, text.data(), text.size(), 0, Rect(40, 60), buffer.data(), 4096, &piece));
    ASSERT_FALSE(measurer.calls.empty());
    EXPECT_EQ(measurer.calls.front(), 2048u);
    // A text shorter than the buffer is measured whole first.
    measurer.calls.clear();
    ASSERT_TRUE(
        FitPiece(measurer, text.data(), 1000, 0, Rect(40, 60), buffer.data(), 4096, &piece));
    EXPECT_EQ(measurer.calls.front(), 1000u);
}

struct LayoutCase {
    const char* name;
    std::string text;
    int lines;   // rectangle height in lines
    int columns; // rectangle width in characters
    std::size_t buffer;
};

// Pieces together are the text; each fits; each but the last ends before a blank, tab or line
// end, which starts the next piece; and adding the next word would overflow.
TEST(FitPiece, PiecesNeverEndInsideAWord) {
    const LayoutCase cases[] = {
        {"words, small page", Words(600), 7, 20, 4096},
        {"words, small buffer", Words(600), 30, 30, 300},
        {"lines", NumberedLines(300), 12, 20, 4096},
        {"tabs", Words(400, "\tcol"), 9, 25, 4096},
        {"long lines wrapped", Words(50) + "\r\n" + Words(70) + "\r\n" + Words(90), 4, 20, 4096},
        {"blank lines", "para one\r\n\r\n\r\npara two is here\r\n\r\n" + Words(80), 3, 20, 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PageRect rect = Rect(c.lines, c.columns);
        const auto pieces = Pieces(c.text, rect, c.buffer);
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            joined += pieces[i];
            EXPECT_LE(FakeMeasurer::Lines(pieces[i], c.columns), c.lines) << "piece " << i;
            if (i + 1 == pieces.size()) continue;
            const char next = pieces[i + 1].front();
            EXPECT_TRUE(next == ' ' || next == '\t' || next == '\r' || next == '\n')
                << "piece " << i + 1 << " starts inside a word: " << pieces[i + 1].substr(0, 12);
            EXPECT_NE(pieces[i].back(), '\r') << "piece " << i << " splits a line end";
        }
        EXPECT_EQ(joined, c.text);
    }
}

// Measuring line by line (each line once per piece) cuts exactly the pieces that measuring the
// whole piece again and again cuts, with far fewer bytes measured.
TEST(FitPiece, LineByLineMeasuringCutsTheSamePieces) {
    const LayoutCase cases[] = {
        {"lines", NumberedLines(900), 40, 20, 4096},
        {"long lines wrapped", Words(50) + "\r\n" + Words(70) + "\r\n\r\n" + Words(90), 4, 20,
         4096},
        {"lone line feeds", "one\ntwo\n\nthree four five six seven\rend\n", 2, 8, 4096},
        {"run and blanks", std::string(300, 'x') + "\r\n" + Words(200), 5, 20, 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMeasurer whole(kChar, kLine), byLine(kChar, kLine);
        byLine.linesAddUp = true;
        const auto expected = Pieces(c.text, Rect(c.lines, c.columns), c.buffer, &whole);
        EXPECT_EQ(Pieces(c.text, Rect(c.lines, c.columns), c.buffer, &byLine), expected);
        std::size_t wholeBytes = 0, lineBytes = 0;
        for (auto n : whole.calls) wholeBytes += n;
        for (auto n : byLine.calls) lineBytes += n;
        EXPECT_LE(lineBytes, wholeBytes);
    }
}

TEST(FitPiece, PagesFilledExactly) {
    // Three words a line: 120 words fill two 20-line rectangles exactly, with no third.
    const auto pieces = Pieces(Words(120), Rect(20), 4096);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].front(), ' ');
    // One word more takes a third.
    EXPECT_EQ(Pieces(Words(121), Rect(20), 4096).size(), 3u);
}

TEST(FitPiece, RunWithoutBlankIsCutAtTheLastCharacterThatFits) {
    struct RunCase {
        const char* name;
        std::string text;
        int lines;
        std::size_t firstPiece;
    };
    const RunCase cases[] = {
        {"one long run", std::string(1000, 'x'), 3, 60},
        {"run after a blank", "ab " + std::string(500, 'y'), 2, 2}, // ends before the blank
        {"one line", std::string(50, 'z'), 1, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pieces = Pieces(c.text, Rect(c.lines), 4096);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces[0].size(), c.firstPiece);
        std::string joined;
        for (const auto& p : pieces) joined += p;
        EXPECT_EQ(joined, c.text);
    }
}

TEST(FitPiece, WrongArgumentsAreRefused) {
    const std::string text = Words(100);
    FakeMeasurer measurer(kChar, kLine);
    std::vector<char> buffer(4096);
    std::size_t piece = 99;
    struct Case {
        const char* name;
        PageRect rect;
        char* buffer;
        std::size_t size;
        std::size_t position;
    };
    const Case cases[] = {
        {"zero height", PageRect{0, 100, 200, 100}, buffer.data(), 4096, 0},
        {"negative height", PageRect{0, 100, 200, 40}, buffer.data(), 4096, 0},
        {"zero width", PageRect{200, 0, 200, 400}, buffer.data(), 4096, 0},
        {"no buffer", Rect(5), nullptr, 4096, 0},
        {"one-byte buffer", Rect(5), buffer.data(), 1, 0},
        {"position past the end", Rect(5), buffer.data(), 4096, text.size() + 1},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(FitPiece(measurer, text.data(), text.size(), c.position, c.rect, c.buffer,
                              c.size, &piece))
            << c.name;
    }
    EXPECT_TRUE(measurer.calls.empty());
    EXPECT_EQ(piece, 99u);
}

TEST(FitPiece, AtTheEndThePieceIsEmpty) {
    const std::string text = "end";
    FakeMeasurer measurer(kChar, kLine);
    char buffer[16];
    std::size_t piece = 99;
    ASSERT_TRUE(FitPiece(measurer, text.data(), text.size(), text.size(), Rect(3), buffer,
                         sizeof buffer, &piece));
    EXPECT_EQ(piece, 0u);
    EXPECT_STREQ(buffer, "");
}

} // namespace
} // namespace lx::print::test
