// OsFile on POSIX systems (the native build used by tests, fuzzing and benchmarks).
#include "netlib/mime/osfile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lx::mime {

bool OsFile::open(const std::string& path, Mode mode) {
    close();
    int fd = -1;
    switch (mode) {
    case Mode::ReadWriteExisting:
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EROFS))
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        break;
    case Mode::ReadExisting: fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); break;
    case Mode::CreateAlways:
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        break;
    case Mode::CreateNew:
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        break;
    }
    existed_ = fd < 0 && errno == EEXIST;
    if (fd < 0) {
        systemError_ = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) { // never a device or a folder
        ::close(fd);
        return false;
    }
    return adopt(fd);
}

void OsFile::rawClose(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

long long OsFile::read(void* buf, std::size_t n) {
    if (!isOpen() || !flush()) return -1;
    for (;;) {
        ssize_t got = ::read(static_cast<int>(handle_), buf, n);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) pos_ += got;
        return got;
    }
}

bool OsFile::rawWrite(const void* buf, std::size_t n) {
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        ssize_t put = ::write(static_cast<int>(handle_), p, n);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            systemError_ = put < 0 ? errno : ENOSPC;
            return false;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool OsFile::seek(std::int64_t pos) {
    if (!isOpen() || !flush()) return false;
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(pos), SEEK_SET) < 0) return false;
    pos_ = pos;
    return true;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string tempFolder() {
    const char* t = std::getenv("TMPDIR");
    return (t && *t) ? std::string(t) : std::string("/tmp");
}

unsigned processTag() { return static_cast<unsigned>(::getpid()); }

} // namespace lx::mime
