#include "common/catalog/msgcatalog.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <share.h>
#endif

namespace lx {

namespace {

// Both programs open their catalogue for reading and deny writers only: a second copy of
// the main program must still read its catalogue to tell the user that one already runs,
// and the viewer reads its own while the main program holds DGROUP.VSF.
std::FILE* OpenCatalogFile(const char* path) {
#ifdef _WIN32
    return _fsopen(path, "rb", _SH_DENYWR);
#else
    return std::fopen(path, "rb");
#endif
}

// Leading decimal digits of text; anything else gives 0. Saturates well above the
// largest message count a header can hold.
long LeadingNumber(const char* text) {
    long n = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (n < 1000000) n = n * 10 + (*text - '0');
    }
    return n;
}

} // namespace

bool CatalogMagicAccepted(const char* field, CatalogMagic rule) {
    std::string text;
    if (rule == CatalogMagic::Exact) {
        return FixedFieldText(field, kCatalogMagicSize, text) && text == kCatalogMagic;
    }
    const void* nul = std::memchr(field, '\0', kCatalogMagicSize);
    size_t len =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : kCatalogMagicSize;
    return std::string(field, len).find("Vellumstack") != std::string::npos;
}

MessageCatalog::~MessageCatalog() { Close(); }

bool MessageCatalog::Open(const char* path, CatalogMagic rule) {
    Close();
    if (!path) return false;
    file_ = OpenCatalogFile(path);
    if (!file_) return false;
    uint8_t bytes[kCatalogHeaderSize];
    bool ok = std::fseek(file_, 0, SEEK_END) == 0 && (fileSize_ = std::ftell(file_)) >= 0 &&
              std::fseek(file_, 0, SEEK_SET) == 0 &&
              std::fread(bytes, 1, sizeof bytes, file_) == sizeof bytes;
    if (ok) {
        DecodeCatalogHeader(bytes, header_);
        ok = CatalogMagicAccepted(header_.magic.data(), rule);
    }
    if (!ok) {
        std::fclose(file_);
        file_ = nullptr;
        fileSize_ = 0;
        return false;
    }
    loaded_ = true;
    return true;
}

void MessageCatalog::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    loaded_ = false;
    fileSize_ = 0;
}

bool MessageCatalog::FindModule(const std::string& module, size_t& slot) const {
    if (module.empty()) return false; // empty slots hold no module
    std::string name;
    for (size_t i = 0; i < kCatalogModuleSlots; ++i) {
        // A slot without its NUL is damaged and never matches.
        if (FixedFieldText(header_.names[i].data(), kCatalogModuleNameSize, name) &&
            name == module) {
            slot = i;
            return true;
        }
    }
    return false;
}

// Reads one line into the line buffer with the byte-at-a-time rule: LF ends the line, a CR
// just before it is dropped, end of file before any byte or a line longer than the buffer fails.
bool MessageCatalog::ReadLine() {
    size_t len = 0;
    bool any = false;
    int c;
    while ((c = std::getc(file_)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::getc(file_);
            if (next == '\n') break;
            if (next != EOF) std::ungetc(next, file_);
        }
        if (len >= kCatalogMaxLine) return false;
        line_[len++] = static_cast<char>(c);
    }
    if (!any) return false;
    line_[len] = '\0';
    return true;
}

const char* MessageCatalog::Lookup(const char* key) {
    if (!loaded_ || !key) return nullptr;
    std::string module(key);
    size_t cut = module.rfind('_');
    if (cut == std::string::npos) return nullptr;
    long n = LeadingNumber(module.c_str() + cut + 1);
    module.resize(cut);
    // Message numbers start at 1; a 0 would hand back whatever the last look-up left.
    if (n < 1) return nullptr;
    size_t slot = 0;
    if (!FindModule(module, slot)) return nullptr;
    if (header_.counts[slot] < n) return nullptr;
    long offset = header_.offsets[slot];
    if (offset < static_cast<long>(kCatalogHeaderSize) || offset > fileSize_) return nullptr;
    if (std::fseek(file_, offset, SEEK_SET) != 0) return nullptr;
    for (long i = 0; i < n; ++i) {
        if (!ReadLine()) return nullptr;
    }
    if (char* mark = std::strstr(line_, "##")) *mark = '\0';
    return line_;
}

void MessageCatalog::LookupInto(const char* key, char* buf, size_t size) {
    if (!buf || size == 0) return;
    buf[0] = '\0';
    const char* text = Lookup(key);
    if (!text) return;
    size_t len = std::strlen(text);
    if (len >= size) len = size - 1;
    std::memcpy(buf, text, len);
    buf[len] = '\0';
}

} // namespace lx
