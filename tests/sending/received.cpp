#include "tests/sending/received.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace lxtest {
namespace {

std::string Box() {
    const char* b = std::getenv("LX_BINARY_DIR");
    return std::string("Z:") + (b ? b : "/tmp") + "/testpeers/smtp/";
}

std::string FileName(int n, const char* ext) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d%s", n, ext);
    return Box() + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string TrimLineEnds(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

// Header lines up to the first empty line, unfolded.
std::vector<std::pair<std::string, std::string>> Headers(const std::string& block) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(block);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) break;
        if ((line[0] == ' ' || line[0] == '\t') && !out.empty()) {
            out.back().second += line;
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string value = line.substr(colon + 1);
        if (!value.empty() && value[0] == ' ') value.erase(0, 1);
        out.emplace_back(line.substr(0, colon), value);
    }
    return out;
}

std::string Base64Decode(const std::string& text) {
    static const std::string digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const std::size_t v = digits.find(c);
        if (v == std::string::npos) continue; // line ends and padding
        bits = (bits << 6) | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xff);
        }
    }
    return out;
}

std::string Between(const std::string& s, const std::string& from, const std::string& to) {
    const std::size_t a = s.find(from);
    if (a == std::string::npos) return "";
    const std::size_t b = s.find(to, a + from.size());
    return s.substr(a + from.size(),
                    b == std::string::npos ? std::string::npos : b - a - from.size());
}

// "=?charset?Q?...?=" and "=?charset?B?...?=" words as their bytes; the blanks between two
// words go, as RFC 2047 says.
std::string DecodeWords(const std::string& value) {
    std::string out, pendingBlank;
    bool lastWasWord = false;
    for (std::size_t i = 0; i < value.size();) {
        if (value.compare(i, 2, "=?") == 0) {
            const std::size_t q1 = value.find('?', i + 2);
            const std::size_t q2 = q1 == std::string::npos ? q1 : value.find('?', q1 + 1);
            const std::size_t end = q2 == std::string::npos ? q2 : value.find("?=", q2 + 1);
            if (end != std::string::npos) {
                const char kind = static_cast<char>(value[q1 + 1] & ~0x20);
                const std::string data = value.substr(q2 + 1, end - q2 - 1);
                std::string word;
                if (kind == 'B') {
                    word = Base64Decode(data);
                } else {
                    for (std::size_t k = 0; k < data.size(); ++k) {
                        if (data[k] == '_') {
                            word += ' ';
                        } else if (data[k] == '=' && k + 2 < data.size() + 1) {
                            word += static_cast<char>(
                                std::strtol(data.substr(k + 1, 2).c_str(), nullptr, 16));
                            k += 2;
                        } else {
                            word += data[k];
                        }
                    }
                }
                if (!lastWasWord) out += pendingBlank;
                pendingBlank.clear();
                out += word;
                lastWasWord = true;
                i = end + 2;
                continue;
            }
        }
        if (value[i] == ' ' || value[i] == '\t') {
            pendingBlank += value[i++];
            continue;
        }
        out += pendingBlank;
        pendingBlank.clear();
        out += value[i++];
        lastWasWord = false;
    }
    return out + pendingBlank;
}

} // namespace

std::string Received::Header(const std::string& name) const {
    for (const auto& h : headers)
        if (h.first == name) return h.second;
    return "";
}

std::vector<std::string> Received::All(const std::string& name) const {
    std::vector<std::string> values;
    for (const auto& h : headers)
        if (h.first == name) values.push_back(h.second);
    return values;
}

std::string Received::DecodedHeader(const std::string& name) const {
    return DecodeWords(Header(name));
}

int ReceivedCount() {
    int n = 0;
    while (std::ifstream(FileName(n + 1, ".eml")).good()) ++n;
    return n;
}

Received ReadReceived(int n) {
    Received r;
    std::istringstream env(ReadAll(FileName(n, ".env")));
    std::string line;
    if (std::getline(env, r.mailFrom))
        while (std::getline(env, line))
            if (!line.empty()) r.rcptTo.push_back(line);
    const std::string eml = ReadAll(FileName(n, ".eml"));
    const std::size_t bodyAt = eml.find("\r\n\r\n");
    r.headers = Headers(eml.substr(0, bodyAt));
    const std::string body = bodyAt == std::string::npos ? "" : eml.substr(bodyAt + 4);
    const std::string type = r.Header("Content-Type");
    const std::size_t b = type.find("boundary=\"");
    if (b == std::string::npos) {
        r.text = TrimLineEnds(body);
        return r;
    }
    const std::string boundary = "--" + type.substr(b + 10, type.find('"', b + 10) - b - 10);
    std::size_t at = body.find(boundary);
    while (at != std::string::npos) {
        const std::size_t next = body.find("\r\n" + boundary, at + boundary.size());
        if (next == std::string::npos) break;
        const std::string part =
            body.substr(at + boundary.size() + 2, next - at - boundary.size() - 2);
        const std::size_t partBody = part.find("\r\n\r\n");
        const auto partHeaders = Headers(part.substr(0, partBody));
        const std::string content = part.substr(partBody + 4);
        std::string disposition;
        for (const auto& h : partHeaders)
            if (h.first == "Content-Disposition") disposition = h.second;
        if (disposition.empty())
            r.text = TrimLineEnds(content);
        else
            r.attachments.emplace_back(Between(disposition, "filename=\"", "\""),
                                       Base64Decode(content));
        at = next + 2;
    }
    return r;
}

std::vector<Received> ReceivedSince(int count) {
    std::vector<Received> all;
    for (int n = count + 1; n <= ReceivedCount(); ++n) all.push_back(ReadReceived(n));
    return all;
}

} // namespace lxtest
