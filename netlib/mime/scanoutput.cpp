// Output files of the scanner (attachments, uuencoded files, the overflow text) and the
// message text with its size limit.
#include "netlib/mime/safename.h"
#include "netlib/mime/scanner.h"
#include "netlib/mime/uniquefile.h"

namespace lx::mime {

bool Scanner::openOutput(const std::string& givenName, OsFile& file) {
    file.close();
    if (outputFiles_ >= kMaxOutputFiles) { // the message's data stays bounded: the host hears of it
        flags_ |= kScanFilesLost;
        return false;
    }
    const std::string folder = attachDir_.empty() ? tempFolder() : attachDir_;
    const std::string name = safeLeafName(givenName);
    std::string path;
    if (!name.empty()) {
        path = joinPath(folder, name);
        if (!file.open(path, OsFile::Mode::CreateNew)) path.clear();
    }
    if (path.empty()) {
        // A unique "QBT" name that keeps the given name's extension (everything after its first full stop).
        const std::size_t dot = name.find('.');
        const std::string ext =
            dot == std::string::npos || dot + 1 >= name.size() ? ".TMP" : name.substr(dot);
        path = createUnique(folder, "QBT", 4, ext, file);
        if (path.empty()) {
            notSaved(file);
            return false;
        }
    }
    ++outputFiles_;
    if (files_.size() < TERN_SCAN_MAX_FILES) files_.push_back(path);
    return true;
}

void Scanner::closeOutput(OsFile& file) {
    if (file.isOpen() && !file.close()) notSaved(file);
}

void Scanner::notSaved(const OsFile& file) {
    flags_ |= kScanNotSaved;
    systemError_ = file.systemError();
}

void Scanner::addText(const char* p, std::size_t n) {
    if (textEnded_) return;
    if (textOverflow_) {
        if (overflow_.isOpen()) overflow_.writeLine(p, n);
        return;
    }
    if (text_.size() + n + 3 <= kMaxTextBytes) {
        text_.append(p, n);
        text_.append("\r\n", 2);
        return;
    }
    // The text no longer fits the record: it goes on in "TEXTFILE.TXT".
    textOverflow_ = true;
    if (openOutput("TEXTFILE.TXT", overflow_)) {
        overflow_.write(text_);
        overflow_.writeLine(p, n);
    }
    text_.clear();
}

void Scanner::endText() {
    textEnded_ = true;
    closeOutput(overflow_);
}

} // namespace lx::mime
