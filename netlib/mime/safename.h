// Attachment names from a message decide only the last component of the file name: never a
// folder, a drive, a device or a name the file system cannot hold.
#pragma once

#include <string>

namespace lx::mime {

constexpr std::size_t kMaxPartName = 143;

// The usable file name for a name given by a message, or "" when nothing usable remains.
// The first "~" becomes "_".
std::string safeLeafName(const std::string& given);

} // namespace lx::mime
