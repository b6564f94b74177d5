#include "common/schema/scripts.h"

#include <cctype>

#include "lx_store_scripts.h" // generated: kSqliteScript, kPostgresScript

namespace lx {

StoreEngine StoreEngineFromDbmsName(const std::string& dbmsName) {
    std::string upper;
    for (char c : dbmsName) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("POSTGRES") != std::string::npos ? StoreEngine::PostgreSQL
                                                       : StoreEngine::SQLite;
}

const char* StoreCreationScript(StoreEngine engine) {
    return engine == StoreEngine::PostgreSQL ? kPostgresScript : kSqliteScript;
}

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool WordAt(const std::string& s, size_t i, const char* word) {
    size_t n = 0;
    while (word[n]) {
        if (i + n >= s.size() || std::toupper(static_cast<unsigned char>(s[i + n])) != word[n])
            return false;
        ++n;
    }
    return (i == 0 || !IsWordChar(s[i - 1])) && (i + n >= s.size() || !IsWordChar(s[i + n]));
}

// The length of a dollar-quote tag ("$$", "$body$") starting at i, 0 when there is none there.
size_t DollarTagAt(const std::string& s, size_t i) {
    if (s[i] != '$' || (i > 0 && IsWordChar(s[i - 1]))) return 0;
    size_t j = i + 1;
    while (j < s.size() && (std::isalpha(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
    return j < s.size() && s[j] == '$' ? j + 1 - i : 0;
}

void Flush(std::string& current, std::vector<std::string>& out) {
    size_t b = 0, e = current.size();
    while (b < e && std::isspace(static_cast<unsigned char>(current[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(current[e - 1]))) --e;
    if (e > b) out.push_back(current.substr(b, e - b));
    current.clear();
}

} // namespace

std::vector<std::string> SplitSqlScript(const std::string& script) {
    std::vector<std::string> out;
    std::string current;
    int depth = 0; // inside BEGIN ... END of a trigger
    size_t i = 0;
    while (i < script.size()) {
        char c = script[i];
        if (c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n') ++i;
            continue;
        }
        if (c == '\'' || c == '"') {
            size_t j = i + 1;
            while (j < script.size()) {
                if (script[j] == c) {
                    if (j + 1 < script.size() && script[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            size_t end = j < script.size() ? j + 1 : j;
            current.append(script, i, end - i);
            i = end;
            continue;
        }
        // A function body in dollar quotes is one literal, whatever it holds.
        if (const size_t tag = DollarTagAt(script, i)) {
            const size_t close = script.find(script.substr(i, tag), i + tag);
            const size_t end = close == std::string::npos ? script.size() : close + tag;
            current.append(script, i, end - i);
            i = end;
            continue;
        }
        if (WordAt(script, i, "BEGIN")) {
            ++depth;
        } else if (WordAt(script, i, "END") && depth > 0) {
            --depth;
        }
        if (IsWordChar(c)) {
            size_t j = i;
            while (j < script.size() && IsWordChar(script[j])) ++j;
            current.append(script, i, j - i);
            i = j;
            continue;
        }
        if (c == ';' && depth == 0) {
            Flush(current, out);
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    Flush(current, out);
    return out;
}

} // namespace lx
