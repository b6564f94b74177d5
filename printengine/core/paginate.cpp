#include "printengine/core/paginate.h"

#include <algorithm>
#include <cstring>

namespace lx::print {

namespace {

bool IsBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Copies `count` bytes of the piece into the buffer and measures them; the bottom edge the piece
// reaches in `rect`, or false when the measurer fails.
class PieceProbe {
public:
    PieceProbe(TextMeasurer& measurer, const char* start, const PageRect& rect, char* buffer)
        : measurer_(measurer), start_(start), rect_(rect), buffer_(buffer) {}

    bool Bottom(std::size_t count, long* bottom) {
        std::memcpy(buffer_, start_, count);
        buffer_[count] = '\0';
        const long height = measurer_.WrappedHeight(buffer_, count, rect_.right - rect_.left);
        if (height < 0) return false;
        *bottom = rect_.top + height;
        return true;
    }
    bool Fits(std::size_t count, bool* fits) {
        long bottom = 0;
        if (!Bottom(count, &bottom)) return false;
        *fits = bottom <= rect_.bottom;
        return true;
    }

private:
    TextMeasurer& measurer_;
    const char* start_;
    const PageRect& rect_;
    char* buffer_;
};

// The nearest break before `end` that leaves a non-empty piece, or 0. A CR LF pair is cut before
// its CR, so the piece never ends inside a line end.
std::size_t BreakBefore(const char* text, std::size_t end) {
    for (std::size_t i = end; i-- > 1;) {
        if (!IsBreak(text[i])) continue;
        if (text[i] == '\n' && text[i - 1] == '\r') return i - 1 > 0 ? i - 1 : 0;
        return i;
    }
    return 0;
}

// The longest prefix of at most `count` bytes that fits, but at least one byte.
bool LongestFittingPrefix(PieceProbe& probe, std::size_t count, std::size_t* length) {
    std::size_t low = 1, high = count; // invariant: the answer lies in [low, high)
    while (high - low > 1) {
        const std::size_t mid = low + (high - low) / 2;
        bool fits = false;
        if (!probe.Fits(mid, &fits)) return false;
        if (fits)
            low = mid;
        else
            high = mid;
    }
    *length = low;
    return true;
}

} // namespace

bool CountRects(long textHeight, long rectHeight, int* count) {
    if (!count || rectHeight <= 0) return false;
    if (textHeight <= rectHeight) {
        *count = 1;
        return true;
    }
    *count = static_cast<int>(textHeight / rectHeight + (textHeight % rectHeight ? 1 : 0));
    return true;
}

bool FitPiece(TextMeasurer& measurer, const char* source, std::size_t length, std::size_t position,
              const PageRect& rect, char* buffer, std::size_t size, std::size_t* piece) {
    if (!source || !buffer || !piece || size < 2 || position > length) return false;
    if (rect.bottom <= rect.top || rect.right <= rect.left) return false;
    const std::size_t remaining = length - position;
    const std::size_t most = std::min(size - 1, remaining);
    PieceProbe probe(measurer, source + position, rect, buffer);

    std::size_t count = size > remaining ? remaining : size / 2;
    long bottom = 0;
    if (!probe.Bottom(count, &bottom)) return false;
    while (bottom < rect.bottom && count < most) {
        count = std::min(count + kGrowStep, most);
        if (!probe.Bottom(count, &bottom)) return false;
    }
    while (bottom > rect.bottom) {
        const std::size_t cut = BreakBefore(buffer, count);
        if (cut == 0) {
            // One unbroken run: keep what fits, never nothing.
            if (!LongestFittingPrefix(probe, count, &count)) return false;
            probe.Bottom(count, &bottom);
            break;
        }
        count = cut;
        if (!probe.Bottom(count, &bottom)) return false;
    }
    // A piece the buffer (not the rectangle) ended stops before the word it would cut.
    if (bottom <= rect.bottom && count < remaining && !IsBreak(source[position + count])) {
        const std::size_t cut = BreakBefore(buffer, count);
        if (cut > 0) {
            count = cut;
            buffer[count] = '\0';
        }
    }
    *piece = count;
    return true;
}

} // namespace lx::print
