// Spell checker benchmark, built natively: the same 32,000-character body checked and the same
// 1,000 real misspellings (codespell's table, less those our correction table knows) given
// suggestions, by our checker (lexicons ssceam.tlx + ssceam2.clx + correct.tlx) and by Hunspell
// (en_US), in interleaved rounds; medians, ratios, and how often the intended word comes first
// and among the first three.
// usage: spell_bench LEXICON_DIR BODY_TEXT MISSPELLINGS [ROUNDS]
#include "spellcheck/core/speller.h"
#include "spellcheck/core/textchars.h"
#include "spellcheck/core/tokenizer.h"
#include "spellcheck/core/wordlist.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using lx::spell::Speller;

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Typo {
    std::string wrong, right;
};

// codespell's "wrong->right" lines with one lower-case correction both checkers know, the
// misspelling unknown to both and absent from our correction table; 1,000 of them, spread
// evenly over the table.
std::vector<Typo> PickTypos(const std::string& path, Speller& ours, Hunspell& hun, size_t want,
                            const lx::spell::Lexicon& table) {
    std::ifstream in(path);
    std::string line;
    std::vector<Typo> all;
    auto plain = [](const std::string& w) {
        return !w.empty() &&
               std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    };
    while (std::getline(in, line)) {
        const size_t arrow = line.find("->");
        if (arrow == std::string::npos) continue;
        Typo t{line.substr(0, arrow), line.substr(arrow + 2)};
        while (!t.right.empty() && (t.right.back() == '\r' || t.right.back() == ' '))
            t.right.pop_back();
        if (!plain(t.wrong) || !plain(t.right) || t.wrong.size() < 3) continue;
        if (!ours.IsCorrect(t.right, false) || !hun.spell(t.right)) continue;
        if (ours.IsCorrect(t.wrong, false) || hun.spell(t.wrong)) continue;
        if (table.ForEachFolded(t.wrong, [](const lx::spell::Lexicon::Entry&) { return true; }))
            continue; // our correction table knows it
        all.push_back(t);
    }
    std::vector<Typo> picked;
    const double stride = all.size() > want ? double(all.size()) / want : 1.0;
    for (size_t i = 0; i < want && size_t(i * stride) < all.size(); ++i)
        picked.push_back(all[size_t(i * stride)]);
    return picked;
}

struct Words {
    std::vector<std::string> text;
    std::vector<bool> sentenceStart;
};

Words Tokens(const std::string& body) {
    Words w;
    lx::spell::WordScanner scanner(body);
    lx::spell::TextWord t;
    while (scanner.Next(&t)) {
        w.text.push_back(body.substr(t.begin, t.length));
        w.sentenceStart.push_back(t.CapitalAllowed());
    }
    return w;
}

size_t Rank(const std::vector<std::string>& s, const std::string& right) {
    const auto it = std::find(s.begin(), s.end(), right);
    return it == s.end() ? SIZE_MAX : size_t(it - s.begin());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: spell_bench LEXICON_DIR BODY_TEXT MISSPELLINGS [ROUNDS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    const std::string affix = "/usr/share/hunspell/en_US.aff",
                      dic = "/usr/share/hunspell/en_US.dic";

    std::string error;
    std::vector<double> loadOurs, loadHun;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        Speller s;
        if (!s.SetLexiconFiles({dir + "/ssceam.tlx", dir + "/ssceam2.clx", dir + "/correct.tlx"},
                               &error)) {
            std::fprintf(stderr, "spell_bench: %s\n", error.c_str());
            return 1;
        }
        auto t1 = Clock::now();
        Hunspell h(affix.c_str(), dic.c_str());
        auto t2 = Clock::now();
        loadOurs.push_back(Millis(t1 - t0));
        loadHun.push_back(Millis(t2 - t1));
    }
    Speller ours;
    ours.SetLexiconFiles({dir + "/ssceam.tlx", dir + "/ssceam2.clx", dir + "/correct.tlx"}, &error);
    // The correction table alone, to leave the misspellings it knows out of the sample.
    lx::spell::Lexicon table;
    table.Load(dir + "/correct.tlx", &error);
    Hunspell hun(affix.c_str(), dic.c_str());

    // The body: the first 32,000 characters of the text, in Windows-1252 as an edit control has it.
    std::string body;
    if (!lx::spell::Utf8ToAnsi(ReadFile(argv[2]), &body)) body = ReadFile(argv[2]);
    body.resize(std::min<size_t>(body.size(), 32000));
    const Words words = Tokens(body);

    const std::vector<Typo> typos = PickTypos(argv[3], ours, hun, 1000, table);

    std::vector<double> checkOurs, checkOursScan, checkHun, sugOurs, sugHun;
    size_t flaggedOurs = 0, flaggedHun = 0;
    std::vector<std::vector<std::string>> lastOurs(typos.size()), lastHun(typos.size());
    for (int r = 0; r < rounds; ++r) {
        // Interleaved: each round times both on the same input, alternating who goes first.
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + r) % 2 == 0) {
                auto t0 = Clock::now();
                size_t flagged = 0;
                for (size_t i = 0; i < words.text.size(); ++i)
                    flagged += !ours.IsCorrect(words.text[i], words.sentenceStart[i]);
                auto t1 = Clock::now();
                const Words again = Tokens(body); // the walk over the text as the dialog does it
                for (size_t i = 0; i < again.text.size(); ++i)
                    flagged += !ours.IsCorrect(again.text[i], again.sentenceStart[i]);
                auto t2 = Clock::now();
                flaggedOurs = flagged / 2;
                checkOurs.push_back(Millis(t1 - t0));
                checkOursScan.push_back(Millis(t2 - t1));
            } else {
                auto t0 = Clock::now();
                size_t flagged = 0;
                for (const std::string& w : words.text) flagged += !hun.spell(w);
                checkHun.push_back(Millis(Clock::now() - t0));
                flaggedHun = flagged;
            }
        }
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + r) % 2 == 0) {
                auto t0 = Clock::now();
                for (size_t i = 0; i < typos.size(); ++i)
                    lastOurs[i] = ours.Suggest(typos[i].wrong, 10);
                sugOurs.push_back(Millis(Clock::now() - t0));
            } else {
                auto t0 = Clock::now();
                for (size_t i = 0; i < typos.size(); ++i) lastHun[i] = hun.suggest(typos[i].wrong);
                sugHun.push_back(Millis(Clock::now() - t0));
            }
        }
    }
    size_t first[2] = {0, 0}, three[2] = {0, 0}, any[2] = {0, 0};
    for (size_t i = 0; i < typos.size(); ++i) {
        const size_t ranks[2] = {Rank(lastOurs[i], typos[i].right),
                                 Rank(lastHun[i], typos[i].right)};
        for (int k = 0; k < 2; ++k) {
            first[k] += ranks[k] == 0;
            three[k] += ranks[k] < 3;
            any[k] += ranks[k] != SIZE_MAX;
        }
    }
    const double n = typos.empty() ? 1 : double(typos.size());
    std::printf("Spell checker benchmark (natively built, both checkers in this one process;\n"
                "medians of %d interleaved rounds)\n\n",
                rounds);
    std::printf(
        "lexicon load:        ours %8.2f ms   hunspell %8.2f ms   ratio hunspell/ours %6.1f\n",
        Median(loadOurs), Median(loadHun), Median(loadHun) / Median(loadOurs));
    std::printf("check %zu chars (%zu words; flagged: ours %zu, hunspell %zu)\n", body.size(),
                words.text.size(), flaggedOurs, flaggedHun);
    std::printf(
        "  look-ups:          ours %8.2f ms   hunspell %8.2f ms   ratio hunspell/ours %6.1f\n",
        Median(checkOurs), Median(checkHun), Median(checkHun) / Median(checkOurs));
    std::printf("  with word scan:    ours %8.2f ms   (text walked and every word looked up)\n",
                Median(checkOursScan));
    std::printf(
        "suggestions for %zu misspellings (codespell's table, less our correction table's):\n",
        typos.size());
    std::printf(
        "  time:              ours %8.1f ms   hunspell %8.1f ms   ratio hunspell/ours %6.1f\n",
        Median(sugOurs), Median(sugHun), Median(sugHun) / Median(sugOurs));
    std::printf("  right word first:  ours %5.1f %%     hunspell %5.1f %%\n", 100 * first[0] / n,
                100 * first[1] / n);
    std::printf("  among first three: ours %5.1f %%     hunspell %5.1f %%\n", 100 * three[0] / n,
                100 * three[1] / n);
    std::printf("  anywhere offered:  ours %5.1f %%     hunspell %5.1f %%  (ours up to 10, "
                "hunspell all it gives)\n",
                100 * any[0] / n, 100 * any[1] / n);
    return 0;
}
