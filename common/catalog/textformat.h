// Checked printf-style formatting of catalogue texts. A catalogue is data, not code: its
// conversions are checked against the arguments before anything is formatted, so a text
// with a stray "%s" where a number is passed cannot read beyond the arguments.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace lx {

class FormatArg {
public:
    FormatArg(int v) : isText_(false), number_(v) {}
    FormatArg(long v) : isText_(false), number_(v) {}
    FormatArg(long long v) : isText_(false), number_(v) {}
    FormatArg(unsigned v) : isText_(false), number_(static_cast<long long>(v)) {}
    FormatArg(unsigned long v) : isText_(false), number_(static_cast<long long>(v)) {}
    FormatArg(unsigned long long v) : isText_(false), number_(static_cast<long long>(v)) {}
    FormatArg(const char* v) : isText_(true), text_(v ? v : "") {}
    FormatArg(const std::string& v) : isText_(true), text_(v) {}

    bool IsText() const { return isText_; }
    long long Number() const { return number_; }
    const std::string& Text() const { return text_; }

private:
    bool isText_;
    long long number_ = 0;
    std::string text_;
};

// Formats fmt with args. Accepts "%%", and conversions with flags "-+ #0" (for s and c
// only "-"; "#" only for x X o), a width and precision of at most two digits each (no
// precision for c), an optional "h", "l" or "ll", then d i u x X o c for a number or s for
// a text. False (out empty) when fmt is null, holds any other
// conversion, or its conversions do not match args one for one in count and kind.
bool FormatText(const char* fmt, const std::vector<FormatArg>& args, std::string& out);

// FormatText, or fallback when the text does not fit the arguments.
std::string FormatTextOr(const char* fmt, const std::vector<FormatArg>& args,
                         const std::string& fallback);

} // namespace lx
