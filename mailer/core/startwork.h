// The start-up worker: Data folder, message font files and fonts, scramble table and the
// mailto registration, on a plain run-time thread that ends by itself. It shares nothing with
// the interface thread: it works on its own copy of the installation path and hands the fonts it
// made over in one posted message, whose receiver then owns them.
#pragma once
#include "common/settings/font_desc.h"
#include "common/win/handles.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

namespace lx {

constexpr char kDataFolder[] = "Data";

// Posted to the receiver window when the worker has done its work; lParam is a MessageFontSet*
// that the receiver takes with TakeMessageFonts.
constexpr UINT WM_LX_MESSAGE_FONTS = WM_APP + 0x4C58;

// The program-wide message fonts (head, tags, text, foot), and the settings the worker could not
// write (font file names, the mailto registration) for the receiver to note in the log.
struct MessageFontSet {
    Font fonts[kMessageFontCount];
    std::vector<std::string> notSaved;
};

// Starts the worker for the installation folder; the fonts go to `receiver`. The handle of the
// thread, invalid when it could not be started.
UniqueHandle StartStartupWorker(const std::string& installPath, HWND receiver);

// Ownership of the fonts a WM_LX_MESSAGE_FONTS message carries.
std::unique_ptr<MessageFontSet> TakeMessageFonts(LPARAM lParam);

} // namespace lx
