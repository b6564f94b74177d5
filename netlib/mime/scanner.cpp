// The scanner's message loop and its record.
#include "netlib/mime/scanner.h"

#include <cstring>

#include "netlib/mime/scanutil.h"

namespace lx::mime {

namespace {
const char kBeginLine[] = "BEGIN MESSAGE";
const char kEndLine[] = "END MESSAGE";
} // namespace

Scanner::Scanner(const std::string& spoolPath, const std::string& attachDir)
    : Scanner(std::make_unique<FileSource>(spoolPath), attachDir) {}

Scanner::Scanner(std::unique_ptr<ByteSource> source, const std::string& attachDir,
                 std::size_t readBuffer)
    : source_(std::move(source)), reader_(*source_, readBuffer), attachDir_(attachDir) {
    if (source_->isOpen()) readCountLine();
}

void Scanner::readCountLine() {
    reader_.restore(0);
    std::string first;
    // The count line: "L" first, ":" ninth, then the decimal number.
    if (reader_.next(first) && first.size() >= 9 && first[0] == 'L' && first[8] == ':') {
        std::size_t i = skipBlanks(first, 9);
        long long n = 0;
        while (i < first.size() && first[i] >= '0' && first[i] <= '9' && n < 100000000)
            n = n * 10 + (first[i++] - '0');
        count_ = static_cast<int>(n);
    }
    firstMessageAt_ = reader_.tell();
}

bool Scanner::readPartLine(std::string_view& line) {
    const std::int64_t at = reader_.tell();
    if (!reader_.next(line)) return false;
    if (line.size() == 1 && line[0] == '.') {
        // A body line "." is stuffed to "..", so a lone full stop is the end the POP3 client
        // stored, when the end line (or, for a run cut short, the end of the file) follows.
        const std::int64_t afterDot = reader_.tell();
        if (!reader_.next(scratch_) || scratch_ == kEndLine) {
            reader_.restore(at);
            return false;
        }
        reader_.restore(afterDot); // a full stop of unknown meaning stays in the text as it is
        line = "."; // the view into the reader's buffer did not survive the look ahead
        return true;
    }
    if (line.size() >= 2 && line[0] == '.' && line[1] == '.') line.remove_prefix(1);
    return true;
}

bool Scanner::readPartLine(std::string& line) {
    std::string_view view;
    if (!readPartLine(view)) return false;
    line.assign(view.data(), view.size());
    return true;
}

void Scanner::finishMessage() {
    std::string& line = scratch_;
    if (!readLine(line)) {
        flags_ |= kScanCutShort;
        return;
    }
    // The full stop line (readPartLine stopped before it); then the end line, if there is one.
    const std::int64_t at = reader_.tell();
    if (readLine(line) && line != kEndLine) reader_.restore(at);
}

void Scanner::clearRecord() {
    std::memset(&rec_, 0, sizeof rec_);
    to_.clear();
    cc_.clear();
    files_.clear();
    outputFiles_ = 0;
    text_.clear();
    text_.reserve(512);
    softText_.clear();
    softPending_ = false;
    headerEncoding_ = -1;
    base64_.reset();
    contexts_.clear();
    out_.close();
    overflow_.close();
    inHeaders_ = true;
    firstBodyLine_ = true;
    mime_ = false;
    inAttachment_ = false;
    textEnded_ = false;
    textOverflow_ = false;
    error_ = false;
    flags_ = kScanSound;
    systemError_ = 0;
}

void Scanner::finishRecord() {
    for (std::size_t i = 0; i < to_.size(); ++i) rec_.To[i] = &to_[i][0];
    rec_.ToCount = static_cast<std::int32_t>(to_.size());
    for (std::size_t i = 0; i < cc_.size(); ++i) rec_.Cc[i] = &cc_[i][0];
    rec_.CcCount = static_cast<std::int32_t>(cc_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) rec_.Files[i] = &files_[i][0];
    rec_.FileCount = static_cast<std::int32_t>(files_.size());
    if (textOverflow_) {
        std::memset(tooLarge_, 0, sizeof tooLarge_);
        std::strcpy(tooLarge_, "Message Text Was Too Large - Please check file attachment");
        rec_.Text = tooLarge_;
        rec_.TextLength = 64;
    } else {
        rec_.Text = &text_[0]; // text_ always has its terminator (std::string keeps one)
        rec_.TextLength = static_cast<std::int32_t>(text_.size() + 1);
    }
}

const TernScanRecord* Scanner::getFirst() {
    clearRecord();
    current_ = 1;
    if (!source_->isOpen() || count_ < 1) return nullptr;
    reader_.restore(firstMessageAt_);
    return scanMessage();
}

const TernScanRecord* Scanner::getNext() {
    clearRecord();
    ++current_;
    if (!source_->isOpen() || current_ > count_) return nullptr;
    return scanMessage();
}

const TernScanRecord* Scanner::scanMessage() {
    // Find the message's begin line; none means the spool holds no further message.
    bool found = false;
    while (readLine(line_))
        if (line_ == kBeginLine) {
            found = true;
            break;
        }
    if (!found) return nullptr;
    // The server's status line comes first. A begin line alone (the run stopped before any byte
    // of the message came) holds no message.
    std::int64_t at = reader_.tell();
    if (!readLine(line_)) return nullptr;
    if (line_.compare(0, 1, "+") != 0) reader_.restore(at);
    for (;;) {
        at = reader_.tell();
        // Body lines are handled where they lie in the reader's buffer; header lines, whose
        // rules read further lines, are copied first.
        std::string_view line;
        if (!readPartLine(line)) break;
        if (error_) { // from the faulty line on, the message is kept as it was sent
            addText(line.data(), line.size());
            continue;
        }
        if (inHeaders_) {
            line_.assign(line.data(), line.size());
            headerLine(line_);
        } else {
            bodyLine(line);
        }
        if (error_) {
            if (inAttachment_) endAttachment();
            flushSoftText();
            flags_ |= kScanMalformed;
            firstBodyLine_ = false;
            reader_.restore(at);
        }
    }
    finishMessage();
    if (inAttachment_) endAttachment();
    flushSoftText();
    endText();
    closeOutput(out_);
    finishRecord();
    return &rec_;
}

} // namespace lx::mime
