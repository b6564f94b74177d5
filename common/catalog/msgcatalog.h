// Message catalogue reader: every user-visible text of a program is looked up by a key
// "MODULE_CPP_N" in the program's catalogue file, which stays open for the whole run.
// Open reads every module's texts once; look-ups only read what Open stored, so any thread may
// look up at any time (the monitor thread logs while the interface thread shows boxes).
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

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

    // The text of a key, or nullptr when the catalogue has none. The text stays valid until
    // Close; look-ups from several threads at once are safe.
    const char* Lookup(const char* key) const;
    // Copies the text of a key into buf (at most size - 1 characters); buf is emptied
    // first, so a missing key leaves it empty.
    void LookupInto(const char* key, char* buf, size_t size) const;

private:
    bool FindModule(const std::string& module, size_t& slot) const;
    void LoadTexts(const std::vector<char>& bytes);

    std::FILE* file_ = nullptr;
    bool loaded_ = false;
    CatalogHeader header_;
    // Per module slot: its message texts in order, cut at "##". A module's list ends early at
    // a line that cannot be read (too long, or the end of the file), as reading it would.
    std::array<std::vector<std::string>, kCatalogModuleSlots> texts_;
};

// The text of `key` as a string; `fallback` when there is no catalogue or the key is not in it.
std::string CatalogText(const MessageCatalog* catalog, const char* key, const char* fallback = "");

// True when a 68-byte magic field passes the rule.
bool CatalogMagicAccepted(const char* field, CatalogMagic rule);

} // namespace lx
