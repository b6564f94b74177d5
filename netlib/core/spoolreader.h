// Reads the outgoing spool file line by line, and the data section of a message by its byte
// count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "netlib/core/sessionport.h"

namespace lx::net {

class SpoolReader {
public:
    // Lines of this many characters or more are refused.
    static constexpr std::size_t kMaxLine = 1000;

    enum class Read {
        Line,    // a line, without its CR LF
        TooLong, // an over-long line, skipped up to its line end
        End,     // the end of the file, or a read error
    };

    void attach(SpoolFile* file);
    Read read(std::string& line);
    // The next line without its CR LF. False at the end of the file, on a read error, and for an
    // over-long line.
    bool next(std::string& line) { return read(line) == Read::Line; }
    // The next line of a data section of which `left` bytes remain: it ends at an LF (CR LF is
    // removed) or where the bytes run out (the line then stands as read). `left` goes down by
    // the bytes taken. End when the file ends first.
    Read readData(std::string& line, std::int64_t& left);

    std::int64_t tell() const { return base_ + static_cast<std::int64_t>(pos_); }
    bool seek(std::int64_t pos);

private:
    int get(); // next byte, or -1 at the end / on error
    // Takes bytes up to an LF (lfEnded) or until `left` runs out; End when there was none.
    Read take(std::string& line, std::int64_t& left, bool& lfEnded);

    SpoolFile* file_ = nullptr;
    char buf_[8192];
    std::size_t pos_ = 0;
    std::size_t fill_ = 0;
    std::int64_t base_ = 0; // file offset of buf_[0]
};

} // namespace lx::net
