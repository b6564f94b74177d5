// Platform-independent parts of OsFile: taking and giving up a handle, the write buffer, moves.
#include "netlib/mime/osfile.h"

#include <utility>

namespace lx::mime {

namespace {
constexpr std::size_t kWriteBuffer = 64 * 1024;
}

OsFile::~OsFile() { close(); }

OsFile::OsFile(OsFile&& other) noexcept { *this = std::move(other); }

OsFile& OsFile::operator=(OsFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        pos_ = other.pos_;
        wbuf_ = std::move(other.wbuf_);
        failed_ = other.failed_;
        other.handle_ = kNone;
        other.wbuf_.clear();
    }
    return *this;
}

bool OsFile::adopt(std::intptr_t handle) {
    handle_ = handle;
    pos_ = 0;
    failed_ = false;
    wbuf_.clear();
    return true;
}

bool OsFile::close() {
    if (!isOpen()) return true;
    const bool ok = flush();
    rawClose(handle_);
    handle_ = kNone;
    return ok;
}

bool OsFile::write(const void* buf, std::size_t n) {
    if (!isOpen()) return false;
    pos_ += static_cast<std::int64_t>(n);
    if (wbuf_.size() + n > kWriteBuffer) {
        if (!flush()) return false;
        if (n >= kWriteBuffer) {
            if (!rawWrite(buf, n)) failed_ = true;
            return !failed_;
        }
    }
    wbuf_.append(static_cast<const char*>(buf), n);
    return !failed_;
}

bool OsFile::flush() {
    if (!isOpen()) return false;
    if (!wbuf_.empty()) {
        if (!rawWrite(wbuf_.data(), wbuf_.size())) failed_ = true;
        wbuf_.clear();
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
