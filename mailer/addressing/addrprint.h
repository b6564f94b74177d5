// Printing the address book and a mailing list with the print engine: one job, every page in the
// shared page frame (title, date, footer text, page number, footer band), each entry two lines
// (a heading in the tags font, a detail line in the text font), as many entries per page as fit.
#pragma once
#include "common/settings/font_desc.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lx {
class MessageCatalog;

struct PrintedEntry {
    std::string heading; // tags font
    std::string detail;  // text font
};

struct EntryPrintRun {
    HWND owner = nullptr;
    MessageCatalog* catalog = nullptr;
    std::function<HFONT(MessageFont which)> font; // none (or nullptr): the default font
    std::string documentName;                     // the spooler's name and the footer text
    std::string title;
    std::vector<PrintedEntry> entries;
};

enum class EntryPrintOutcome {
    Printed,
    Cancelled,  // the user cancelled the print dialog: nothing printed, nothing to tell
    NotStarted, // no printer or the job could not start
    Stopped     // a page could not be printed (the job was cancelled in the status window)
};

// Shows the print dialog, then prints every entry in order.
EntryPrintOutcome PrintEntries(const EntryPrintRun& run);

} // namespace lx
