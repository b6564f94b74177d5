#include "spellcheck/core/speller.h"
#include "spellcheck/core/suggest.h"
#include "spellcheck/core/textchars.h"

namespace lx::spell {

std::vector<std::string> SplitLexiconList(std::string_view list) {
    std::vector<std::string> names;
    std::string name;
    auto flush = [&] {
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        if (!name.empty()) names.push_back(name);
        name.clear();
    };
    for (char c : list) {
        if (c == ',' || c == ';')
            flush();
        else if (!name.empty() || (c != ' ' && c != '\t'))
            name.push_back(c);
    }
    flush();
    return names;
}

std::string ResolveIn(const std::string& folder, const std::string& name) {
    const bool full = (!name.empty() && (name[0] == '\\' || name[0] == '/')) ||
                      (name.size() > 1 && name[1] == ':');
    if (full || folder.empty()) return name;
    const char last = folder.back();
    return folder + (last == '\\' || last == '/' ? "" : "\\") + name;
}

bool Speller::SetLexiconFiles(const std::vector<std::string>& paths, std::string* error) {
    std::vector<std::unique_ptr<Lexicon>> words, corrections;
    for (const std::string& path : paths) {
        auto lexicon = std::make_unique<Lexicon>();
        if (!lexicon->Load(path, error)) return false;
        (lexicon->Kind() == LexiconKind::Words ? words : corrections).push_back(std::move(lexicon));
    }
    if (words.empty()) {
        *error = "no word list among the lexicon files";
        return false;
    }
    wordLists_ = std::move(words);
    corrections_ = std::move(corrections);
    return true;
}

bool Speller::InLexicons(std::string_view word, bool sentenceStart) const {
    const std::string folded = Fold(word);
    for (const auto& lexicon : wordLists_)
        if (lexicon->ForEachFolded(folded, [&](const Lexicon::Entry& e) {
                return CaseMatches(e.word, word, sentenceStart);
            }))
            return true;
    return user_.Accepts(word, sentenceStart);
}

bool Speller::IsCorrect(std::string_view typed, bool sentenceStart) const {
    const std::string word = Normalize(typed);
    if (ignored_.count(word)) return true;
    if (InLexicons(word, sentenceStart)) return true;
    // A possessive of an accepted word ("Lorvex's" once "Lorvex" is added).
    const size_t n = word.size();
    if (n > 2 && word[n - 2] == '\'' && (word[n - 1] == 's' || word[n - 1] == 'S'))
        return InLexicons(std::string_view(word).substr(0, n - 2), sentenceStart);
    return false;
}

std::vector<std::string> Speller::Suggest(std::string_view word, size_t max) const {
    SuggestSources sources;
    for (const auto& l : wordLists_) sources.wordLists.push_back(l.get());
    for (const auto& l : corrections_) sources.corrections.push_back(l.get());
    sources.userWords = &user_.Words();
    return lx::spell::Suggest(sources, Normalize(word), max);
}

} // namespace lx::spell
