// OsFile on Windows: CreateFile with the sharing and creation modes the spool files need.
#include "netlib/mime/osfile.h"

#include <windows.h>

namespace lx::mime {

namespace {
HANDLE asHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }
} // namespace

bool OsFile::open(const std::string& path, Mode mode) {
    close();
    existed_ = false;
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case Mode::ReadWriteExisting: break;
    case Mode::ReadExisting: access = GENERIC_READ; break;
    case Mode::CreateAlways: disposition = CREATE_ALWAYS; break;
    case Mode::CreateNew: disposition = CREATE_NEW; break;
    }
    HANDLE h = CreateFileA(path.c_str(), access, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE && mode == Mode::ReadWriteExisting &&
        GetLastError() == ERROR_ACCESS_DENIED)
        h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        existed_ = e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS;
        systemError_ = static_cast<int>(e);
        return false;
    }
    if (GetFileType(h) != FILE_TYPE_DISK) { // never a device such as CON or a pipe
        CloseHandle(h);
        return false;
    }
    return adopt(reinterpret_cast<std::intptr_t>(h));
}

void OsFile::rawClose(std::intptr_t handle) { CloseHandle(asHandle(handle)); }

long long OsFile::read(void* buf, std::size_t n) {
    if (!isOpen() || !flush()) return -1;
    DWORD got = 0;
    if (n > 0x40000000u) n = 0x40000000u;
    if (!ReadFile(asHandle(handle_), buf, static_cast<DWORD>(n), &got, nullptr)) return -1;
    pos_ += got;
    return got;
}

bool OsFile::rawWrite(const void* buf, std::size_t n) {
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        DWORD chunk = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
        DWORD put = 0;
        if (!WriteFile(asHandle(handle_), p, chunk, &put, nullptr) || put == 0) {
            systemError_ = static_cast<int>(GetLastError());
            return false;
        }
        p += put;
        n -= put;
    }
    return true;
}

bool OsFile::seek(std::int64_t pos) {
    if (!isOpen() || !flush()) return false;
    LARGE_INTEGER li;
    li.QuadPart = pos;
    if (!SetFilePointerEx(asHandle(handle_), li, nullptr, FILE_BEGIN)) return false;
    pos_ = pos;
    return true;
}

bool removeFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string tempFolder() {
    char buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof buf, buf);
    if (n == 0 || n > 128) return std::string("."); // the folder must fit its 128 characters
    return std::string(buf, n);
}

unsigned processTag() { return static_cast<unsigned>(GetCurrentProcessId()); }

} // namespace lx::mime
