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

namespace {

// One line from `at` with the byte-at-a-time rule: LF ends the line, a CR just before it is
// dropped, the end of the file before any byte or a line longer than kCatalogMaxLine fails.
bool NextLine(const std::vector<char>& bytes, size_t& at, std::string& line) {
    line.clear();
    const size_t end = bytes.size();
    if (at >= end) return false;
    while (at < end) {
        const char c = bytes[at++];
        if (c == '\n') break;
        if (c == '\r' && at < end && bytes[at] == '\n') {
            ++at;
            break;
        }
        if (line.size() >= kCatalogMaxLine) return false;
        line.push_back(c);
    }
    return true;
}

// The message text of a line: up to a NUL byte, then up to the first "##".
std::string MessageText(const std::string& line) {
    std::string text(line.c_str());
    const size_t mark = text.find("##");
    if (mark != std::string::npos) text.resize(mark);
    return text;
}

} // namespace

bool MessageCatalog::Open(const char* path, CatalogMagic rule) {
    Close();
    if (!path) return false;
    file_ = OpenCatalogFile(path);
    if (!file_) return false;
    std::vector<char> bytes;
    char block[8192];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file_)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    bool ok = bytes.size() >= kCatalogHeaderSize && !std::ferror(file_);
    if (ok) {
        DecodeCatalogHeader(reinterpret_cast<const uint8_t*>(bytes.data()), header_);
        ok = CatalogMagicAccepted(header_.magic.data(), rule);
    }
    if (!ok) {
        Close();
        return false;
    }
    LoadTexts(bytes);
    loaded_ = true;
    return true;
}

void MessageCatalog::LoadTexts(const std::vector<char>& bytes) {
    std::string name, line;
    for (size_t slot = 0; slot < kCatalogModuleSlots; ++slot) {
        const long offset = header_.offsets[slot];
        const long count = header_.counts[slot];
        if (!FixedFieldText(header_.names[slot].data(), kCatalogModuleNameSize, name) ||
            name.empty() || count < 1 || offset < static_cast<long>(kCatalogHeaderSize) ||
            static_cast<size_t>(offset) > bytes.size())
            continue;
        size_t at = static_cast<size_t>(offset);
        std::vector<std::string>& texts = texts_[slot];
        texts.reserve(static_cast<size_t>(count));
        for (long n = 0; n < count && NextLine(bytes, at, line); ++n)
            texts.push_back(MessageText(line));
    }
}

void MessageCatalog::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    loaded_ = false;
    for (auto& texts : texts_) std::vector<std::string>().swap(texts);
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

const char* MessageCatalog::Lookup(const char* key) const {
    if (!loaded_ || !key) return nullptr;
    std::string module(key);
    size_t cut = module.rfind('_');
    if (cut == std::string::npos) return nullptr;
    long n = LeadingNumber(module.c_str() + cut + 1);
    module.resize(cut);
    // Message numbers start at 1; there is no message 0.
    if (n < 1) return nullptr;
    size_t slot = 0;
    if (!FindModule(module, slot)) return nullptr;
    if (header_.counts[slot] < n) return nullptr;
    const std::vector<std::string>& texts = texts_[slot];
    if (static_cast<size_t>(n) > texts.size()) return nullptr; // a damaged line on the way
    return texts[static_cast<size_t>(n) - 1].c_str();
}

void MessageCatalog::LookupInto(const char* key, char* buf, size_t size) const {
    if (!buf || size == 0) return;
    buf[0] = '\0';
    const char* text = Lookup(key);
    if (!text) return;
    size_t len = std::strlen(text);
    if (len >= size) len = size - 1;
    std::memcpy(buf, text, len);
    buf[len] = '\0';
}

std::string CatalogText(const MessageCatalog* catalog, const char* key, const char* fallback) {
    const char* text = catalog ? catalog->Lookup(key) : nullptr;
    return text ? text : (fallback ? fallback : "");
}

} // namespace lx
