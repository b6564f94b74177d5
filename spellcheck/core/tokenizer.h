// Words of a text, in order, with their offsets: what the checker looks up. Runs of letters
// with apostrophes inside them ("don't"); tokens holding digits or underscores, e-mail
// addresses, URLs and host names are passed over whole.
#pragma once
#include <cstddef>
#include <string_view>

namespace lx::spell {

struct TextWord {
    size_t begin = 0;
    size_t length = 0;
    // First word of the text, of a line, or after a full stop, question or exclamation mark.
    bool sentenceStart = false;
    // Follows a capitalised word of the same line with nothing but spaces or hyphens between:
    // part of a title or a name ("General Public License", "Kind Regards").
    bool afterCapital = false;
    // Where a capitalised form of a lower-case word is in order.
    bool CapitalAllowed() const { return sentenceStart || afterCapital; }
};

class WordScanner {
public:
    // Scans `text` (which must outlive the scanner) from `from`; `sentenceStart` says whether
    // the first word found there begins a sentence (true at the start of a text).
    explicit WordScanner(std::string_view text, size_t from = 0, bool sentenceStart = true)
        : text_(text), pos_(from), sentenceStart_(sentenceStart) {}

    // The next word; false at the end of the text.
    bool Next(TextWord* word);
    size_t Position() const { return pos_; }
    bool AtSentenceStart() const { return sentenceStart_; }
    // Continues from `pos` with the given sentence state (after the text was changed).
    void Seek(size_t pos, bool sentenceStart) {
        pos_ = pos;
        sentenceStart_ = sentenceStart;
        afterCapital_ = false;
        inChunk_ = false;
    }

private:
    // The next whitespace-separated chunk from pos_; false at the end.
    bool NextChunk(size_t* begin, size_t* end);
    // Words inside the chunk [chunkPos_, chunkEnd_).
    bool NextInChunk(TextWord* word);

    std::string_view text_;
    size_t pos_;
    bool sentenceStart_;
    bool afterCapital_ = false;
    size_t chunkStart_ = 0, chunkPos_ = 0, chunkEnd_ = 0;
    bool inChunk_ = false;
};

// Is the chunk (text between whitespace) an address or link the checker passes over?
bool IsAddressOrLink(std::string_view chunk);

} // namespace lx::spell
