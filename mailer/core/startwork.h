// The start-up worker: Data folder, message font files and fonts, scramble table and the
// mailto registration, on a plain run-time thread that ends by itself.
#pragma once
#include <windows.h>

namespace lx {
class LorvexApp;

constexpr char kDataFolder[] = "Data";

// Thread entry for _beginthreadex; the argument is the application object.
unsigned __stdcall StartupWorker(void* app);

} // namespace lx
