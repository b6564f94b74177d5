#include "spellcheck/core/wordlist.h"

#include <fstream>

namespace lx::spell {

namespace {

// Windows-1252's characters at 0x80-0x9F that are letters or the typographic apostrophe.
struct Special {
    unsigned code;
    unsigned char byte;
};
constexpr Special kSpecials[] = {{0x160, 0x8A}, {0x152, 0x8C}, {0x17D, 0x8E}, {0x161, 0x9A},
                                 {0x153, 0x9C}, {0x17E, 0x9E}, {0x178, 0x9F}, {0x2019, 0x92}};

void TrimLine(std::string& line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
}

} // namespace

bool Utf8ToAnsi(std::string_view utf8, std::string* ansi) {
    ansi->clear();
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code = 0;
        size_t extra = 0;
        if (c < 0x80) {
            code = c;
        } else if ((c & 0xE0) == 0xC0) {
            code = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else {
            return false;
        }
        if (i + extra >= utf8.size()) return false; // a sequence cut short
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(utf8[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            code = (code << 6) | (t & 0x3F);
        }
        i += 1 + extra;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            ansi->push_back(static_cast<char>(code));
            continue;
        }
        bool found = false;
        for (const Special& s : kSpecials)
            if (s.code == code) {
                ansi->push_back(static_cast<char>(s.byte));
                found = true;
            }
        if (!found) return false;
    }
    return true;
}

bool ReadWordList(const std::string& path, std::vector<std::string>* words, size_t* skipped,
                  std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    *skipped = 0;
    std::string line, ansi;
    while (std::getline(in, line)) {
        TrimLine(line);
        if (line.empty()) continue;
        if (Utf8ToAnsi(line, &ansi))
            words->push_back(ansi);
        else
            ++*skipped;
    }
    return true;
}

bool ReadCorrections(const std::string& path,
                     std::vector<std::pair<std::string, std::string>>* pairs, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        TrimLine(line);
        if (line.empty() || line[0] == '#') continue;
        // The misspelling, then its correction: the rest of the line (it may be two words).
        const size_t gap = line.find_first_of(" \t");
        const size_t right = gap == std::string::npos ? gap : line.find_first_not_of(" \t", gap);
        std::string wrongAnsi, rightAnsi;
        if (right == std::string::npos || !Utf8ToAnsi(line.substr(0, gap), &wrongAnsi) ||
            !Utf8ToAnsi(line.substr(right), &rightAnsi)) {
            *error =
                path + ":" + std::to_string(number) + ": expected a misspelling and its correction";
            return false;
        }
        pairs->emplace_back(wrongAnsi, rightAnsi);
    }
    return true;
}

} // namespace lx::spell
