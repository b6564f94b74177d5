// Message catalogue reader: every user-visible text of a program is looked up by a key
// "MODULE_CPP_N" in the program's catalogue file, which stays open for the whole run.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "common/catalog/catalogformat.h"

namespace lx {

// How the magic field of the header is checked: the main program wants the exact text,
// the viewer accepts any magic that contains "Vellumstack".
enum class CatalogMagic { Exact, ContainsVellumstack };

class MessageCatalog {
public:
    MessageCatalog() = default;
    ~MessageCatalog();
    MessageCatalog(const MessageCatalog&) = delete;
    MessageCatalog& operator=(const MessageCatalog&) = delete;

    // Opens the file and reads its header; false (and not loaded) for a missing file,
    // a file shorter than the header or a magic the rule refuses.
    bool Open(const char* path, CatalogMagic rule);
    bool Loaded() const { return loaded_; }
    void Close();

    // The text of a key, or nullptr when the catalogue has none. The text lives in the
    // reader's line buffer: the next look-up overwrites it, so copy it to keep it.
    const char* Lookup(const char* key);
    // Copies the text of a key into buf (at most size - 1 characters); buf is emptied
    // first, so a missing key leaves it empty.
    void LookupInto(const char* key, char* buf, size_t size);

private:
    bool FindModule(const std::string& module, size_t& slot) const;
    bool ReadLine();

    std::FILE* file_ = nullptr;
    bool loaded_ = false;
    long fileSize_ = 0;
    CatalogHeader header_;
    char line_[kCatalogMaxLine + 1] = {};
};

// True when a 68-byte magic field passes the rule.
bool CatalogMagicAccepted(const char* field, CatalogMagic rule);

} // namespace lx
