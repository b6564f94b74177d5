#include "spellcheck/core/userdict.h"
#include "spellcheck/core/textchars.h"

#include <cstdio>
#include <fstream>

namespace lx::spell {

void UserDictionary::Load(const std::string& path) {
    path_ = path;
    words_.clear();
    byFolded_.clear();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (!line.empty()) Remember(Normalize(line));
    }
}

void UserDictionary::Remember(std::string word) {
    auto& indices = byFolded_[Fold(word)];
    for (size_t i : indices)
        if (words_[i] == word) return;
    indices.push_back(words_.size());
    words_.push_back(std::move(word));
}

bool UserDictionary::Add(std::string_view typed) {
    const std::string word = Normalize(typed);
    if (word.empty() || word.find_first_of("\r\n") != std::string::npos) return false;
    const size_t before = words_.size();
    Remember(word);
    if (words_.size() == before) return true; // already there
    if (path_.empty()) return false;
    std::FILE* f = std::fopen(path_.c_str(), "ab");
    if (!f) return false;
    const std::string line = word + "\r\n";
    const bool written = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    return std::fclose(f) == 0 && written;
}

bool UserDictionary::Accepts(std::string_view word, bool sentenceStart) const {
    const auto it = byFolded_.find(Fold(word));
    if (it == byFolded_.end()) return false;
    for (size_t i : it->second)
        if (CaseMatches(words_[i], word, sentenceStart)) return true;
    return false;
}

} // namespace lx::spell
