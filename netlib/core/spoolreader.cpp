#include "netlib/core/spoolreader.h"

namespace lx::net {

void SpoolReader::attach(SpoolFile* file) {
    file_ = file;
    pos_ = fill_ = 0;
    base_ = 0;
}

int SpoolReader::get() {
    if (pos_ == fill_) {
        if (!file_) return -1;
        base_ += static_cast<std::int64_t>(fill_);
        pos_ = fill_ = 0;
        const long n = file_->read(buf_, sizeof buf_);
        if (n <= 0) return -1;
        fill_ = static_cast<std::size_t>(n);
    }
    return static_cast<unsigned char>(buf_[pos_++]);
}

bool SpoolReader::next(std::string& line) {
    line.clear();
    bool any = false;
    bool tooLong = false;
    for (;;) {
        const int c = get();
        if (c < 0) break;
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxLine)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (tooLong || line.size() >= kMaxLine) return false;
    return any;
}

bool SpoolReader::peek(std::string& line) {
    const std::int64_t at = tell();
    const bool ok = next(line);
    return restore(at) && ok;
}

bool SpoolReader::restore(std::int64_t pos) {
    if (pos >= base_ && pos <= base_ + static_cast<std::int64_t>(fill_)) {
        pos_ = static_cast<std::size_t>(pos - base_);
        return true;
    }
    if (!file_ || !file_->seek(pos)) return false;
    base_ = pos;
    pos_ = fill_ = 0;
    return true;
}

} // namespace lx::net
