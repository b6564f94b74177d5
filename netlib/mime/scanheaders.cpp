// Header rules of the scanner: the record's fields, address lists and content contexts.
#include "netlib/mime/hdrdecode.h"
#include "netlib/mime/scanner.h"
#include "netlib/mime/scanutil.h"

namespace lx::mime {

namespace {

constexpr std::size_t kMaxHeaderName = 47;
constexpr std::size_t kMaxAddress = 95;
constexpr std::size_t kMaxRawAddress = 998;   // an item is decoded before it is cut to kMaxAddress
constexpr std::size_t kMaxFolded = 64 * 1024; // a folded header value is gathered up to this size

// A structured field's value: blanks skipped, cut at the first "(" (a comment).
std::string fieldValue(const std::string& value) {
    std::size_t i = skipBlanks(value, 0);
    std::size_t paren = value.find('(', i);
    return value.substr(i, paren == std::string::npos ? std::string::npos : paren - i);
}

} // namespace

// The value from start on with its continuation lines (those beginning with a blank or a tab)
// joined to it, the line ends removed.
std::string Scanner::unfoldedValue(const std::string& line, std::size_t start) {
    std::string value = line.substr(start);
    for (;;) {
        const std::int64_t mark = reader_.tell();
        if (!readPartLine(peek_) || peek_.empty() || !isBlank(peek_[0]) ||
            value.size() + peek_.size() > kMaxFolded) {
            reader_.restore(mark);
            return value;
        }
        value += peek_;
    }
}

void Scanner::headerLine(const std::string& line) {
    if (line.empty()) {
        inHeaders_ = false;
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon + 1 > kMaxHeaderName) return;
    std::string name = line.substr(0, colon + 1);
    for (char& c : name) c = upperAscii(c);
    if (name.compare(0, 2, "X-") == 0) return;
    const std::size_t v = colon + 1;
    if (name == "REPLY-TO:") {
        // Reply-To is kept: the host has a field for it and the reader sees it above the text.
        copyField(rec_.ReplyTo, sizeof rec_.ReplyTo,
                  decodeHeaderWords(fieldValue(unfoldedValue(line, v))));
        addText("Reply-To: " + std::string(rec_.ReplyTo));
        return;
    }
    if (name[0] == 'R') return; // Received: and the like
    // Folded values are read whole; names and subjects may be encoded words.
    if (name == "DATE:")
        copyField(rec_.Date, sizeof rec_.Date, fieldValue(unfoldedValue(line, v)));
    else if (name == "MESSAGE-ID:")
        copyField(rec_.MesgId, sizeof rec_.MesgId, fieldValue(unfoldedValue(line, v)));
    else if (name == "FROM:")
        copyField(rec_.From, sizeof rec_.From,
                  decodeHeaderWords(fieldValue(unfoldedValue(line, v))));
    else if (name == "SUBJECT:") { // unstructured: a parenthesis is part of the subject
        const std::string value = unfoldedValue(line, v);
        copyField(rec_.Subject, sizeof rec_.Subject,
                  decodeHeaderWords(value.substr(skipBlanks(value, 0))));
    } else if (name == "MIME-VERSION:")
        mime_ = true;
    else if (name == "TO:")
        addressList(line, v, false);
    else if (name == "CC:")
        addressList(line, v, true);
    else if (name == "CONTENT-TYPE:") {
        contentType(line, v);
        if (headerEncoding_ >= 0 && !contexts_.empty() && !contexts_.back().multipart)
            contexts_.back().encoding = headerEncoding_;
    } else if (name == "CONTENT-TRANSFER-ENCODING:") {
        // Away from Content-Type (which takes it when it follows directly) it still counts.
        headerEncoding_ = encodingOf(line);
        if (!contexts_.empty() && !contexts_.back().multipart)
            contexts_.back().encoding = headerEncoding_;
    }
}

void Scanner::keepAddress(std::string item, bool cc) {
    item = decodeHeaderWords(item);
    if (item.size() > kMaxAddress) item.resize(kMaxAddress);
    // Any item with an address is kept, "<a@b>" and "\"Name\" <a@b>" as well: a recipient
    // left out would be missing from replies to all.
    if (item.find('@') == std::string::npos) return;
    std::vector<std::string>& list = cc ? cc_ : to_;
    if (list.size() < TERN_SCAN_MAX_ADDRS)
        list.push_back(std::move(item));
    else
        addText((cc ? "Extra Cc Name: " : "Extra To Name: ") + item);
}

void Scanner::addressList(const std::string& first, std::size_t start, bool cc) {
    std::string item;
    bool at = false;
    std::string line = first;
    std::size_t i = skipBlanks(line, start);
    for (;;) {
        for (; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\t') continue;
            if (c == ',' && at) { // a comma ends an item only once its "@" has been seen
                keepAddress(std::move(item), cc);
                item.clear();
                at = false;
                continue;
            }
            if (item.empty() && c == ' ') continue;
            if (c == '@') at = true;
            if (item.size() < kMaxRawAddress) item.push_back(c);
        }
        if (at) { // the line's end ends an item that has its "@"
            keepAddress(std::move(item), cc);
            item.clear();
            at = false;
        }
        // The list goes on in lines that begin with a blank or a tab.
        const std::int64_t mark = reader_.tell();
        if (!readPartLine(peek_) || peek_.empty() || !isBlank(peek_[0])) {
            reader_.restore(mark);
            break;
        }
        line = peek_;
        i = 0;
    }
    keepAddress(std::move(item), cc);
}

int Scanner::peekEncoding() {
    // The line after the Content-Type line and its continuation lines decides the encoding.
    for (;;) {
        const std::int64_t mark = reader_.tell();
        if (!readPartLine(peek_)) {
            reader_.restore(mark);
            return kEnc7bit;
        }
        if (!peek_.empty() && isBlank(peek_[0])) continue;
        if (isTransferEncodingLine(peek_)) return encodingOf(peek_);
        reader_.restore(mark);
        return kEnc7bit;
    }
}

void Scanner::readBoundary(const std::string& value, ContentContext& ctx) {
    const std::string up = upperCopy(value);
    std::size_t at = up.find("BOUNDARY=");
    if (at == std::string::npos) return; // no boundary parameter: the inherited one stays
    std::size_t i = at + 9;
    std::string b;
    if (i < value.size() && value[i] == '"') {
        ++i;
        std::size_t close = value.find('"', i);
        b = value.substr(i, close == std::string::npos ? std::string::npos : close - i);
    } else {
        std::size_t stop = value.find_first_of("; \t", i);
        b = value.substr(i, stop == std::string::npos ? std::string::npos : stop - i);
    }
    if (b.size() > kMaxBoundary) b.resize(kMaxBoundary);
    ctx.boundary = upperCopy(b);
}

void Scanner::contentType(const std::string& line, std::size_t valueStart) {
    if (contexts_.size() >= kMaxContexts) {
        error_ = true;
        return;
    }
    ContentContext ctx;
    if (!contexts_.empty()) ctx.boundary = contexts_.back().boundary;
    const std::size_t i = skipBlanks(line, valueStart);
    const char first = i < line.size() ? lowerAscii(line[i]) : '\0';
    if (first == 'm' && i + 2 < line.size() && lowerAscii(line[i + 2]) == 'l') {
        ctx.multipart = true;
        ctx.type = 'm';
        ctx.encoding = kEncOther;
        std::string value = line.substr(i);
        if (upperCopy(value).find("BOUNDARY=") == std::string::npos) {
            // The parameter may stand on the next line; a multipart without any "=" is malformed.
            const bool hasParams = value.find('=') != std::string::npos;
            const std::int64_t mark = reader_.tell();
            const bool got = readPartLine(peek_);
            if (got && peek_.find('=') != std::string::npos &&
                (!hasParams || (!peek_.empty() && isBlank(peek_[0]) &&
                                upperCopy(peek_).find("BOUNDARY=") != std::string::npos))) {
                value = peek_;
            } else {
                reader_.restore(mark);
                if (!hasParams) {
                    error_ = true;
                    return;
                }
            }
        }
        readBoundary(value, ctx);
    } else {
        ctx.type = (first == 't' || first == 'i' || first == 'v' || first == 'a') ? first : 't';
        ctx.encoding = peekEncoding();
    }
    contexts_.push_back(std::move(ctx));
}

} // namespace lx::mime
