// The small file layer under the MIME preparer and scanner: the only place that talks to the
// operating system, so the logic above it builds the same on Windows and natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lx::mime {

#ifdef _WIN32
constexpr char kPathSep = '\\';
#else
constexpr char kPathSep = '/';
#endif

// True for the characters that separate folders on this platform ('\\' and '/' on Windows).
bool isPathSep(char c);

class OsFile {
public:
    enum class Mode {
        ReadWriteExisting, // existing only, read and write, not shared (falls back to read only)
        ReadExisting,      // existing only, read, not shared
        CreateAlways,      // created afresh, replacing; read and write, not shared
        CreateNew,         // created only when it does not exist yet
    };

    OsFile() = default;
    ~OsFile();
    OsFile(const OsFile&) = delete;
    OsFile& operator=(const OsFile&) = delete;
    OsFile(OsFile&& other) noexcept;
    OsFile& operator=(OsFile&& other) noexcept;

    bool open(const std::string& path, Mode mode);
    bool isOpen() const { return handle_ != kNone; }
    // After a failed open: whether it failed only because the file exists already.
    bool existed() const { return existed_; }
    // The platform's error code (GetLastError, errno) of the last open or write that failed; 0
    // when none has.
    int systemError() const { return systemError_; }
    // Flushes pending writes and closes; false when a pending write failed.
    bool close();

    // Reads up to n bytes: the count, 0 at end of file, -1 on error.
    long long read(void* buf, std::size_t n);
    // Writes are gathered in a buffer; false once any write has failed.
    bool write(const void* buf, std::size_t n);
    bool write(const std::string& s) { return write(s.data(), s.size()); }
    // The bytes and CR LF after them.
    bool writeLine(const void* buf, std::size_t n);
    // Room for n more bytes at the end of the write buffer (what is pending is written out first
    // when they would not fit), so a decoder can write there in place; commit() then takes the
    // count it wrote. Null when the file is not open, the pending bytes cannot be written, or n
    // exceeds the buffer.
    char* reserve(std::size_t n) { // inline: the scanner asks once per attachment line
        if (wbuf_ && n <= kWriteBuffer - wlen_ && isOpen()) return wbuf_.get() + wlen_;
        return reserveAfterFlush(n);
    }
    void commit(std::size_t n) {
        wlen_ += n;
        pos_ += static_cast<std::int64_t>(n);
    }
    bool flush();
    // Absolute positioning (pending writes are flushed first).
    bool seek(std::int64_t pos);
    std::int64_t position() const { return pos_; }

    static constexpr std::size_t kWriteBuffer = 64 * 1024;

private:
    char* reserveAfterFlush(std::size_t n); // reserve() when the buffer is missing or full
    bool rawWrite(const void* buf, std::size_t n);
    static void rawClose(std::intptr_t handle);
    // Takes an opened platform handle as the file's, at its start with nothing pending: true.
    bool adopt(std::intptr_t handle);
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
    std::int64_t pos_ = 0;         // logical position including buffered bytes
    std::unique_ptr<char[]> wbuf_; // taken at the first write; never cleared, only written
    std::size_t wlen_ = 0;         // bytes pending in wbuf_
    bool failed_ = false;
    bool existed_ = false;
    int systemError_ = 0;
};

bool removeFile(const std::string& path);
// The system's folder for temporary files, without a trailing separator guarantee.
std::string tempFolder();
// A per-process number that differs between processes running at once (used in unique names).
unsigned processTag();

} // namespace lx::mime
