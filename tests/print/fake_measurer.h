// A monospaced text layout for the pagination tests: every byte is `charWidth` wide, every line
// `lineHeight` high. Lines end at CR LF, CR or LF; a line wraps at blanks and tabs, and a word
// wider than the column is broken where the column ends, as the printer's layout does.
#pragma once
#include "printengine/core/paginate.h"

#include <string>
#include <vector>

namespace lx::print::test {

class FakeMeasurer : public TextMeasurer {
public:
    FakeMeasurer(long charWidth, long lineHeight)
        : charWidth_(charWidth), lineHeight_(lineHeight) {}

    long WrappedHeight(const char* text, std::size_t length, long width) override {
        calls.push_back(length);
        return Lines(std::string(text, length), width / charWidth_) * lineHeight_;
    }
    // Lines of `text` in a column of `columns` characters.
    static long Lines(const std::string& text, long columns);
    bool LinesAddUp() const override { return linesAddUp; }

    bool linesAddUp = false;

    std::vector<std::size_t> calls; // the length of every measured piece

private:
    long charWidth_;
    long lineHeight_;
};

} // namespace lx::print::test
