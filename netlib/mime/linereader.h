// Buffered line reading of the incoming spool file. Lines end at LF (a CR before it is dropped)
// and hold at most 999 characters; a longer line ends the reading as the end of the file does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "netlib/mime/osfile.h"

namespace lx::mime {

constexpr std::size_t kMaxLine = 999;

class LineReader {
public:
    explicit LineReader(OsFile& file, std::size_t bufferSize = 64 * 1024);

    // The next line without its line end; false at the end of the file with nothing read, on a
    // read error, or on a line of 1000 or more characters (whose first 1000 are consumed).
    bool next(std::string& line);
    // Position of the next line, and going back (or forward) to such a position.
    std::int64_t tell() const { return bufStart_ + static_cast<std::int64_t>(pos_); }
    void restore(std::int64_t position);

private:
    bool fill(); // moves the unread rest to the front and reads more; false when nothing was added

    OsFile& file_;
    std::unique_ptr<char[]> buf_; // not cleared: only bytes read are ever looked at
    std::size_t size_;
    std::size_t pos_ = 0, end_ = 0;
    std::int64_t bufStart_ = 0; // file position of buf_[0]
    bool eof_ = false;
};

} // namespace lx::mime
