// One run of the spelling dialog over a text: walks it word by word, stops at each word the
// checker does not accept, and changes the text as the user answers. The changes are kept as
// edits for the caller to make in the edit control, in order.
#pragma once
#include "spellcheck/core/speller.h"
#include "spellcheck/core/tokenizer.h"

#include <map>
#include <string>
#include <vector>

namespace lx::spell {

struct TextEdit {
    size_t begin = 0;  // offset in the text as it was before this edit
    size_t length = 0; // characters replaced
    std::string text;  // their replacement
};

class CheckSession {
public:
    CheckSession(Speller& speller, std::string text)
        : speller_(speller), text_(std::move(text)), scanner_(text_) {}
    CheckSession(const CheckSession&) = delete;
    CheckSession& operator=(const CheckSession&) = delete;

    // Moves to the next misspelled word, making the Replace All changes met on the way;
    // false when the end of the text is reached.
    bool FindNext();
    const TextWord& Current() const { return current_; }
    std::string CurrentWord() const { return text_.substr(current_.begin, current_.length); }
    const std::string& Text() const { return text_; }

    // Answers for the current word; FindNext() moves on afterwards.
    void Ignore() {}
    void IgnoreAll() { speller_.IgnoreAll(CurrentWord()); }
    bool Add() { return speller_.Add(CurrentWord()); }
    void Replace(const std::string& with);
    void ReplaceAll(const std::string& with);

    std::vector<std::string> Suggestions(const std::string& word, size_t max) const {
        return speller_.Suggest(word, max);
    }
    const std::string& UserDictionaryPath() const { return speller_.User().Path(); }

    // The edits made since the last call.
    std::vector<TextEdit> TakeEdits();

private:
    void ReplaceAt(const TextWord& word, const std::string& with);

    Speller& speller_;
    std::string text_;
    WordScanner scanner_;
    TextWord current_;
    std::map<std::string, std::string> replaceAll_;
    std::vector<TextEdit> edits_;
};

} // namespace lx::spell
