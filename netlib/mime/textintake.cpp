#include "netlib/mime/textintake.h"

namespace lx::mime {

bool hasHighBit(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] & 0x80) return true;
    return false;
}

bool hasWindowsByte(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] >= 0x80 && p[i] <= 0x9F) return true;
    return false;
}

const char* eightBitCharset(bool windowsBytes) {
    return windowsBytes ? "windows-1252" : "iso-8859-1";
}

void TextIntake::add(const std::uint8_t* p, std::size_t n, std::size_t limit, std::string& out) {
    if (limit == 0) limit = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = static_cast<char>(p[i]);
        if (afterCR_) {
            afterCR_ = false;
            if (c == '\n') continue; // the LF of a CR LF is taken over
        }
        if (c == '\r') {
            out += line_;
            out += "\r\n";
            line_.clear();
            afterCR_ = true;
            continue;
        }
        if (limit == kNoLineLimit) {
            out.push_back(c);
            continue;
        }
        if (line_.size() >= limit) {
            // A blank at the very start cannot end the line: breaking there would repeat forever.
            std::size_t blank = line_.find_last_of(' ');
            if (blank != std::string::npos && blank > 0) {
                out.append(line_, 0, blank);
                out += "\r\n";
                line_.erase(0, blank);
            } else {
                out += line_;
                out += "\r\n";
                line_.clear();
            }
        }
        line_.push_back(c);
    }
}

void TextIntake::finish(std::string& out) {
    out += line_;
    reset();
}

void TextIntake::reset() {
    line_.clear();
    afterCR_ = false;
}

} // namespace lx::mime
