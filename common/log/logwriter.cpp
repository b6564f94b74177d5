#include "common/log/logwriter.h"

#include <vector>

#ifdef _WIN32
#include <share.h>
#endif

namespace lx {

namespace {

constexpr const char* kDateStampKey = "MAINFRM_CPP_22";
constexpr const char* kClosingStampKey = "MAINFRM_CPP_27";
constexpr const char* kBusyKey = "MAINFRM_CPP_41";
constexpr const char* kExitKey = "MAINFRM_CPP_43";

// Appending: every write lands at the end of the file. Nobody else may open the log
// while a run writes it.
std::FILE* OpenForAppend(const std::string& path) {
#ifdef _WIN32
    return _fsopen(path.c_str(), "ab", _SH_DENYRW);
#else
    return std::fopen(path.c_str(), "ab");
#endif
}

} // namespace

std::string FormatLogStamp(const char* format, const LogTime& t) {
    std::vector<FormatArg> args{t.month, t.day, t.year, t.hour, t.minute, t.second};
    std::string out;
    if (FormatText(format, args, out)) return out;
    FormatText("%02d/%02d/%04d %02d:%02d:%02d", args, out);
    return out;
}

LogWriter::~LogWriter() {
    std::lock_guard<std::mutex> hold(lock_);
    if (file_) std::fclose(file_);
}

bool LogWriter::Open(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock_);
    if (file_) std::fclose(file_);
    file_ = OpenForAppend(path);
    return file_ != nullptr;
}

bool LogWriter::IsOpen() const {
    std::lock_guard<std::mutex> hold(lock_);
    return file_ != nullptr;
}

void LogWriter::WriteLocked(const std::string& text) {
    if (!file_) return;
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fwrite("\r\n", 1, 2, file_);
    // Entries reach the disk as they happen, so a run that never ends still shows its progress.
    std::fflush(file_);
}

void LogWriter::WriteEntry(const char* text) {
    std::lock_guard<std::mutex> hold(lock_);
    WriteLocked(text ? text : "");
}

void LogWriter::WriteMessage(MessageCatalog& catalog, const char* key) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!file_) return;
    WriteLocked(CatalogText(&catalog, key));
}

void LogWriter::WriteMessage(MessageCatalog& catalog, const char* key,
                             const std::vector<FormatArg>& args) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!file_) return;
    const char* text = catalog.Lookup(key);
    std::string entry;
    if (!FormatText(text, args, entry)) {
        // Keep what the run reported even when the catalogue text is faulty.
        entry = text ? text : "";
        for (const FormatArg& arg : args)
            entry += " " + (arg.IsText() ? arg.Text() : std::to_string(arg.Number()));
    }
    WriteLocked(entry);
}

void LogWriter::WriteDateStamp(MessageCatalog& catalog, const LogTime& t) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!file_) return;
    WriteLocked(FormatLogStamp(catalog.Lookup(kDateStampKey), t));
}

void LogWriter::CloseLocked(MessageCatalog& catalog, const LogTime& t) {
    if (!file_) return;
    WriteLocked(FormatLogStamp(catalog.Lookup(kClosingStampKey), t) + "\r\n");
    std::fclose(file_);
    file_ = nullptr;
}

void LogWriter::CloseRun(MessageCatalog& catalog, const LogTime& t) {
    std::lock_guard<std::mutex> hold(lock_);
    CloseLocked(catalog, t);
}

void LogWriter::CloseAtExit(MessageCatalog& catalog, const LogTime& t) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!file_) return;
    WriteLocked(CatalogText(&catalog, kExitKey));
    CloseLocked(catalog, t);
}

void LogWriter::WriteBusyBlock(const std::string& path, MessageCatalog& catalog, const LogTime& t) {
    if (IsOpen()) {
        // A run already holds the log: the busy notice joins its block.
        WriteDateStamp(catalog, t);
        WriteMessage(catalog, kBusyKey);
        return;
    }
    if (!Open(path)) return;
    WriteDateStamp(catalog, t);
    WriteMessage(catalog, kBusyKey);
    CloseRun(catalog, t);
}

} // namespace lx
