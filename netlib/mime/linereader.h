// Buffered line reading of the incoming spool file. Lines end at LF (a CR right before it is
// dropped) and are read whole whatever their length: a long line never ends the reading. The
// bytes are read in large blocks; the last line may lack its line end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "netlib/mime/bytesource.h"

namespace lx::mime {

// Bytes read at a time: large blocks keep the system calls few.
constexpr std::size_t kReadBlock = 256 * 1024;

class LineReader {
public:
    explicit LineReader(ByteSource& source, std::size_t bufferSize = kReadBlock);

    // The next line without its line end; false at the end of the input with nothing read, or
    // on a read error. The view points into the reader's buffer (no copy per line) and holds
    // until the next call of next() or restore().
    bool next(std::string_view& line);
    bool next(std::string& line);
    // Position of the next line, and going back (or forward) to such a position.
    std::int64_t tell() const { return bufStart_ + static_cast<std::int64_t>(pos_); }
    void restore(std::int64_t position);

private:
    bool fill(); // moves the unread rest to the front and reads more; false when nothing was added

    ByteSource& source_;
    std::unique_ptr<char[]> buf_; // not cleared: only bytes read are ever looked at
    std::size_t size_;
    std::size_t pos_ = 0, end_ = 0;
    std::int64_t bufStart_ = 0; // input position of buf_[0]
    bool eof_ = false;
    std::string long_; // a line longer than the buffer, gathered here
};

} // namespace lx::mime
