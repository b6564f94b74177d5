#include "spellcheck/core/suggest.h"
#include "spellcheck/core/distance.h"
#include "spellcheck/core/textchars.h"

#include <algorithm>
#include <unordered_map>

namespace lx::spell {

namespace {

constexpr int kMaxEdits = 2;
constexpr int kProperNounPenalty = 2; // "Ted" ranks after "the" for a lower-case "teh"
constexpr int kSplitScore = 21;       // "thankyou" -> "thank you": after the edits of a word
constexpr size_t kFewCandidates = 3;  // fewer within two edits: look further

// The fallback by letter pairs: for words of five letters or more, lexicon words up to three
// letters longer or shorter that share at least this share of their letter pairs.
constexpr size_t kSimilarFrom = 5;
constexpr int kSimilarReach = 3;
constexpr int kSimilarPercent = 55;
constexpr int kSimilarBase = 30;
constexpr size_t kSimilarKept = 5;
constexpr size_t kPairSlots = 64 * 64;

// Letter pairs of "^word$" as numbers below kPairSlots.
std::vector<int> Pairs(const std::string& folded) {
    std::vector<int> out;
    int prev = 0;
    for (unsigned char c : folded) {
        const int code = 1 + (c % 62);
        out.push_back(prev * 64 + code);
        prev = code;
    }
    out.push_back(prev * 64 + 63);
    return out;
}

int Popcount(uint32_t v) {
    int n = 0;
    for (; v; v &= v - 1) ++n;
    return n;
}

class Ranking {
public:
    Ranking(std::string_view typed) : typed_(Fold(Normalize(typed))), mask_(LetterMask(typed_)) {}

    const std::string& Typed() const { return typed_; }

    void Offer(std::string_view word, int score) {
        auto [it, added] = scores_.emplace(std::string(word), score);
        if (!added && score < it->second) it->second = score;
    }

    // A lexicon word: admitted within kMaxEdits, scored by the weighted distance.
    void Consider(std::string_view word, uint32_t mask) {
        // Each edit brings in or takes out at most one letter.
        if (Popcount(mask & ~mask_) > kMaxEdits || Popcount(mask_ & ~mask) > kMaxEdits) return;
        char folded[kMaxWordLength];
        for (size_t i = 0; i < word.size(); ++i)
            folded[i] = static_cast<char>(ToLower(static_cast<unsigned char>(word[i])));
        const std::string_view f(folded, word.size());
        if (BoundedEditDistance(typed_, f, kMaxEdits) > kMaxEdits) return;
        int score = WeightedEditDistance(typed_, f);
        if (ShapeOf(word) != CaseShape::Lower) score += kProperNounPenalty;
        Offer(word, score);
    }

    size_t Count() const { return scores_.size(); }

    // Words too far off for two edits that share most of their letter pairs with the typed
    // word ("algorhytmic" -> "algorithmic"): ranked after every edit-distance candidate.
    void ConsiderSimilar(const Lexicon& lexicon) {
        const size_t n = typed_.size();
        if (n < kSimilarFrom) return;
        std::vector<int> counts(kPairSlots, 0);
        const std::vector<int> typedPairs = Pairs(typed_);
        for (int p : typedPairs) ++counts[p];
        std::vector<std::pair<int, size_t>> best; // (score, entry index)
        for (size_t length = n - kSimilarReach;
             length <= n + kSimilarReach && length <= kMaxWordLength; ++length) {
            const auto [first, last] = lexicon.WithLength(length);
            for (size_t i = first; i < last; ++i) {
                const uint32_t mask = lexicon.Mask(i);
                if (Popcount(mask & ~mask_) > kSimilarReach ||
                    Popcount(mask_ & ~mask) > kSimilarReach)
                    continue;
                const std::string f = Fold(lexicon.At(i).word);
                const std::vector<int> pairs = Pairs(f);
                int common = 0;
                for (int p : pairs)
                    if (counts[p] > 0) --counts[p], ++common;
                for (int p : pairs) counts[p] = 0;
                for (int p : typedPairs) counts[p] = 0;
                for (int p : typedPairs) ++counts[p];
                const int percent = 200 * common / int(typedPairs.size() + pairs.size());
                if (percent < kSimilarPercent) continue;
                int score = kSimilarBase + (100 - percent) / 2;
                if (f[0] != typed_[0]) score += 5;
                best.emplace_back(score, i);
            }
        }
        std::sort(best.begin(), best.end());
        for (size_t k = 0; k < best.size() && k < kSimilarKept; ++k) {
            const std::string_view word = lexicon.At(best[k].second).word;
            Offer(word,
                  best[k].first + (ShapeOf(word) != CaseShape::Lower ? kProperNounPenalty : 0));
        }
    }

    std::vector<std::string> Best(std::string_view typedAsIs, size_t max) const {
        std::vector<std::pair<std::string, int>> all(scores_.begin(), scores_.end());
        const size_t n = typed_.size();
        auto lengthGap = [n](const std::string& w) {
            return w.size() > n ? w.size() - n : n - w.size();
        };
        std::sort(all.begin(), all.end(), [&](const auto& a, const auto& b) {
            if (a.second != b.second) return a.second < b.second;
            if (lengthGap(a.first) != lengthGap(b.first))
                return lengthGap(a.first) < lengthGap(b.first);
            return a.first < b.first;
        });
        std::vector<std::string> out;
        for (const auto& [word, score] : all) {
            std::string shown = InCaseOf(word, typedAsIs);
            if (std::find(out.begin(), out.end(), shown) == out.end()) out.push_back(shown);
            if (out.size() == max) break;
        }
        return out;
    }

private:
    std::string typed_;
    uint32_t mask_;
    std::unordered_map<std::string, int> scores_;
};

bool IsLowerWord(const SuggestSources& sources, std::string_view folded) {
    for (const Lexicon* lexicon : sources.wordLists)
        if (lexicon->ForEachFolded(folded,
                                   [&](const Lexicon::Entry& e) { return e.word == folded; }))
            return true;
    return false;
}

} // namespace

std::vector<std::string> Suggest(const SuggestSources& sources, std::string_view word, size_t max) {
    Ranking ranking(word);
    const std::string& typed = ranking.Typed();
    if (typed.empty() || typed.size() > kMaxWordLength) return {};

    for (const Lexicon* table : sources.corrections)
        table->ForEachFolded(typed, [&](const Lexicon::Entry& e) {
            ranking.Offer(e.correction, 0);
            return false;
        });

    const size_t n = typed.size();
    const size_t shortest = n > kMaxEdits ? n - kMaxEdits : 1;
    for (const Lexicon* lexicon : sources.wordLists) {
        for (size_t length = shortest; length <= n + kMaxEdits && length <= kMaxWordLength;
             ++length) {
            const auto [first, last] = lexicon->WithLength(length);
            for (size_t i = first; i < last; ++i)
                ranking.Consider(lexicon->At(i).word, lexicon->Mask(i));
        }
    }
    if (sources.userWords)
        for (const std::string& w : *sources.userWords)
            if (w.size() <= kMaxWordLength) ranking.Consider(w, LetterMask(w));
    if (ranking.Count() < kFewCandidates)
        for (const Lexicon* lexicon : sources.wordLists) ranking.ConsiderSimilar(*lexicon);

    // Two words run together.
    for (size_t cut = 1; cut + 1 < n; ++cut) {
        const std::string_view left = std::string_view(typed).substr(0, cut);
        const std::string_view right = std::string_view(typed).substr(cut);
        if ((left.size() > 1 || left == "a") && right.size() > 1 && IsLowerWord(sources, left) &&
            IsLowerWord(sources, right))
            ranking.Offer(std::string(left) + " " + std::string(right), kSplitScore);
    }
    return ranking.Best(word, max);
}

} // namespace lx::spell
