#include "odbcvant/sqlrewrite.h"

#include <cctype>

namespace lx {

namespace {

bool IsIdentChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || c == '.' || u >= 0x80;
}

bool MatchesWordAt(const std::string& s, size_t i, const char* word, size_t len) {
    if (i + len > s.size()) return false;
    for (size_t k = 0; k < len; ++k) {
        if (std::toupper(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
    }
    return true;
}

// Index just past a quoted run starting at i (quote char doubled inside means itself).
size_t SkipQuoted(const std::string& s, size_t i) {
    const char q = s[i];
    size_t j = i + 1;
    while (j < s.size()) {
        if (s[j] == q) {
            if (j + 1 < s.size() && s[j + 1] == q) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

} // namespace

std::string RewriteUcaseToUpper(const std::string& sql) {
    static const char kWord[] = "UCASE";
    const size_t wordLen = sizeof(kWord) - 1;
    std::string out;
    out.reserve(sql.size());
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            size_t end = SkipQuoted(sql, i);
            out.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            size_t end = sql.find('\n', i);
            if (end == std::string::npos) end = sql.size();
            out.append(sql, i, end - i);
            i = end;
            continue;
        }
        if (IsIdentChar(c)) {
            size_t end = i;
            while (end < sql.size() && IsIdentChar(sql[end])) ++end;
            bool replaced = false;
            if (end - i == wordLen && MatchesWordAt(sql, i, kWord, wordLen)) {
                size_t k = end;
                while (k < sql.size() && std::isspace(static_cast<unsigned char>(sql[k]))) ++k;
                if (k < sql.size() && sql[k] == '(') {
                    out += "UPPER";
                    replaced = true;
                }
            }
            if (!replaced) out.append(sql, i, end - i);
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

bool EngineNeedsUpper(const std::string& dbmsName) {
    std::string upper;
    for (char c : dbmsName) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("ACCESS") == std::string::npos;
}

} // namespace lx
