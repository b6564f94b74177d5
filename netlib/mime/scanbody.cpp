// Body rules of the scanner: text, uuencoded files, multipart boundaries and attachment parts.
#include "netlib/mime/codecs.h"
#include "netlib/mime/safename.h"
#include "netlib/mime/scanner.h"
#include "netlib/mime/scanutil.h"

namespace lx::mime {

namespace {

constexpr std::size_t kMaxNameSearchLines = 3;

// The "name=" parameter: the first "n" or "N" after the first ";" with "=" four characters later.
std::string nameParam(const std::string& line) {
    std::size_t semi = line.find(';');
    if (semi == std::string::npos) return std::string();
    for (std::size_t i = semi + 1; i + 4 < line.size(); ++i) {
        if ((line[i] == 'n' || line[i] == 'N') && line[i + 4] == '=') {
            std::size_t v = i + 5;
            std::string name;
            if (v < line.size() && line[v] == '"') {
                std::size_t close = line.find('"', v + 1);
                name = line.substr(v + 1,
                                   close == std::string::npos ? std::string::npos : close - v - 1);
            } else {
                name = line.substr(v);
            }
            while (!name.empty() && (name.back() == ';' || isBlank(name.back()))) name.pop_back();
            return name;
        }
    }
    return std::string();
}

// The value after the first "=" of a Content-Disposition line, opening quote skipped.
std::string dispositionName(const std::string& line) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) return std::string();
    std::size_t v = eq + 1;
    if (v < line.size() && line[v] == '"') {
        std::size_t close = line.find('"', v + 1);
        return line.substr(v + 1, close == std::string::npos ? std::string::npos : close - v - 1);
    }
    std::size_t stop = line.find(';', v);
    std::string name = line.substr(v, stop == std::string::npos ? std::string::npos : stop - v);
    while (!name.empty() && isBlank(name.back())) name.pop_back();
    return name;
}

bool startsWithUpper(const std::string& line, const char* prefix) {
    std::size_t n = std::char_traits<char>::length(prefix);
    if (line.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (upperAscii(line[i]) != prefix[i]) return false;
    return true;
}

} // namespace

void Scanner::bodyLine(std::string_view line) {
    if (!mime_) {
        nonMimeLine(line);
        return;
    }
    if (contexts_.empty()) {
        textLine(line);
        return;
    }
    std::size_t owner = 0;
    const BoundaryKind kind = classifyBoundary(line, owner);
    if (kind != BoundaryKind::None) { // the boundary ends the part
        if (inAttachment_) endAttachment();
        flushSoftText();
    }
    switch (kind) {
    case BoundaryKind::Error: error_ = true; return;
    case BoundaryKind::Close:
        contexts_.resize(owner); // leave the closed multipart
        firstBodyLine_ = true;
        return;
    case BoundaryKind::Part: newPart(owner); return;
    case BoundaryKind::None: break;
    }
    if (inAttachment_)
        attachmentLine(line);
    else
        textLine(line);
}

Scanner::BoundaryKind Scanner::classifyBoundary(std::string_view line, std::size_t& owner) const {
    if (line.size() < 3 || line[0] != '-' || line[1] != '-') return BoundaryKind::None;
    std::string up = upperCopy(line);
    while (!up.empty() && isBlank(up.back())) up.pop_back(); // transport padding
    const std::string& current = contexts_.back().boundary;
    // The enclosing multiparts, innermost first, own exact boundary lines.
    for (std::size_t k = contexts_.size(); k-- > 0;) {
        const ContentContext& c = contexts_[k];
        if (!c.multipart || c.boundary.empty()) continue;
        const std::string& b = c.boundary;
        if (up.size() == b.size() + 2 && up.compare(2, b.size(), b) == 0) {
            owner = k;
            return BoundaryKind::Part;
        }
        if (up.size() == b.size() + 4 && up.compare(2, b.size(), b) == 0 &&
            up.compare(b.size() + 2, 2, "--") == 0) {
            owner = k;
            return BoundaryKind::Close;
        }
    }
    if (current.empty() || up.find(current, 2) == std::string::npos) return BoundaryKind::None;
    // Any other line starting "--" with the current boundary in it.
    for (std::size_t k = contexts_.size(); k-- > 0;) {
        if (contexts_[k].multipart && contexts_[k].boundary == current) {
            owner = k;
            if (up.size() > current.size() + 2 && up.compare(up.size() - 2, 2, "--") == 0)
                return BoundaryKind::Close;
            return BoundaryKind::Error;
        }
    }
    return BoundaryKind::None;
}

void Scanner::newPart(std::size_t owner) {
    contexts_.resize(owner + 1); // the part replaces whatever part of this multipart came before
    const std::int64_t afterBoundary = reader_.tell();
    std::string ctLine, seen[kMaxNameSearchLines];
    std::size_t seenCount = 0;
    for (; seenCount < kMaxNameSearchLines; ++seenCount) {
        if (!readPartLine(seen[seenCount]) || seen[seenCount].empty()) break;
        if (startsWithUpper(seen[seenCount], "CONTENT-TYPE:")) {
            ctLine = seen[seenCount];
            break;
        }
    }
    std::string name;
    bool text = true;
    // The transfer encoding may stand anywhere among the part headers (mailers put
    // Content-Disposition or Content-ID between it and Content-Type).
    int encoding = -1;
    for (std::size_t k = 0; k < seenCount; ++k)
        if (isTransferEncodingLine(seen[k])) encoding = encodingOf(seen[k]);
    // Reads the rest of the part headers; a Content-Disposition line may give the name.
    auto headerEnd = [this, &encoding](std::string* partName, bool wantName) {
        std::size_t owner2 = 0;
        for (;;) {
            const std::int64_t mark = reader_.tell();
            if (!readPartLine(peek_) || peek_.empty()) break;
            if (classifyBoundary(peek_, owner2) !=
                BoundaryKind::None) { // no header end: the part is empty
                reader_.restore(mark);
                break;
            }
            if (isTransferEncodingLine(peek_)) encoding = encodingOf(peek_);
            if (wantName && partName->empty() && startsWithUpper(peek_, "CONTENT-DISPOSITION:"))
                *partName = dispositionName(peek_);
        }
        ContentContext& part = contexts_.back();
        if (!part.multipart && encoding >= 0) part.encoding = encoding;
    };
    if (ctLine.empty()) {
        // No Content-Type: a text part whose first line may give the encoding.
        reader_.restore(afterBoundary);
        if (contexts_.size() >= kMaxContexts) {
            error_ = true;
            return;
        }
        ContentContext ctx;
        ctx.boundary = contexts_.back().boundary;
        contexts_.push_back(std::move(ctx));
        headerEnd(&name, false);
    } else {
        name = nameParam(ctLine);
        if (name.empty()) {
            const std::int64_t mark = reader_.tell();
            if (readPartLine(peek_)) name = nameParam(peek_);
            reader_.restore(mark);
        }
        const std::size_t before = contexts_.size();
        contentType(ctLine, 13);
        if (error_ || contexts_.size() == before) return;
        const ContentContext& ctx = contexts_.back();
        const bool wantName = !ctx.multipart && name.empty();
        for (std::size_t k = 0; wantName && k < seenCount; ++k)
            if (startsWithUpper(seen[k], "CONTENT-DISPOSITION:")) name = dispositionName(seen[k]);
        headerEnd(&name, !ctx.multipart && name.empty());
        if (contexts_.back().multipart) return; // a nested multipart: its own parts follow
        text = contexts_.back().type == 't';
    }
    if (name.size() > kMaxPartName) name.resize(kMaxPartName);
    if (text && name.empty()) return; // a text part goes to the message text
    // A file that cannot be created loses the part's data (the message says so); its lines are
    // still consumed.
    openOutput(name, out_);
    inAttachment_ = true;
}

void Scanner::endAttachment() {
    if (out_.isOpen() && contexts_.back().encoding == kEncBase64) {
        decoded_.clear();
        base64_.finish(decoded_); // an unpadded last group
        out_.write(decoded_);
    }
    base64_.reset();
    closeOutput(out_);
    inAttachment_ = false;
    firstBodyLine_ = true;
    if (contexts_.size() > 1 && !contexts_.back().multipart) contexts_.pop_back();
}

char* Scanner::outputRoom(std::size_t n) {
    if (char* room = out_.reserve(n)) return room;
    decoded_.resize(n);
    return &decoded_[0];
}

void Scanner::keepOutput(const char* room, std::size_t n) {
    if (room == decoded_.data())
        out_.write(room, n); // nothing when there is no file
    else
        out_.commit(n);
}

void Scanner::attachmentLine(std::string_view line) {
    const int enc = contexts_.back().encoding;
    if (enc == kEncBase64) {
        if (line.empty() || line[0] == '-') {
            endAttachment();
            return;
        }
        // The lines of a base64 part are alike, and most of a spool's bytes: this one and those
        // after it are decoded here in one loop instead of one round of the message loop each,
        // as long as the next line can be nothing else. An empty line, a line starting "-" (a
        // boundary) or "." (dot-stuffed, or the message's end) goes back to the message loop.
        for (;;) {
            // Characters outside the alphabet are skipped, as the base64 rules of MIME ask. A
            // line goes on being decoded without a file, for its padding.
            char* room = outputRoom(Base64Stream::maxDecoded(line.size()));
            keepOutput(room, base64_.add(line.data(), line.size(), room));
            if (base64_.sawPadding()) { // an "=" ends the part after its line
                endAttachment();
                return;
            }
            const std::int64_t next = reader_.tell();
            if (!reader_.next(line) || line.empty() || line[0] == '-' || line[0] == '.') {
                reader_.restore(next);
                return;
            }
        }
    }
    if (!out_.isOpen()) return;
    if (enc == kEncQuoted) {
        char* room = outputRoom(line.size() + 2);
        bool soft = false;
        std::size_t n = qpDecodeLine(line.data(), line.size(), room, &soft);
        if (!soft) { // a soft line break joins the lines again
            room[n++] = '\r';
            room[n++] = '\n';
        }
        keepOutput(room, n);
        return;
    }
    // 7bit, 8bit and the rest keep their lines.
    out_.writeLine(line.data(), line.size());
}

void Scanner::textLine(std::string_view line) {
    if (firstBodyLine_) {
        if (line.empty()) return;
        firstBodyLine_ = false;
    }
    if (!contexts_.empty() && contexts_.back().encoding == kEncQuoted) {
        // A soft line break (a lone "=" at the end) joins the line with the next one.
        const std::size_t have = softText_.size();
        softText_.resize(have + line.size());
        bool soft = false;
        const std::size_t n = qpDecodeLine(line.data(), line.size(), &softText_[have], &soft);
        softText_.resize(have + n);
        softPending_ = true;
        if (!soft) flushSoftText();
        return;
    }
    addText(line.data(), line.size());
}

void Scanner::flushSoftText() {
    if (!softPending_) return;
    addText(softText_);
    softText_.clear();
    softPending_ = false;
}

void Scanner::nonMimeLine(std::string_view line) {
    if (firstBodyLine_) {
        if (line.empty()) return;
        firstBodyLine_ = false;
    }
    if (line.size() >= 7 && line.compare(0, 5, "begin") == 0 && line[6] >= '0' && line[6] <= '9') {
        uudecodeFile(line);
        return;
    }
    addText(line.data(), line.size());
}

void Scanner::uudecodeFile(std::string_view line) {
    std::size_t i = skipBlanks(line, 5);
    while (i < line.size() && !isBlank(line[i])) ++i; // the mode
    i = skipBlanks(line, i);
    const std::string name(line.substr(i)); // copied: the line does not outlast the next read
    if (!openOutput(name, out_)) return;
    std::uint8_t bytes[64];
    while (readPartLine(peek_)) {
        if (peek_.find("end") != std::string::npos) break;
        std::size_t n = uudecodeLine(peek_.data(), peek_.size(), bytes);
        out_.write(bytes, n);
    }
    closeOutput(out_);
}

} // namespace lx::mime
