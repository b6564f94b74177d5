// The checker: the loaded lexicons, the user dictionary and the words ignored for the run.
#pragma once
#include "spellcheck/core/lexicon.h"
#include "spellcheck/core/textchars.h"
#include "spellcheck/core/userdict.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace lx::spell {

// The file names of a lexicon list ("a.tlx,b.clx;c.tlx"), spaces around them dropped.
std::vector<std::string> SplitLexiconList(std::string_view list);
// `name` resolved against `folder` unless it is a full path already.
std::string ResolveIn(const std::string& folder, const std::string& name);

class Speller {
public:
    // Loads the lexicon files (word lists and correction tables, told apart by their
    // contents). All must load and one at least must be a word list; otherwise `error` says
    // why and the lexicons loaded before stay in use.
    bool SetLexiconFiles(const std::vector<std::string>& paths, std::string* error);
    bool HasLexicon() const { return !wordLists_.empty(); }

    void LoadUserDictionary(const std::string& path) { user_.Load(path); }
    const UserDictionary& User() const { return user_; }

    bool IsCorrect(std::string_view word, bool sentenceStart) const;
    std::vector<std::string> Suggest(std::string_view word, size_t max) const;

    void IgnoreAll(std::string_view word) { ignored_.insert(Normalize(word)); }
    // Into the user dictionary; false when its file could not be written.
    bool Add(std::string_view word) { return user_.Add(word); }

private:
    bool InLexicons(std::string_view word, bool sentenceStart) const;

    std::vector<std::unique_ptr<Lexicon>> wordLists_;
    std::vector<std::unique_ptr<Lexicon>> corrections_;
    UserDictionary user_;
    std::unordered_set<std::string> ignored_;
};

} // namespace lx::spell
