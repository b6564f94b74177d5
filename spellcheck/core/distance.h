// Distances between a misspelled word and lexicon words, both lower case. The bounded count of
// edits admits candidates; the weighted distance ranks them by how likely the slip is.
#pragma once
#include <string_view>

namespace lx::spell {

// Edits (insert, delete, substitute, swap of neighbours, each 1) from `a` to `b`, or
// limit + 1 when there are more than `limit`.
int BoundedEditDistance(std::string_view a, std::string_view b, int limit);

// The same edits weighted in tenths: a missing or extra apostrophe 4, a doubled letter typed
// once or twice 5, a letter left out 6, a swap of neighbours 6, a neighbouring key or another
// vowel 7, an extra letter 8, any other substitution 10; an edit of the first letter costs 4
// more (people rarely get the first letter wrong).
int WeightedEditDistance(std::string_view typed, std::string_view word);

// Are the two letters neighbours on a QWERTY keyboard?
bool KeysAdjacent(unsigned char a, unsigned char b);

} // namespace lx::spell
