#include "netlib/mime/linereader.h"

#include <cstring>

#include "netlib/mime/scanutil.h"

namespace lx::mime {

LineReader::LineReader(OsFile& file, std::size_t bufferSize)
    : file_(file), size_(bufferSize < 4096 ? 4096 : bufferSize) {
    buf_.reset(new char[size_]);
    bufStart_ = file_.isOpen() ? file_.position() : 0;
}

bool LineReader::fill() {
    if (eof_ || !file_.isOpen()) return false;
    if (pos_ > 0) {
        std::memmove(buf_.get(), buf_.get() + pos_, end_ - pos_);
        bufStart_ += static_cast<std::int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == size_) return false;
    long long got = file_.read(buf_.get() + end_, size_ - end_);
    if (got <= 0) {
        eof_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

bool LineReader::next(std::string& line) {
    // Up to 999 characters, a CR and the LF: 1001 bytes decide every line.
    constexpr std::size_t kWindow = kMaxLine + 2;
    for (;;) {
        const std::size_t avail = end_ - pos_;
        const std::size_t look = avail < kWindow ? avail : kWindow;
        const char* start = buf_.get() + pos_;
        const char* lf = findByte(start, look, '\n');
        if (lf) {
            std::size_t len = static_cast<std::size_t>(lf - start);
            std::size_t content = (len > 0 && start[len - 1] == '\r') ? len - 1 : len;
            if (content > kMaxLine) {
                pos_ += kMaxLine + 1;
                return false;
            }
            line.assign(start, content);
            pos_ += len + 1;
            return true;
        }
        if (avail >= kWindow) { // no line end within reach: the line is too long
            pos_ += kMaxLine + 1;
            return false;
        }
        if (fill()) continue;
        // End of file: what is left is the last, unterminated line.
        if (avail == 0) return false;
        std::size_t content = (start[avail - 1] == '\r') ? avail - 1 : avail;
        if (content > kMaxLine) {
            pos_ += kMaxLine + 1;
            return false;
        }
        line.assign(start, content);
        pos_ += avail;
        return true;
    }
}

void LineReader::restore(std::int64_t position) {
    if (position >= bufStart_ && position <= bufStart_ + static_cast<std::int64_t>(end_)) {
        pos_ = static_cast<std::size_t>(position - bufStart_);
        return;
    }
    if (!file_.seek(position)) return;
    bufStart_ = position;
    pos_ = end_ = 0;
    eof_ = false;
}

} // namespace lx::mime
