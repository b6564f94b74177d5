// Reads the outgoing spool file line by line, with the peek the SMTP session needs.
#ifndef LX_NETLIB_CORE_SPOOLREADER_H
#define LX_NETLIB_CORE_SPOOLREADER_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "netlib/core/sessionport.h"

namespace lx::net {

class SpoolReader {
public:
    // Lines of this many characters or more are refused.
    static constexpr std::size_t kMaxLine = 1000;

    void attach(SpoolFile* file);
    // The next line without its CR LF. False at the end of the file, on a read error, and for an
    // over-long line (which is skipped up to its line end).
    bool next(std::string& line);
    // Reads the next line and goes back to where it started.
    bool peek(std::string& line);

private:
    int get(); // next byte, or -1 at the end / on error
    std::int64_t tell() const { return base_ + static_cast<std::int64_t>(pos_); }
    bool restore(std::int64_t pos);

    SpoolFile* file_ = nullptr;
    char buf_[8192];
    std::size_t pos_ = 0;
    std::size_t fill_ = 0;
    std::int64_t base_ = 0; // file offset of buf_[0]
};

} // namespace lx::net

#endif
