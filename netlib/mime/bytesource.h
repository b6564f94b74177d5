// Where the scanner's line reader takes its bytes from: the spool file, or (for tests that
// check the reader against every way of cutting its input) a block of memory handed out in
// chunks of a chosen size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "netlib/mime/osfile.h"

namespace lx::mime {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool isOpen() const = 0;
    // Up to n bytes: the count, 0 at the end, -1 on error.
    virtual long long read(void* buf, std::size_t n) = 0;
    virtual bool seek(std::int64_t pos) = 0;
    virtual std::int64_t position() const = 0;
};

class FileSource : public ByteSource {
public:
    // Opened for reading and writing, not shared, existing only (the spool file's mode).
    explicit FileSource(const std::string& path) {
        file_.open(path, OsFile::Mode::ReadWriteExisting);
    }
    bool isOpen() const override { return file_.isOpen(); }
    long long read(void* buf, std::size_t n) override { return file_.read(buf, n); }
    bool seek(std::int64_t pos) override { return file_.seek(pos); }
    std::int64_t position() const override { return file_.position(); }

private:
    OsFile file_;
};

class MemorySource : public ByteSource {
public:
    // Every read hands out at most chunk bytes (at least one).
    MemorySource(std::string bytes, std::size_t chunk)
        : bytes_(std::move(bytes)), chunk_(chunk ? chunk : 1) {}
    bool isOpen() const override { return true; }
    long long read(void* buf, std::size_t n) override {
        std::size_t left = bytes_.size() - pos_;
        if (n > chunk_) n = chunk_;
        if (n > left) n = left;
        std::memcpy(buf, bytes_.data() + pos_, n);
        pos_ += n;
        return static_cast<long long>(n);
    }
    bool seek(std::int64_t pos) override {
        if (pos < 0 || static_cast<std::uint64_t>(pos) > bytes_.size()) return false;
        pos_ = static_cast<std::size_t>(pos);
        return true;
    }
    std::int64_t position() const override { return static_cast<std::int64_t>(pos_); }

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

} // namespace lx::mime
