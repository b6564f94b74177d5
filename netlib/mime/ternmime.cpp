// The exported MIME functions of TERN32: handles in, results out, no exception crosses them.
#include "netlib/mime/ternmime.h"

#include <cstring>
#include <new>

#include "netlib/mime/handletable.h"
#include "netlib/mime/preparer.h"
#include "netlib/mime/scanner.h"

using lx::mime::HandleTable;
using lx::mime::Preparer;
using lx::mime::Scanner;

namespace {

using Preparers = HandleTable<Preparer, lx::net::HandleKind::MimePreparer>;
using Scanners = HandleTable<Scanner, lx::net::HandleKind::MimeScanner>;

Preparers preparers() { return {}; }
Scanners scanners() { return {}; }

template <typename F>
int32_t withPreparer(TernMimeHandle h, F f) {
    Preparer* p = preparers().find(h);
    if (!p) return -4;
    try {
        return f(*p);
    } catch (...) { // out of memory and the like
        return -2;
    }
}

template <typename F>
TernScanRecord* withScanner(TernMimeHandle h, F f) {
    Scanner* s = scanners().find(h);
    if (!s) return nullptr;
    try {
        return const_cast<TernScanRecord*>(f(*s));
    } catch (...) {
        return nullptr;
    }
}

} // namespace

extern "C" {

int32_t TERNMIME_API TERNMimePrepStart(const char* spoolPath, const char* sender,
                                       TernMimeHandle* handle) {
    if (!handle) return -4;
    try {
        auto p = std::make_unique<Preparer>(spoolPath ? spoolPath : "", sender);
        TernMimeHandle h = preparers().add(std::move(p));
        if (!h) return -1;
        *handle = h;
        return 0;
    } catch (...) {
        return -1;
    }
}

int32_t TERNMIME_API TERNMimePrepNewMesg(TernMimeHandle h, const char* sender) {
    return withPreparer(h, [&](Preparer& p) { return p.newMessage(sender); });
}

int32_t TERNMIME_API TERNMimePrepTO(TernMimeHandle h, const char* address) {
    return withPreparer(h, [&](Preparer& p) { return p.addTo(address); });
}

int32_t TERNMIME_API TERNMimePrepCC(TernMimeHandle h, const char* address) {
    return withPreparer(h, [&](Preparer& p) { return p.addCc(address); });
}

int32_t TERNMIME_API TERNMimePrepSubj(TernMimeHandle h, const char* subject) {
    return withPreparer(h, [&](Preparer& p) { return p.setSubject(subject); });
}

int32_t TERNMIME_API TERNMimePrepFile(TernMimeHandle h, const char* path) {
    return withPreparer(h, [&](Preparer& p) { return p.addFile(path); });
}

int32_t TERNMIME_API TERNMimePrepData(TernMimeHandle h, const char* bytes, int32_t length) {
    return withPreparer(h, [&](Preparer& p) {
        if (length < 0) return -2;
        return p.addData(reinterpret_cast<const std::uint8_t*>(bytes),
                         static_cast<std::size_t>(length));
    });
}

int32_t TERNMIME_API TERNMimePrepEndMesg(TernMimeHandle h) {
    return withPreparer(h, [&](Preparer& p) { return p.endMessage(); });
}

int32_t TERNMIME_API TERNMimePrepFinish(TernMimeHandle h) {
    std::unique_ptr<Preparer> p = preparers().take(h);
    if (!p) return -4;
    try {
        p->finish();
    } catch (...) {}
    return 0;
}

int32_t TERNMIME_API TERNMimeScanStart(const char* spoolPath, const char* attachDir,
                                       TernMimeHandle* handle) {
    if (!handle) return -4;
    try {
        auto s = std::make_unique<Scanner>(spoolPath ? spoolPath : "", attachDir ? attachDir : "");
        TernMimeHandle h = scanners().add(std::move(s));
        if (!h) return -1;
        *handle = h;
        return 0;
    } catch (...) {
        return -1;
    }
}

int32_t TERNMIME_API TERNMimeScanNumMessages(TernMimeHandle h, int32_t* count) {
    Scanner* s = scanners().find(h);
    if (!s) return -4;
    if (count) *count = s->messageCount();
    return 0;
}

TernScanRecord* TERNMIME_API TERNMimeScanGetFirst(TernMimeHandle h) {
    return withScanner(h, [](Scanner& s) { return s.getFirst(); });
}

TernScanRecord* TERNMIME_API TERNMimeScanGetNext(TernMimeHandle h) {
    return withScanner(h, [](Scanner& s) { return s.getNext(); });
}

int32_t TERNMIME_API TERNMimeScanLastError(TernMimeHandle h, int32_t* flags) {
    Scanner* s = scanners().find(h);
    if (!s) return -4;
    if (flags) *flags = s->lastError();
    return 0;
}

int32_t TERNMIME_API TERNMimeScanSystemError(TernMimeHandle h, int32_t* code) {
    Scanner* s = scanners().find(h);
    if (!s) return -4;
    if (code) *code = s->systemError();
    return 0;
}

int32_t TERNMIME_API TERNMimeScanClose(TernMimeHandle h) {
    std::unique_ptr<Scanner> s = scanners().take(h);
    if (!s) return -4;
    return 0;
}

} // extern "C"
