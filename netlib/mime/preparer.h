// The MIME preparer: turns a batch of outgoing messages, handed over field by field, into the
// outgoing spool file that the SMTP client sends from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "netlib/mime/osfile.h"
#include "netlib/mime/stamp.h"
#include "netlib/mime/textintake.h"

namespace lx::mime {

class Preparer {
public:
    using Clock = std::function<StampTime()>;

    // Creates the spool file afresh. A sender of 127 characters or more is replaced by an empty
    // one. Without a spool file the preparer still works but every message end fails.
    Preparer(const std::string& spoolPath, const char* sender, Clock clock = readClock);
    ~Preparer();
    Preparer(const Preparer&) = delete;
    Preparer& operator=(const Preparer&) = delete;

    // Results: 0 success, -2 refused or failed.
    int newMessage(const char* sender);
    int addTo(const char* address) { return addEntry(to_, address); }
    int addCc(const char* address) { return addEntry(cc_, address); }
    int addFile(const char* path) { return addEntry(files_, path); }
    int setSubject(const char* subject);
    int addData(const std::uint8_t* bytes, std::size_t length);
    int endMessage();
    // Rewrites the count line, closes the spool file and drops the scratch file.
    int finish();

    int messageCount() const { return count_; }
    const std::string& scratchPath() const { return scratchPath_; }

private:
    int addEntry(std::vector<std::string>& list, const char* text);
    void dropScratch();
    void writeEnvelope();
    void writeData();
    void writeText(const std::string& partHeaders);
    void writeFilePart(const std::string& path);
    void put(const std::string& s); // data section bytes, counted

    int count_ = 0;
    std::uint64_t dataCount_ = 0;
    std::string date_, messageId_, sender_, firstSender_, subject_, boundary_;
    std::vector<std::string> to_, cc_, files_;
    OsFile spool_, scratch_;
    std::string scratchPath_;
    std::string scratchFolder_;
    bool eightBit_ = false;
    bool windowsBytes_ = false; // the text holds a byte 0x80..0x9F
    bool countLineWritten_ = false;
    bool messageOpen_ = false; // between newMessage and endMessage
    TextIntake intake_;
    Clock clock_;
};

} // namespace lx::mime
