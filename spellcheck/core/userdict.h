// The user's own words (Add): a plain text file, one word a line, in Windows-1252, kept in the
// checker's installation folder. A word added is written at once, so it survives the run.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lx::spell {

class UserDictionary {
public:
    // Reads the words of `path`; a missing file is an empty dictionary.
    void Load(const std::string& path);
    const std::string& Path() const { return path_; }
    // Adds the word and appends it to the file; false when the file could not be written
    // (the word is still accepted for this run).
    bool Add(std::string_view word);
    bool Accepts(std::string_view word, bool sentenceStart) const;
    const std::vector<std::string>& Words() const { return words_; }

private:
    std::string path_;
    std::vector<std::string> words_;
    std::unordered_map<std::string, std::vector<size_t>> byFolded_;
    void Remember(std::string word);
};

} // namespace lx::spell
