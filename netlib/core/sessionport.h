// What a protocol session needs from its surroundings: one stream client socket, a way to post
// status codes to the host, and the spool file. The Win32 shell implements it with a hidden window
// and the library's own stream socket; unit tests implement it with a scripted transcript.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lx::net {

// A spool file opened by a session. Positions are byte offsets from the start of the file.
class SpoolFile {
public:
    virtual ~SpoolFile() = default;
    // Writes all len bytes; false on a short or failed write.
    virtual bool write(const void* data, std::size_t len) = 0;
    // Reads up to len bytes; returns the count (0 at the end of the file), -1 on failure.
    virtual long read(void* data, std::size_t len) = 0;
    virtual bool seek(std::int64_t pos) = 0;
    // Hands what was written so far to the file system (a complete message, for instance).
    virtual bool flush() { return true; }
};

class SessionPort {
public:
    virtual ~SessionPort() = default;

    // Delivers a status code to the host (posted, never called back synchronously).
    virtual void post(int status, std::intptr_t value) = 0;

    virtual bool hasWindow() const = 0;
    virtual bool createSocket() = 0;
    virtual bool connectToPort(const std::string& host, int port) = 0;
    virtual bool connectToService(const std::string& host, const std::string& service) = 0;
    virtual void closeSocket() = 0;
    // Queues one write on the socket; false when it could not be queued.
    virtual bool write(const char* data, std::size_t len) = 0;
    // Takes the oldest received chunk (at most cap bytes); the byte count or -1.
    virtual int read(char* buf, std::size_t cap) = 0;
    // The socket's last error, for the text of a platform error reported with an event.
    virtual int socketError() const = 0;
    // Secures the connected socket with TLS for serverName (whose certificate it must carry). The
    // outcome arrives as TERN_STREAM_SECURED or TERN_STREAM_INSECURE; false when securing cannot
    // even begin (tlsFailure() then says why).
    virtual bool startTls(const std::string& serverName) { return false; }
    // Why securing failed, in the library's words.
    virtual std::string tlsFailure() const { return "This connection cannot be secured"; }
    // Whether more socket events are already waiting for the session (progress reports may then
    // be left to the last of them).
    virtual bool hasPendingEvents() const { return false; }

    // Creates the file afresh (replacing it) or opens an existing one; null on failure.
    virtual std::unique_ptr<SpoolFile> createFile(const std::string& path) = 0;
    virtual std::unique_ptr<SpoolFile> openFile(const std::string& path) = 0;
};

} // namespace lx::net
