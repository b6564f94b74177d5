// Helpers of the spell checker's tests: the built lexicons and a scratch folder.
#pragma once
#include "spellcheck/core/speller.h"

#include <cstdlib>
#include <string>

namespace lxtest {

// A lexicon file of the build (in its bin folder, beside the program).
inline std::string BuiltLexicon(const char* name) {
    const char* build = std::getenv("LX_BINARY_DIR");
    return std::string(build ? build : ".") + "/bin/" + name;
}

// A checker with the American or British lexicon list as the program names them.
inline bool LoadEnglish(lx::spell::Speller& speller, bool american) {
    std::string error;
    const char* names[] = {american ? "ssceam.tlx" : "sscebr.tlx",
                           american ? "ssceam2.clx" : "sscebr2.clx", "correct.tlx"};
    std::vector<std::string> paths;
    for (const char* n : names) paths.push_back(BuiltLexicon(n));
    return speller.SetLexiconFiles(paths, &error);
}

} // namespace lxtest
