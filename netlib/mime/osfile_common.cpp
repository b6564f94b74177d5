// Platform-independent parts of OsFile: taking and giving up a handle, the write buffer, moves.
#include "netlib/mime/osfile.h"

#include <cstring>
#include <utility>

namespace lx::mime {

OsFile::~OsFile() { close(); }

OsFile::OsFile(OsFile&& other) noexcept { *this = std::move(other); }

OsFile& OsFile::operator=(OsFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        pos_ = other.pos_;
        wbuf_ = std::move(other.wbuf_);
        wlen_ = other.wlen_;
        failed_ = other.failed_;
        other.handle_ = kNone;
        other.wlen_ = 0;
    }
    return *this;
}

bool OsFile::adopt(std::intptr_t handle) {
    handle_ = handle;
    pos_ = 0;
    failed_ = false;
    wlen_ = 0;
    return true;
}

bool OsFile::close() {
    if (!isOpen()) return true;
    const bool ok = flush();
    rawClose(handle_);
    handle_ = kNone;
    return ok;
}

char* OsFile::reserveAfterFlush(std::size_t n) {
    if (!isOpen() || n > kWriteBuffer) return nullptr;
    if (!wbuf_) wbuf_.reset(new char[kWriteBuffer]);
    if (wlen_ + n > kWriteBuffer && !flush()) return nullptr;
    return wbuf_.get() + wlen_;
}

bool OsFile::write(const void* buf, std::size_t n) {
    if (!isOpen()) return false;
    if (n >= kWriteBuffer) { // too large to gather: written straight through
        pos_ += static_cast<std::int64_t>(n);
        if (!flush()) return false;
        if (!rawWrite(buf, n)) failed_ = true;
        return !failed_;
    }
    char* room = reserve(n);
    if (!room) return false;
    std::memcpy(room, buf, n);
    commit(n);
    return !failed_;
}

bool OsFile::writeLine(const void* buf, std::size_t n) {
    if (n + 2 > kWriteBuffer) return write(buf, n) && write("\r\n", 2);
    char* room = reserve(n + 2);
    if (!room) return false;
    std::memcpy(room, buf, n);
    room[n] = '\r';
    room[n + 1] = '\n';
    commit(n + 2);
    return !failed_;
}

bool OsFile::flush() {
    if (!isOpen()) return false;
    if (wlen_ > 0) {
        if (!rawWrite(wbuf_.get(), wlen_)) failed_ = true;
        wlen_ = 0;
    }
    return !failed_;
}

bool isPathSep(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

} // namespace lx::mime
