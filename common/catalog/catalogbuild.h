// Builds a message catalogue file from its source text.
//
// Source: one message per line, "KEY text": the key (MODULE_CPP_N), one or more spaces or
// tabs, then the text to the end of the line. Blank lines and lines with "#" in column 0
// are comments. Numbers left out inside a module become empty lines so that every later
// number keeps its line. Modules are stored in order of first appearance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/catalog/catalogformat.h"

namespace lx {

constexpr int kCatalogMaxNumber = 32767; // message counts are signed 16-bit

struct CatalogueEntry {
    std::string module; // "MAINFRM_CPP"
    int number = 0;     // 1 .. kCatalogMaxNumber
    std::string text;
    int line = 0; // source line, for messages
};

// Splits "MODULE_CPP_N" into module and number; false unless the key has that exact form
// (letters, digits and "_" ending in "_CPP", then a number 1..32767 without leading zeros).
bool ParseMessageKey(const std::string& key, std::string& module, int& number);

// Parses and checks source text. On failure error holds one "line N: ..." message per fault.
bool ParseCatalogueSource(const std::string& sourceText, std::vector<CatalogueEntry>& entries,
                          std::string& error);

// Parses the source and lays out the whole catalogue file in out.
bool BuildCatalogue(const std::string& sourceText, std::vector<uint8_t>& out, std::string& error,
                    const std::string& magic = kCatalogMagic);

} // namespace lx
