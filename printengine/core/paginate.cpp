#include "printengine/core/paginate.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

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
        const long height = measurer_.LinesAddUp()
                                ? SumOfLines(count)
                                : measurer_.WrappedHeight(buffer_, count, Width());
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
    long Width() const { return rect_.right - rect_.left; }

    // Every probe copies the same source, so a line keeps its height from probe to probe.
    long LineHeight(std::size_t from, std::size_t length) {
        if (length == 0) {
            // An empty line is as high as a blank.
            if (blankLine_ < 0) blankLine_ = measurer_.WrappedHeight(" ", 1, Width());
            return blankLine_;
        }
        const auto key = std::make_pair(from, length);
        auto found = lines_.find(key);
        if (found != lines_.end()) return found->second;
        const long height = measurer_.WrappedHeight(buffer_ + from, length, Width());
        if (height >= 0) lines_.emplace(key, height);
        return height;
    }

    long SumOfLines(std::size_t count) {
        long total = 0;
        for (std::size_t from = 0; from < count;) {
            std::size_t end = from;
            while (end < count && buffer_[end] != '\r' && buffer_[end] != '\n') ++end;
            const long height = LineHeight(from, end - from);
            if (height < 0) return -1;
            total += height;
            if (end == count) break;
            end += (buffer_[end] == '\r' && end + 1 < count && buffer_[end + 1] == '\n') ? 2 : 1;
            from = end;
        }
        return total;
    }

    TextMeasurer& measurer_;
    const char* start_;
    const PageRect& rect_;
    char* buffer_;
    std::map<std::pair<std::size_t, std::size_t>, long> lines_;
    long blankLine_ = -1;
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
