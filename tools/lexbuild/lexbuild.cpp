// Builds a lexicon file of the spell checker from text sources at build time.
//   lexbuild words OUTPUT WORDLIST...      word lists (one word a line, UTF-8) merged
//   lexbuild corrections OUTPUT TABLE      "misspelling correction" lines
// Fails with a message, leaving no output file, when a source cannot be read.
#include "spellcheck/core/lexicon.h"
#include "spellcheck/core/wordlist.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: lexbuild words OUTPUT WORDLIST...\n"
                         "       lexbuild corrections OUTPUT TABLE\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "lexbuild: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace lx::spell;
    if (argc < 4) return Usage();
    const bool words = std::strcmp(argv[1], "words") == 0;
    if (!words && (std::strcmp(argv[1], "corrections") != 0 || argc != 4)) return Usage();
    const std::string output = argv[2];
    std::vector<std::pair<std::string, std::string>> entries;
    std::string error;
    if (words) {
        for (int i = 3; i < argc; ++i) {
            std::vector<std::string> list;
            size_t skipped = 0;
            if (!ReadWordList(argv[i], &list, &skipped, &error)) return Fail(error);
            if (skipped)
                std::fprintf(stderr, "lexbuild: %s: %zu words not in Windows-1252 left out\n",
                             argv[i], skipped);
            for (std::string& w : list) entries.emplace_back(std::move(w), std::string());
        }
    } else if (!ReadCorrections(argv[3], &entries, &error)) {
        return Fail(error);
    }
    const std::vector<uint8_t> bytes =
        BuildLexicon(words ? LexiconKind::Words : LexiconKind::Corrections, std::move(entries));
    // Written under a temporary name and renamed: a failed run leaves no half file.
    const std::string temp = output + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return Fail("cannot write " + temp);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written || std::rename(temp.c_str(), output.c_str()) != 0) {
        std::remove(temp.c_str());
        return Fail("cannot write " + output);
    }
    return 0;
}
