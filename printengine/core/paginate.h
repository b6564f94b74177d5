// Splitting a long text into rectangles of a page: how many rectangles it needs and which piece
// fills the next one. Portable: the text is measured through a TextMeasurer, which the print
// engine implements with the printer's own text layout and tests with a fake.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lx::print {

// Hundredths of an inch, y growing down the page.
struct PageRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Height of `text` (`length` bytes, zero-terminated after them) laid out word-wrapped in a
    // column `width` units wide; negative when it cannot be measured.
    virtual long WrappedHeight(const char* text, std::size_t length, long width) = 0;
    // True when a text's height is the sum of its lines' heights (lines end at CR LF, CR or LF;
    // an empty line is as high as a blank, a final line end adds nothing): each line is then
    // measured once however often the piece around it is measured again.
    virtual bool LinesAddUp() const { return false; }
};

// Rectangles of height `rectHeight` needed for a text `textHeight` high: 1 when it fits, else the
// quotient rounded up. False for a rectangle of zero or negative height.
bool CountRects(long textHeight, long rectHeight, int* count);

// Bytes by which the piece grows while it still leaves room in the rectangle.
constexpr std::size_t kGrowStep = 256;

// Finds the piece of source[position, length) that fills `rect` and copies it, zero-terminated,
// into `buffer` (`size` bytes). Starts from the whole rest when it is shorter than the buffer,
// else from half the buffer; grows by kGrowStep while there is room; then shrinks to the nearest
// earlier blank, tab or line end, which becomes the first character of the next piece. A piece
// with no such character is cut after its last character that fits (at least one character, so
// every call advances). `piece` receives the piece's length. False for wrong arguments (no
// buffer, a buffer under 2 bytes, a position outside the text, a rectangle with no height or
// width) or when the text cannot be measured.
bool FitPiece(TextMeasurer& measurer, const char* source, std::size_t length, std::size_t position,
              const PageRect& rect, char* buffer, std::size_t size, std::size_t* piece);

} // namespace lx::print
