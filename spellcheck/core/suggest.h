// Suggestions for a misspelled word: the correction table's answer first, then the lexicon
// words within two edits, ranked by the weighted distance.
#pragma once
#include "spellcheck/core/lexicon.h"

#include <string>
#include <string_view>
#include <vector>

namespace lx::spell {

struct SuggestSources {
    std::vector<const Lexicon*> wordLists;
    std::vector<const Lexicon*> corrections;
    const std::vector<std::string>* userWords = nullptr;
};

// At most `max` suggestions for `word`, best first, in the case the word was typed in.
std::vector<std::string> Suggest(const SuggestSources& sources, std::string_view word, size_t max);

} // namespace lx::spell
