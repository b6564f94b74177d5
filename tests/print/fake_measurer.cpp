#include "tests/print/fake_measurer.h"

namespace lx::print::test {

namespace {
// Lines one source line (no line ends in it) takes when wrapped.
long WrappedLines(const std::string& line, long columns) {
    if (columns < 1) columns = 1;
    long lines = 1, used = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        const bool blank = line[i] == ' ' || line[i] == '\t';
        std::size_t end = i + 1;
        if (!blank)
            while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        long width = static_cast<long>(end - i);
        if (blank) {
            // Blanks at the end of a line hang past the edge and take no new line.
            if (used < columns) ++used;
        } else {
            if (used > 0 && used + width > columns) {
                ++lines;
                used = 0;
            }
            while (width > columns) { // a word wider than the column is broken
                width -= columns;
                ++lines;
            }
            used += width;
        }
        i = end;
    }
    return lines;
}
} // namespace

long FakeMeasurer::Lines(const std::string& text, long columns) {
    if (text.empty()) return 0;
    long lines = 0;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find_first_of("\r\n", start);
        lines +=
            WrappedLines(text.substr(start, end == std::string::npos ? end : end - start), columns);
        if (end == std::string::npos) break;
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        if (start >= text.size()) break; // a final line end opens no empty line
    }
    return lines;
}

} // namespace lx::print::test
