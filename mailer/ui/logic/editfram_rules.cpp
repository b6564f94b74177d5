#include "mailer/ui/logic/editfram_rules.h"

#include <algorithm>
#include <cctype>

namespace lx {

namespace {

constexpr char kCrLf[] = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blanks and the quotes a shell puts around an argument.
std::string Trimmed(const std::string& text) {
    std::size_t from = 0, to = text.size();
    while (from < to && (IsBlank(text[from]) || text[from] == '"')) ++from;
    while (to > from && (IsBlank(text[to - 1]) || text[to - 1] == '"' || text[to - 1] == '\r' ||
                         text[to - 1] == '\n'))
        --to;
    return text.substr(from, to - from);
}

std::size_t FindNoCase(const std::string& text, const std::string& word) {
    auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace

CommandLineIntent InterpretCommandLine(const std::string& commandLine) {
    CommandLineIntent intent;
    const std::string line = Trimmed(commandLine);
    if (line.size() >= 2 && line[1] == ':') {
        intent.attachment = line;
        return intent;
    }
    if (FindNoCase(line, "mailto:") != std::string::npos) {
        std::string address = line.substr(line.find(':') + 1);
        // A link's header fields (?subject=...) are no part of the address.
        address = Trimmed(address.substr(0, address.find('?')));
        intent.toAddress = address;
        intent.keepCommandLine = false;
    }
    return intent;
}

std::string RemoveBlanks(const std::string& line) {
    std::string out;
    for (char c : line)
        if (!IsBlank(c)) out += c;
    return out;
}

std::vector<std::string> RecipientLines(const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& line : SplitLines(text)) {
        std::string entry = RemoveBlanks(line);
        if (!entry.empty()) out.push_back(std::move(entry));
    }
    return out;
}

void MergeRecipients(std::string& text, const std::string& picked) {
    for (const std::string& line : SplitLines(picked)) {
        if (line.empty() || text.find(line) != std::string::npos) continue;
        if (!text.empty()) text += kCrLf;
        text += line;
    }
}

std::string QuotedReplyBody(const std::string& sender, const std::string& earlierBody,
                            const QuoteTexts& texts) {
    return texts.beginBefore + sender + texts.beginAfter + kCrLf + earlierBody + kCrLf +
           texts.endBefore + sender + texts.endAfter + kCrLf;
}

bool AddAttachment(std::vector<std::string>& files, const std::string& path) {
    if (!CanAttachMore(files.size()) || !AttachablePath(path)) return false;
    if (std::find(files.begin(), files.end(), path) != files.end()) return false;
    files.push_back(path);
    return true;
}

std::string BodyWithLineBreaks(const std::vector<std::string>& displayLines) {
    std::string body;
    for (const std::string& line : displayLines) {
        std::string cleaned = line;
        // A display line that ends at a hard line end carries no line end of its own here.
        while (!cleaned.empty() && (cleaned.back() == '\r' || cleaned.back() == '\n'))
            cleaned.pop_back();
        body += cleaned + kCrLf;
    }
    return body;
}

} // namespace lx
