#include "mailer/transfer/store/pop3scan.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/clock/localtime.h"
#include "common/schema/newmessage.h"
#include "common/schema/schema.h"
#include "common/schema/sqlforms.h"
#include "mailer/transfer/logic/filterfile.h"
#include "mailer/transfer/logic/pop3stat_rules.h"
#include "mailer/transfer/logic/retrieved.h"
#include "mailer/transfer/store/folderlookup.h"
#include "netlib/mime/ternmime.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace lx {

namespace {

// The scanner, closed on every way out.
class ScannerHeld {
public:
    explicit ScannerHeld(const ScanJob& job) {
        if (TERNMimeScanStart(job.spoolPath.c_str(), job.attachDir.c_str(), &handle_) != 0)
            handle_ = 0;
    }
    ~ScannerHeld() {
        if (handle_) TERNMimeScanClose(handle_);
    }
    ScannerHeld(const ScannerHeld&) = delete;
    ScannerHeld& operator=(const ScannerHeld&) = delete;
    TernMimeHandle Get() const { return handle_; }

private:
    TernMimeHandle handle_ = 0;
};

// The platform's own words for an error code of the file layer.
std::string SystemText(int code) {
#ifdef _WIN32
    char text[512] = "";
    const DWORD n =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string words(text, n);
#else
    std::string words = std::strerror(code);
#endif
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    if (words.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "error %d", code);
        words = number;
    }
    return words;
}

// The whole scan is one store transaction: a scan that fails, or a program that ends in the
// middle of it, leaves none of its rows behind, so every message is either stored or still on
// the server (which deletes only once the scan has been committed). An engine that refuses the
// transaction stores message by message, as it would without one.
class ScanTransaction {
public:
    explicit ScanTransaction(odbcvantConnection* conn)
        : conn_(conn), open_(conn && conn->ExecuteDirect("BEGIN") != 0) {}
    ~ScanTransaction() { Rollback(); }
    ScanTransaction(const ScanTransaction&) = delete;
    ScanTransaction& operator=(const ScanTransaction&) = delete;
    bool Commit() {
        if (!open_) return true;
        open_ = false;
        if (conn_->ExecuteDirect("COMMIT")) return true;
        conn_->ExecuteDirect("ROLLBACK");
        return false;
    }
    void Rollback() {
        if (open_) conn_->ExecuteDirect("ROLLBACK");
        open_ = false;
    }

private:
    odbcvantConnection* conn_;
    bool open_;
};

class Scan {
public:
    Scan(odbcvantConnection* conn, const MessageCatalog* catalog, const ScanJob& job,
         const ScanLog& log, ScanCounts& counts)
        : conn_(conn), catalog_(catalog), job_(job), log_(log), counts_(counts) {}

    ScanResult Run() {
        ScannerHeld scanner(job_);
        if (!scanner.Get()) return ScanResult::Failed;
        LoadFilters();
        std::int32_t spoolCount = 0;
        TERNMimeScanNumMessages(scanner.Get(), &spoolCount);
        if (spoolCount <= 0) {
            Log(kKeySpoolEmpty, {});
            return ScanResult::Failed;
        }
        ScanTransaction transaction(conn_);
        const int count = MessagesToScan(spoolCount, job_.messagesStored, job_.messageTotal);
        for (int i = 1; i <= count; ++i) {
            const TernScanRecord* record = Read(scanner.Get(), i == 1);
            if (!record) return Undo(transaction);
            ++counts_.handled;
            KeepFiles(*record);
            std::int32_t flags = 0;
            TERNMimeScanLastError(scanner.Get(), &flags);
            if (flags & TERN_SCAN_NOT_SAVED) {
                // Half a message is not stored: without its files it would look complete.
                std::int32_t code = 0;
                TERNMimeScanSystemError(scanner.Get(), &code);
                Log(kKeyFileNotSaved, {i, job_.attachDir, SystemText(code)});
                return Undo(transaction);
            }
            if (flags & TERN_SCAN_CUT_SHORT) ++counts_.cutShort;
            // Nothing is dropped silently: a damaged message is stored as it came, and said so.
            for (const char* key : ScanFlagKeys(flags)) {
                Log(key, {i});
                damaged_ = true;
            }
            if (!Handle(*record, i)) return Undo(transaction);
            if (job_.betweenMessages) job_.betweenMessages();
        }
        if (!transaction.Commit()) return Undo(transaction);
        return damaged_ ? ScanResult::Damaged : ScanResult::AllStored;
    }

private:
    // The files the scanner wrote for the messages of this scan, removed again when it is undone.
    void KeepFiles(const TernScanRecord& record) {
        for (std::int32_t f = 0; f < record.FileCount && f < TERN_SCAN_MAX_FILES; ++f)
            if (record.Files[f]) files_.emplace_back(record.Files[f]);
    }

    // Nothing of the scan stays: its rows are rolled back and its files removed.
    ScanResult Undo(ScanTransaction& transaction) {
        transaction.Rollback();
        for (const std::string& path : files_) std::remove(path.c_str());
        counts_.stored = 0;
        return ScanResult::Failed;
    }

    // The next record; read on a thread of its own while the caller waits in `whileReading`.
    // The scanner is used by one thread at a time: the caller waits for the reader's end.
    const TernScanRecord* Read(TernMimeHandle scanner, bool first) {
        auto read = [scanner, first] {
            return first ? TERNMimeScanGetFirst(scanner) : TERNMimeScanGetNext(scanner);
        };
        if (!job_.whileReading) return read();
        const TernScanRecord* record = nullptr;
        std::atomic<bool> done{false};
        std::thread reader([&] {
            record = read();
            done = true;
            if (job_.readDone) job_.readDone();
        });
        job_.whileReading([&done] { return done.load(); });
        reader.join();
        return record;
    }

    void LoadFilters() {
        filters_ = FilterList::Load(job_.filterPath);
        if (filters_.Unreadable())
            Log(kKeyFiltersUnreadable, {});
        else
            Log(filters_.Count() > 0 ? kKeyFiltersLoaded : kKeyNoFilters, {});
    }

    // Filters, then the store; false when the store refused the message.
    bool Handle(const TernScanRecord& record, int index) {
        if (filters_.Count() > 0) {
            Log(kKeyFilterCheck, {index});
            const FilterMessage texts = FilterTextsOf(record);
            if (filters_.DeleteMatch(texts)) {
                Log(kKeyFilterDeleted, {});
                ++counts_.deleted;
                return true;
            }
            std::int32_t folderNum = 0;
            std::string folderName;
            if (filters_.FolderMatch(texts, &folderNum, &folderName)) {
                Log(kKeyStoredInFolder, {folderName});
                return Store(record, folderNum, index);
            }
        }
        const FolderChoice folder = DefaultFolder();
        Log(kKeyStoredInFolder, {folder.name});
        return Store(record, folder.number, index);
    }

    FolderChoice DefaultFolder() {
        if (job_.inFolderNum <= 0 && inLookedUp_ < 0)
            inLookedUp_ = FindFolderNum(conn_, kFolderIn, job_.owner);
        return DefaultFolderChoice(job_.defaultFolder, job_.defaultFolderNum,
                                   job_.inFolderNum > 0 ? job_.inFolderNum : inLookedUp_);
    }

    bool Store(const TernScanRecord& record, long folderNum, int index) {
        const NewMessage message =
            RetrievedMessage(record, folderNum, LocalTimeNow(), Text(kKeyNoRecipient));
        long key = -1;
        switch (StoreNewMessage(conn_, message, job_.owner, &key)) {
        case StoreOutcome::Stored: break;
        case StoreOutcome::RowNotWritten: return false;
        case StoreOutcome::KeyNotCertain:
            // The row is kept; children under an uncertain key could land on another message.
            Log(kKeyChildrenNotLinked, {index});
            damaged_ = true;
            break;
        case StoreOutcome::ChildNotWritten: damaged_ = true; break; // reported by the store
        }
        ++counts_.stored;
        return true;
    }

    std::string Text(const char* key) const { return CatalogText(catalog_, key, key); }

    void Log(const char* key, const std::vector<FormatArg>& args) {
        if (!log_) return;
        const std::string format = Text(key);
        log_(args.empty() ? format : FormatTextOr(format.c_str(), args, format));
    }

    odbcvantConnection* conn_;
    const MessageCatalog* catalog_;
    const ScanJob& job_;
    const ScanLog& log_;
    ScanCounts& counts_;
    FilterList filters_;
    std::vector<std::string> files_;
    long inLookedUp_ = -1;
    bool damaged_ = false;
};

} // namespace

ScanResult ScanAndStore(odbcvantConnection* conn, const MessageCatalog* catalog, const ScanJob& job,
                        const ScanLog& log, ScanCounts* counts) {
    ScanCounts local;
    ScanCounts& c = counts ? *counts : local;
    c = ScanCounts{};
    return Scan(conn, catalog, job, log, c).Run();
}

} // namespace lx
