#include "spellcheck/core/checksession.h"

namespace lx::spell {

bool CheckSession::FindNext() {
    TextWord word;
    while (scanner_.Next(&word)) {
        const std::string typed = text_.substr(word.begin, word.length);
        const auto change = replaceAll_.find(typed);
        if (change != replaceAll_.end()) {
            ReplaceAt(word, change->second);
            continue;
        }
        if (!speller_.IsCorrect(typed, word.CapitalAllowed())) {
            current_ = word;
            return true;
        }
    }
    return false;
}

void CheckSession::ReplaceAt(const TextWord& word, const std::string& with) {
    edits_.push_back({word.begin, word.length, with});
    text_.replace(word.begin, word.length, with);
    // The scanner goes on after the replacement (its words are the user's choice, not
    // checked again); the text may have moved, so it restarts at the new offset.
    scanner_ = WordScanner(text_, word.begin + with.size(), false);
}

void CheckSession::Replace(const std::string& with) { ReplaceAt(current_, with); }

void CheckSession::ReplaceAll(const std::string& with) {
    replaceAll_[CurrentWord()] = with;
    ReplaceAt(current_, with);
}

std::vector<TextEdit> CheckSession::TakeEdits() {
    std::vector<TextEdit> out;
    out.swap(edits_);
    return out;
}

} // namespace lx::spell
