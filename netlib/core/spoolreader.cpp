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

SpoolReader::Read SpoolReader::take(std::string& line, std::int64_t& left, bool& lfEnded) {
    line.clear();
    lfEnded = false;
    bool any = false;
    bool tooLong = false;
    while (left > 0) {
        const int c = get();
        if (c < 0) break;
        any = true;
        --left;
        if (c == '\n') {
            lfEnded = true;
            break;
        }
        if (line.size() < kMaxLine)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!any) return Read::End;
    return tooLong ? Read::TooLong : Read::Line;
}

SpoolReader::Read SpoolReader::read(std::string& line) {
    std::int64_t left = INT64_MAX; // a line has no byte budget: only the file's end limits it
    bool lfEnded = false;
    const Read r = take(line, left, lfEnded);
    if (r == Read::End) return r;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return r == Read::TooLong || line.size() >= kMaxLine ? Read::TooLong : Read::Line;
}

SpoolReader::Read SpoolReader::readData(std::string& line, std::int64_t& left) {
    bool lfEnded = false;
    const Read r = take(line, left, lfEnded);
    if (r == Read::End) return r;
    if (lfEnded && !line.empty() && line.back() == '\r') line.pop_back();
    if (r == Read::TooLong || line.size() >= kMaxLine) return Read::TooLong;
    return lfEnded || left == 0 ? Read::Line : Read::End; // End: the file ended before the count
}

bool SpoolReader::seek(std::int64_t pos) {
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
