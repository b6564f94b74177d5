// Spool files on Win32: held exclusively (not shared) with the sequential-scan hint.
#pragma once

#include <memory>
#include <string>

#include "netlib/core/sessionport.h"

namespace lx::net {

// create: replace or create the file; otherwise open an existing one. Null on failure.
std::unique_ptr<SpoolFile> openWinFile(const std::string& path, bool create);

} // namespace lx::net
