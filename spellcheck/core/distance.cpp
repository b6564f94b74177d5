#include "spellcheck/core/distance.h"
#include "spellcheck/core/lexicon.h"

#include <algorithm>
#include <cstdlib>

namespace lx::spell {

namespace {

constexpr size_t kMaxLength = kMaxWordLength + 8;
// Costs in tenths of an edit. Letters left out are the commonest slip, then letters typed
// twice or swapped, neighbouring keys and vowels mixed up, extra letters; other substitutions
// are the least likely.
constexpr int kMissingLetter = 6;
constexpr int kExtraLetter = 8;
constexpr int kNear = 7;
constexpr int kVowel = 7;
constexpr int kSwap = 6;
constexpr int kFirst = 4;

bool IsVowel(unsigned char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

// Key position in quarter keys: rows are offset by a quarter and three quarters of a key.
bool KeyPosition(unsigned char c, int* x, int* y) {
    static const char* const rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const int offsets[] = {0, 1, 3};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; rows[r][k]; ++k)
            if (static_cast<unsigned char>(rows[r][k]) == c) {
                *x = 4 * k + offsets[r];
                *y = r;
                return true;
            }
    return false;
}

int SubstituteCost(unsigned char a, unsigned char b) {
    if (a == b) return 0;
    if (KeysAdjacent(a, b)) return kNear;
    if (IsVowel(a) && IsVowel(b)) return kVowel;
    return 10;
}

// Cost of the letter at `i` of `s` being extra (or missing): cheaper when it doubles a
// neighbour or is an apostrophe.
int InsertDeleteCost(std::string_view s, size_t i, int cost) {
    const char c = s[i];
    if (c == '\'') return 4;
    if ((i > 0 && s[i - 1] == c) || (i + 1 < s.size() && s[i + 1] == c)) return 5;
    return cost;
}

} // namespace

bool KeysAdjacent(unsigned char a, unsigned char b) {
    int ax, ay, bx, by;
    if (a == b || !KeyPosition(a, &ax, &ay) || !KeyPosition(b, &bx, &by)) return false;
    if (ay == by) return std::abs(ax - bx) == 4;
    return std::abs(ay - by) == 1 && std::abs(ax - bx) <= 3;
}

int BoundedEditDistance(std::string_view a, std::string_view b, int limit) {
    const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    if (n >= static_cast<int>(kMaxLength) || m >= static_cast<int>(kMaxLength)) return limit + 1;
    const int far = limit + 1;
    int rows[3][kMaxLength + 1];
    int* prev2 = rows[0];
    int* prev = rows[1];
    int* cur = rows[2];
    for (int j = 0; j <= m; ++j) prev[j] = std::min(j, far);
    for (int i = 1; i <= n; ++i) {
        cur[0] = std::min(i, far);
        int best = cur[0];
        // Only the band |i - j| <= limit can stay within the limit.
        const int from = std::max(1, i - limit), to = std::min(m, i + limit);
        if (from > 1) cur[from - 1] = far;
        for (int j = from; j <= to; ++j) {
            int d = prev[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d = std::min(d, prev[j] + 1);
            d = std::min(d, cur[j - 1] + 1);
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, prev2[j - 2] + 1);
            cur[j] = std::min(d, far);
            best = std::min(best, cur[j]);
        }
        if (to < m) cur[to + 1] = far;
        if (best > limit) return far;
        int* t = prev2;
        prev2 = prev;
        prev = cur;
        cur = t;
    }
    return std::min(prev[m], far);
}

int WeightedEditDistance(std::string_view typed, std::string_view word) {
    const size_t n = std::min(typed.size(), kMaxLength), m = std::min(word.size(), kMaxLength);
    static_assert(kMaxLength < 80, "distance table on the stack");
    int d[kMaxLength + 1][kMaxLength + 1];
    auto firstLetter = [](size_t i) { return i == 1 ? kFirst : 0; };
    d[0][0] = 0;
    for (size_t i = 1; i <= n; ++i)
        d[i][0] = d[i - 1][0] + InsertDeleteCost(typed, i - 1, kExtraLetter) + firstLetter(i);
    for (size_t j = 1; j <= m; ++j)
        d[0][j] = d[0][j - 1] + InsertDeleteCost(word, j - 1, kMissingLetter) + firstLetter(j);
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            const unsigned char a = static_cast<unsigned char>(typed[i - 1]);
            const unsigned char b = static_cast<unsigned char>(word[j - 1]);
            int best =
                d[i - 1][j - 1] + SubstituteCost(a, b) + (a != b && i == 1 && j == 1 ? kFirst : 0);
            best = std::min(best, d[i - 1][j] + InsertDeleteCost(typed, i - 1, kExtraLetter) +
                                      firstLetter(i));
            best = std::min(best, d[i][j - 1] + InsertDeleteCost(word, j - 1, kMissingLetter) +
                                      firstLetter(j));
            if (i > 1 && j > 1 && typed[i - 1] == word[j - 2] && typed[i - 2] == word[j - 1] &&
                typed[i - 1] != typed[i - 2])
                best = std::min(best, d[i - 2][j - 2] + kSwap);
            d[i][j] = best;
        }
    }
    return d[n][m];
}

} // namespace lx::spell
