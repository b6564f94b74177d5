#include "spellcheck/core/tokenizer.h"
#include "spellcheck/core/textchars.h"

namespace lx::spell {

namespace {

bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == 0xA0;
}

// Characters that may make up a token: letters, digits, apostrophes and underscores.
bool IsTokenChar(unsigned char c) {
    return IsLetter(c) || IsDigit(c) || IsApostrophe(c) || c == '_';
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (ToLower(static_cast<unsigned char>(s[i])) != static_cast<unsigned char>(prefix[i]))
            return false;
    return true;
}

// Sentence ends: '.', '!' or '?', possibly followed by closing quotes or brackets.
bool EndsSentence(std::string_view chunk) {
    size_t i = chunk.size();
    while (i > 0 && (chunk[i - 1] == '"' || chunk[i - 1] == ')' || chunk[i - 1] == ']' ||
                     IsApostrophe(static_cast<unsigned char>(chunk[i - 1])) ||
                     static_cast<unsigned char>(chunk[i - 1]) == 0x94))
        --i;
    return i > 0 && (chunk[i - 1] == '.' || chunk[i - 1] == '!' || chunk[i - 1] == '?');
}

} // namespace

bool IsAddressOrLink(std::string_view chunk) {
    // Leading punctuation such as "<" or "(" around an address.
    while (!chunk.empty() && !IsTokenChar(static_cast<unsigned char>(chunk.front())))
        chunk.remove_prefix(1);
    if (chunk.find("://") != std::string_view::npos) return true;
    if (StartsWithNoCase(chunk, "www.") || StartsWithNoCase(chunk, "mailto:")) return true;
    for (size_t i = 1; i + 1 < chunk.size(); ++i) {
        const unsigned char before = static_cast<unsigned char>(chunk[i - 1]);
        const unsigned char after = static_cast<unsigned char>(chunk[i + 1]);
        // user@host
        if (chunk[i] == '@' && IsTokenChar(before) && IsTokenChar(after)) return true;
        // host.name, file.ext: a dot between letters with at least two letters after it
        // ("example.com", not "e.g." nor the end of a sentence).
        if (chunk[i] == '.' && IsLetter(before) && IsLetter(after) && i + 2 < chunk.size() &&
            IsLetter(static_cast<unsigned char>(chunk[i + 2])))
            return true;
    }
    return false;
}

bool WordScanner::NextChunk(size_t* begin, size_t* end) {
    while (pos_ < text_.size() && IsSpace(static_cast<unsigned char>(text_[pos_]))) {
        if (text_[pos_] == '\n' || text_[pos_] == '\r') {
            sentenceStart_ = true;
            afterCapital_ = false;
        }
        ++pos_;
    }
    if (pos_ >= text_.size()) return false;
    *begin = pos_;
    while (pos_ < text_.size() && !IsSpace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    *end = pos_;
    return true;
}

bool WordScanner::NextInChunk(TextWord* word) {
    while (chunkPos_ < chunkEnd_) {
        const unsigned char c = static_cast<unsigned char>(text_[chunkPos_]);
        if (!IsTokenChar(c)) {
            if (c != '-') afterCapital_ = false;
            ++chunkPos_;
            continue;
        }
        size_t begin = chunkPos_;
        bool skip = false;
        while (chunkPos_ < chunkEnd_ && IsTokenChar(static_cast<unsigned char>(text_[chunkPos_]))) {
            const unsigned char t = static_cast<unsigned char>(text_[chunkPos_]);
            if (IsDigit(t) || t == '_') skip = true;
            ++chunkPos_;
        }
        size_t end = chunkPos_;
        // Apostrophes belong to a word only inside it: quotes around it are not part of it.
        while (begin < end && IsApostrophe(static_cast<unsigned char>(text_[begin]))) ++begin;
        while (end > begin && IsApostrophe(static_cast<unsigned char>(text_[end - 1]))) --end;
        if (begin == end) continue;
        const bool start = sentenceStart_, afterCapital = afterCapital_;
        sentenceStart_ = false;
        afterCapital_ = !skip && IsUpper(static_cast<unsigned char>(text_[begin]));
        if (skip) continue;
        word->begin = begin;
        word->length = end - begin;
        word->sentenceStart = start;
        word->afterCapital = afterCapital;
        return true;
    }
    return false;
}

bool WordScanner::Next(TextWord* word) {
    for (;;) {
        if (inChunk_) {
            if (NextInChunk(word)) return true;
            inChunk_ = false;
            if (EndsSentence(text_.substr(chunkStart_, chunkEnd_ - chunkStart_)))
                sentenceStart_ = true;
            pos_ = chunkEnd_;
        }
        size_t begin = 0, end = 0;
        if (!NextChunk(&begin, &end)) return false;
        if (IsAddressOrLink(text_.substr(begin, end - begin))) {
            sentenceStart_ = afterCapital_ = false;
            continue;
        }
        chunkStart_ = chunkPos_ = begin;
        chunkEnd_ = end;
        inChunk_ = true;
    }
}

} // namespace lx::spell
