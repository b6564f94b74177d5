// The MIME scanner: reads the incoming spool file one message at a time and fills a
// TernScanRecord per message, decoding attachments into files of the attachment folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <memory>

#include "netlib/mime/bytesource.h"
#include "netlib/mime/codecs.h"
#include "netlib/mime/linereader.h"
#include "netlib/mime/osfile.h"
#include "netlib/mime/scanrecord.h"

namespace lx::mime {

constexpr std::size_t kMaxTextBytes = 32000; // the record's text, terminator included
constexpr std::size_t kMaxBoundary = 127;
constexpr std::size_t kMaxContexts = 64; // deeper nesting is a malformed message
constexpr int kMaxOutputFiles =
    256; // files one message may create; further attachments lose their data

// What went wrong in the message last returned (bits, as TERNMimeScanLastError gives them).
enum ScanFlags : int {
    kScanSound = 0,
    kScanMalformed = 1, // TERN_SCAN_MALFORMED
    kScanCutShort = 2,  // TERN_SCAN_CUT_SHORT
    kScanNotSaved = 4,  // TERN_SCAN_NOT_SAVED
    kScanFilesLost = 8, // TERN_SCAN_FILES_LOST
};

enum Encoding : int { kEnc7bit = 0, kEncBase64 = 1, kEncQuoted = 2, kEncOther = 3 };

struct ContentContext {
    bool multipart = false;
    char type = 't'; // 't', 'i', 'v', 'a' or 'm'
    int encoding = kEnc7bit;
    std::string boundary; // upper case; a part inherits the one of its enclosing multipart
};

class Scanner {
public:
    // An empty attachment folder means the system's temporary folder.
    Scanner(const std::string& spoolPath, const std::string& attachDir);
    // Reads the spool from any source (tests feed memory in chunks of every size).
    Scanner(std::unique_ptr<ByteSource> source, const std::string& attachDir,
            std::size_t readBuffer = kReadBlock);
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    int messageCount() const { return count_; }
    const TernScanRecord* getFirst();
    const TernScanRecord* getNext();
    // The ScanFlags of the message last returned.
    int lastError() const { return flags_; }
    // The platform's error code of the file that could not be saved (kScanNotSaved), else 0.
    int systemError() const { return systemError_; }

private:
    // One line of the current message, dot-stuffing undone. False (with the position kept) at
    // the message's end: the line holding a single full stop followed by the "END MESSAGE" line
    // or by the end of the file; also false at the end of the file.
    bool readPartLine(std::string_view& line); // valid until the next read or restore
    bool readPartLine(std::string& line);
    bool readLine(std::string& line) { return reader_.next(line); } // any line, raw
    void readCountLine();
    const TernScanRecord* scanMessage();
    void finishMessage(); // consumes the full stop and "END MESSAGE" lines
    void clearRecord();
    void finishRecord();

    // headers
    void headerLine(const std::string& line);
    std::string unfoldedValue(const std::string& line, std::size_t start);
    void addressList(const std::string& line, std::size_t start, bool cc);
    void keepAddress(std::string item, bool cc);
    void contentType(const std::string& line, std::size_t valueStart);
    int peekEncoding();
    void readBoundary(const std::string& value, ContentContext& ctx);

    // body (a line is a view into the reader's buffer: used up before any further line is read)
    void bodyLine(std::string_view line);
    void nonMimeLine(std::string_view line);
    void uudecodeFile(std::string_view line);
    enum class BoundaryKind { None, Part, Close, Error };
    BoundaryKind classifyBoundary(std::string_view line, std::size_t& owner) const;
    void newPart(std::size_t owner);
    void attachmentLine(std::string_view line);
    // Room for n decoded bytes of the attachment: in its file's write buffer, so they are not
    // copied again on their way out, or in decoded_ (a line too long for the buffer, or no file).
    // keepOutput() then takes the count written there.
    char* outputRoom(std::size_t n);
    void keepOutput(const char* room, std::size_t n);
    void endAttachment();
    void textLine(std::string_view line);
    void flushSoftText();

    // output files and text
    bool openOutput(const std::string& givenName, OsFile& file);
    // Closes an output file; a file that could not be written whole marks the message.
    void closeOutput(OsFile& file);
    void notSaved(const OsFile& file);
    void addText(const char* p, std::size_t n);
    void addText(const std::string& s) { addText(s.data(), s.size()); }
    void endText();

    std::unique_ptr<ByteSource> source_;
    LineReader reader_;
    std::string attachDir_;
    int count_ = 0;
    int current_ = 1;
    std::int64_t firstMessageAt_ = 0;

    // per message
    bool error_ =
        false; // a structural error: the rest of the message goes to the text as it stands
    int flags_ = kScanSound;
    int systemError_ = 0;
    bool inHeaders_ = true, mime_ = false, inAttachment_ = false, firstBodyLine_ = true;
    bool textEnded_ = false, textOverflow_ = false;
    std::vector<ContentContext> contexts_; // the last one is the current context
    OsFile out_;                           // the attachment being written
    OsFile overflow_;                      // "TEXTFILE.TXT" once the text no longer fits the record
    std::string text_;
    std::string
        softText_; // quoted-printable text up to a soft line break, joined with what follows
    bool softPending_ = false;
    int headerEncoding_ = -1; // a Content-Transfer-Encoding header of the message, -1: none
    Base64Stream base64_;     // the base64 attachment being written
    std::vector<std::string> to_, cc_, files_;
    int outputFiles_ = 0;
    std::string line_, peek_, scratch_;
    std::string decoded_;
    char tooLarge_[64] = {};
    TernScanRecord rec_{};
};

} // namespace lx::mime
