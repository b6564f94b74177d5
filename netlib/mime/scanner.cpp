// The scanner's message loop and its record.
#include "netlib/mime/scanner.h"

#include <cstring>

#include "netlib/mime/scanutil.h"

namespace lx::mime {

Scanner::Scanner(const std::string& spoolPath, const std::string& attachDir)
    : reader_(spool_), attachDir_(attachDir) {
    if (!spool_.open(spoolPath, OsFile::Mode::ReadWriteExisting)) return;
    reader_.restore(0);
    std::string first;
    // The count line: "L" first, ":" ninth, then the decimal number.
    if (reader_.next(first) && first.size() >= 9 && first[0] == 'L' && first[8] == ':') {
        std::size_t i = 9;
        while (i < first.size() && first[i] == ' ') ++i;
        long long n = 0;
        while (i < first.size() && first[i] >= '0' && first[i] <= '9' && n < 100000000)
            n = n * 10 + (first[i++] - '0');
        count_ = static_cast<int>(n);
    }
    firstMessageAt_ = reader_.tell();
}

bool Scanner::readLine(std::string& line) { return reader_.next(line); }

bool Scanner::readPartLine(std::string& line) {
    const std::int64_t at = reader_.tell();
    if (!reader_.next(line)) return false;
    if (containsEndMessage(line) || line == ".") {
        reader_.restore(at); // the message loop ends the text or the message there
        return false;
    }
    if (line.size() >= 2 && line[0] == '.' && line[1] == '.') line.erase(0, 1);
    return true;
}

void Scanner::clearRecord() {
    std::memset(&rec_, 0, sizeof rec_);
    to_.clear();
    cc_.clear();
    files_.clear();
    outputFiles_ = 0;
    text_.clear();
    text_.reserve(512);
    contexts_.clear();
    out_.close();
    overflow_.close();
    inHeaders_ = true;
    firstBodyLine_ = true;
    mime_ = false;
    inAttachment_ = false;
    textEnded_ = false;
    textOverflow_ = false;
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
    error_ = false;
    if (!spool_.isOpen() || count_ < 1) return nullptr;
    reader_.restore(firstMessageAt_);
    return scanMessage();
}

const TernScanRecord* Scanner::getNext() {
    clearRecord();
    ++current_;
    if (!spool_.isOpen() || current_ > count_ || error_) return nullptr;
    return scanMessage();
}

const TernScanRecord* Scanner::scanMessage() {
    // Find the message's begin line; none means the spool holds no further message.
    bool found = false;
    while (readLine(line_))
        if (line_.find("BEGIN MESSAGE") != std::string::npos) {
            found = true;
            break;
        }
    if (!found) return nullptr;
    while (!error_) {
        if (!readLine(line_) || containsEndMessage(line_)) break;
        const bool terminator = line_ == ".";
        if (!terminator && line_.size() >= 2 && line_[0] == '.' && line_[1] == '.')
            line_.erase(0, 1);
        if (inHeaders_ && !terminator)
            headerLine(line_);
        else {
            inHeaders_ = false;
            bodyLine(line_, terminator);
        }
    }
    out_.close();
    overflow_.close();
    if (error_) return nullptr;
    finishRecord();
    return &rec_;
}

} // namespace lx::mime
