#include "netlib/mime/preparer.h"

#include <cstdio>
#include <cstring>

#include "netlib/mime/codecs.h"
#include "netlib/mime/hdrencode.h"
#include "netlib/mime/uniquefile.h"

namespace lx::mime {

namespace {

constexpr std::size_t kMaxSender = 126;
constexpr std::size_t kMaxEntry = 127;
// A subject or an attached file's path may be as long as the store keeps them (Subject and
// FileName hold 255 characters): the subject header folds, and a path never reaches the wire.
constexpr std::size_t kMaxLongEntry = 255;
constexpr int kMaxCount = 99999; // the count line holds five digits and is rewritten in place
constexpr std::size_t kDataCountWidth = 23;
constexpr const char* kCRLF = "\r\n";

// A header value never carries a line end of its own: it would start a header of its own.
std::string oneLine(const char* s) {
    std::string v(s ? s : "");
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    return v;
}

// The name a file is attached under: its last path component, safe inside double quotes.
std::string attachName(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/:");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    for (char& c : name)
        if (c == '"' || c == '\r' || c == '\n') c = '_';
    return name;
}

// The folder part of a path ("" for a bare name: the current folder).
std::string folderOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isPathSep(path[i - 1])) return path.substr(0, i);
    return std::string();
}

} // namespace

Preparer::Preparer(const std::string& spoolPath, const char* sender, Clock clock)
    : scratchFolder_(folderOf(spoolPath)), clock_(std::move(clock)) {
    if (sender && std::strlen(sender) <= kMaxSender) sender_ = oneLine(sender);
    spool_.open(spoolPath, OsFile::Mode::CreateAlways);
}

Preparer::~Preparer() { finish(); }

void Preparer::dropScratch() {
    scratch_.close();
    if (!scratchPath_.empty()) removeFile(scratchPath_);
    scratchPath_.clear();
}

int Preparer::newMessage(const char* sender) {
    if (sender && std::strlen(sender) <= kMaxSender) sender_ = oneLine(sender);
    to_.clear();
    cc_.clear();
    files_.clear();
    date_.clear();
    messageId_.clear();
    subject_.clear();
    boundary_.clear();
    ++count_;
    messageOpen_ = true;
    dataCount_ = 0;
    eightBit_ = false;
    windowsBytes_ = false;
    intake_.reset();
    // A unique scratch name beside the spool file: two batches at once never share the message
    // text. The system's temporary folder serves when the spool file's folder takes no file.
    dropScratch();
    scratchPath_ = createUnique(scratchFolder_, "TERNMIME-", 8, ".QBT", scratch_);
    if (scratchPath_.empty())
        scratchPath_ = createUnique(tempFolder(), "TERNMIME-", 8, ".QBT", scratch_);
    return 0;
}

int Preparer::addEntry(std::vector<std::string>& list, const char* text) {
    const std::size_t most = &list == &files_ ? kMaxLongEntry : kMaxEntry;
    if (!text || std::strlen(text) > most) return -2;
    list.push_back(oneLine(text));
    return 0;
}

int Preparer::setSubject(const char* subject) {
    if (!subject || std::strlen(subject) > kMaxLongEntry) return -2;
    subject_ = oneLine(subject);
    return 0;
}

int Preparer::addData(const std::uint8_t* bytes, std::size_t length) {
    if (!scratch_.isOpen()) return -2;
    if (length > 0 && !bytes) return -2;
    if (hasHighBit(bytes, length)) eightBit_ = true;
    if (hasWindowsByte(bytes, length)) windowsBytes_ = true;
    // Only the line ends are settled now: whether the text is broken into 7-bit lines or goes
    // quoted-printable with soft breaks is known once the whole text is in.
    std::string lines;
    intake_.add(bytes, length, kNoLineLimit, lines);
    return scratch_.write(lines) ? 0 : -2;
}

void Preparer::put(const std::string& s) {
    spool_.write(s);
    dataCount_ += s.size();
}

void Preparer::writeEnvelope() {
    spool_.write("BEGIN MESSAGE HEADER\r\n");
    spool_.write("FROM:<" + envelopeAddress(sender_) + ">\r\n");
    // Without a To entry the message keeps its place in the file but has no recipient, so the
    // SMTP client reports it failed under its own number instead of shifting the later ones.
    if (!to_.empty()) {
        for (const auto& a : to_) spool_.write("TO:<" + envelopeAddress(a) + ">\r\n");
        for (const auto& a : cc_) spool_.write("TO:<" + envelopeAddress(a) + ">\r\n");
    }
    spool_.write("END MESSAGE HEADER\r\n");
}

void Preparer::writeText(const std::string& partHeaders) {
    put(partHeaders);
    std::string tail;
    intake_.finish(tail);
    scratch_.write(tail);
    if (!scratch_.isOpen() || !scratch_.seek(0)) return;
    std::vector<std::uint8_t> block(64 * 1024);
    std::string encoded;
    QpEncoder qp;
    TextIntake lines;
    for (;;) {
        long long got = scratch_.read(block.data(), block.size());
        if (got <= 0) break;
        encoded.clear();
        if (eightBit_)
            qp.add(block.data(), static_cast<std::size_t>(got), encoded);
        else
            lines.add(block.data(), static_cast<std::size_t>(got), kLineLimit7bit, encoded);
        put(encoded);
    }
    encoded.clear();
    if (eightBit_)
        qp.finish(encoded);
    else
        lines.finish(encoded);
    put(encoded);
}

void Preparer::writeFilePart(const std::string& path) {
    const std::string name = attachName(path);
    put("\r\n\r\n--" + boundary_ + kCRLF);
    put("Content-Type: application/octet-stream; name=\"" + name + "\"\r\n");
    put("Content-Transfer-Encoding: base64\r\n");
    put("Content-Disposition: attachment; filename=\"" + name + "\"\r\n");
    put(kCRLF);
    OsFile in;
    if (!in.open(path, OsFile::Mode::ReadExisting)) return; // a part without data lines
    std::vector<std::uint8_t> block(kBase64LineBytes * 1024);
    std::string lines;
    std::size_t have = 0;
    for (;;) {
        long long got = in.read(block.data() + have, block.size() - have);
        if (got > 0) have += static_cast<std::size_t>(got);
        const bool end = got <= 0;
        std::size_t off = 0;
        lines.clear();
        while (have - off >= kBase64LineBytes || (end && have > off)) {
            std::size_t n = have - off < kBase64LineBytes ? have - off : kBase64LineBytes;
            base64Encode(block.data() + off, n, lines);
            lines += kCRLF;
            off += n;
        }
        put(lines);
        std::memmove(block.data(), block.data() + off, have - off);
        have -= off;
        if (end) break;
    }
}

void Preparer::writeData() {
    // 8-bit names and subjects travel as encoded words: the SMTP client sends 7 bits only.
    put(addressHeader("From", sender_));
    for (const auto& a : to_) put(addressHeader("To", a));
    for (const auto& a : cc_) put(addressHeader("Cc", a));
    put(unstructuredHeader("Subject", subject_));
    put("Date: " + date_ + kCRLF);
    put("Message-ID: " + messageId_ + kCRLF);
    put("MIME-Version: 1.0\r\nX-Mail-Agent: Ternline v1.7\r\n");
    // 8-bit text is labelled with the charset it is written in, in a multipart message as well.
    const std::string textHeaders =
        eightBit_
            ? std::string("Content-Type: text/plain; charset=") + eightBitCharset(windowsBytes_) +
                  "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
            : "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: "
              "7bit\r\n\r\n";
    if (files_.empty()) {
        writeText(textHeaders);
        return;
    }
    put("Content-Type: multipart/mixed; boundary=\"" + boundary_ + "\"\r\n\r\n");
    put("--" + boundary_ + kCRLF);
    writeText(textHeaders);
    for (const auto& f : files_) writeFilePart(f);
    put("\r\n--" + boundary_ + "--");
}

int Preparer::endMessage() {
    // A message is written once: a second end without a new message would send it twice.
    if (!messageOpen_) return -2;
    messageOpen_ = false;
    const StampTime t = clock_();
    date_ = formatDate(t);
    messageId_ = formatMessageId(t);
    boundary_ = formatBoundary(t);
    if (!spool_.isOpen()) return -2;
    char line[64];
    if (!countLineWritten_) {
        std::snprintf(line, sizeof line, "Letters : %05d\r\n",
                      count_ > kMaxCount ? kMaxCount : count_);
        spool_.write(line);
        spool_.write("FROM:<" + envelopeAddress(sender_) + ">\r\n");
        firstSender_ = sender_;
        countLineWritten_ = true;
    }
    writeEnvelope();
    const std::int64_t countAt = spool_.position();
    spool_.write(std::string("BEGIN DATA") + std::string(kDataCountWidth - 10, ' ') + kCRLF);
    dataCount_ = 0;
    writeData();
    spool_.write("\r\nEND DATA\r\n");
    dropScratch();
    const std::int64_t end = spool_.position();
    int n = std::snprintf(line, sizeof line, "BEGIN DATA %llu",
                          static_cast<unsigned long long>(dataCount_));
    if (spool_.seek(countAt)) {
        spool_.write(line, static_cast<std::size_t>(n));
        spool_.seek(end);
    }
    return to_.empty() ? -2 : 0;
}

int Preparer::finish() {
    if (spool_.isOpen()) {
        if (countLineWritten_ && spool_.seek(0)) {
            char line[32];
            int n = std::snprintf(line, sizeof line, "Letters : %05d",
                                  count_ > kMaxCount ? kMaxCount : count_);
            spool_.write(line, static_cast<std::size_t>(n));
        }
        spool_.close();
    }
    dropScratch();
    to_.clear();
    cc_.clear();
    files_.clear();
    return 0;
}

} // namespace lx::mime
