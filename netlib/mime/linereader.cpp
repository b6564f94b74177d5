#include "netlib/mime/linereader.h"

#include <cstring>

#include "netlib/mime/scanutil.h"

namespace lx::mime {

LineReader::LineReader(ByteSource& source, std::size_t bufferSize)
    : source_(source), size_(bufferSize < 16 ? 16 : bufferSize) {
    buf_.reset(new char[size_]);
    bufStart_ = source_.isOpen() ? source_.position() : 0;
}

bool LineReader::fill() {
    if (eof_ || !source_.isOpen()) return false;
    if (pos_ > 0) {
        std::memmove(buf_.get(), buf_.get() + pos_, end_ - pos_);
        bufStart_ += static_cast<std::int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == size_) return false;
    const long long got = source_.read(buf_.get() + end_, size_ - end_);
    if (got <= 0) {
        eof_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

bool LineReader::next(std::string_view& line) {
    bool partial = false;     // part of the line has been moved out of a full buffer into long_
    std::size_t searched = 0; // bytes after pos_ known to hold no line end
    for (;;) {
        const char* start = buf_.get() + pos_;
        const std::size_t avail = end_ - pos_;
        if (const char* lf = findByte(start + searched, avail - searched, '\n')) {
            std::size_t len = static_cast<std::size_t>(lf - start);
            pos_ += len + 1;
            if (partial) {
                long_.append(start, len);
                line = long_;
            } else {
                line = std::string_view(start, len);
            }
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        searched = avail;
        if (avail == size_) { // a line longer than the buffer: keep what is here, read on
            if (!partial) long_.clear();
            long_.append(start, avail);
            pos_ = end_;
            partial = true;
            searched = 0;
        }
        if (fill()) continue;
        // The end of the input: what is left is the last, unterminated line.
        if (avail == 0 && !partial) return false;
        if (partial) {
            long_.append(buf_.get() + pos_, end_ - pos_);
            line = long_;
        } else {
            line = std::string_view(buf_.get() + pos_, end_ - pos_);
        }
        pos_ = end_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }
}

bool LineReader::next(std::string& line) {
    std::string_view view;
    if (!next(view)) {
        line.clear();
        return false;
    }
    line.assign(view.data(), view.size());
    return true;
}

void LineReader::restore(std::int64_t position) {
    if (position >= bufStart_ && position <= bufStart_ + static_cast<std::int64_t>(end_)) {
        pos_ = static_cast<std::size_t>(position - bufStart_);
        return;
    }
    if (!source_.seek(position)) return;
    bufStart_ = position;
    pos_ = end_ = 0;
    eof_ = false;
}

} // namespace lx::mime
