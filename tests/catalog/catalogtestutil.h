// Helpers of the catalogue and log tests: scratch files and hand-made catalogue files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lxtest {

// A fresh, empty scratch folder for one test (removed again by the next call with the same name).
std::string ScratchDir(const std::string& name);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// A folder named by the environment (LX_SOURCE_DIR); empty when unset. Under Wine a Unix
// path is turned into its Z: drive form.
std::string EnvDir(const char* name);

struct RawModule {
    std::string name;  // copied into its 32-byte slot as is (up to 32 bytes)
    int count = 0;     // stored message count
    std::string lines; // raw bytes of the module's lines, terminators included
};

// Lays out a catalogue with the modules' lines after the header, each module's offset
// pointing at its lines.
std::vector<uint8_t> RawCatalogue(const std::vector<RawModule>& modules,
                                  const std::string& magic = "Vellumstack v1.0");

// Builds a catalogue from message source text with the catalogue builder; fails the
// calling test when the source is refused.
std::vector<uint8_t> BuiltCatalogue(const std::string& source);

} // namespace lxtest
