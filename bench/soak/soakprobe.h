// What the running process holds, read from inside it.
#pragma once

#include "bench/soak/soakfigures.h"

namespace lx::soak {

// Private bytes are the committed private pages of the address space (the pagefile figure of
// GetProcessMemoryInfo is not kept by every system); the GDI and USER counts fall back to
// counting live objects where GetGuiResources answers 0.
ProcessFigures ProbeProcess();

} // namespace lx::soak
