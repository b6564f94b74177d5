// Folder/name joining and files created under unique names.
#pragma once

#include <string>

#include "netlib/mime/osfile.h"

namespace lx::mime {

// folder + one separator (unless it already ends in one) + name.
std::string joinPath(const std::string& folder, const std::string& name);

// Creates a file that did not exist before: folder + prefix + hexadecimal number + ext
// (ext includes its full stop). Returns the path, or "" when no name could be created.
std::string createUnique(const std::string& folder, const std::string& prefix, int hexDigits,
                         const std::string& ext, OsFile& file);

} // namespace lx::mime
