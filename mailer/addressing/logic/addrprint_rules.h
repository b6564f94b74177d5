// The printed address book and mailing list: how many entries fit a page, which entries each page
// takes, and the texts of an entry's two lines. Portable.
#pragma once

#include <string>

namespace lx {

// An entry is two lines; each line moves down by its own height plus 2.
struct EntryPagePlan {
    int perPage = 1; // entries on a full page
    int pages = 1;   // pages of the whole run, at least 1
};
// Entries per page = (usable height - 10) / (height of the entry's two lines + 4), where the
// usable height runs from the top of the first entry line to the top of the footer; at least 1,
// so that every page takes an entry even on a page too small for one. Pages = entries / per page,
// rounded up, at least 1.
EntryPagePlan PlanEntryPages(int entries, long usableHeight, long twoLinesHeight);

// The entries of page `page` (1-based): [*first, *end) in the run's order; empty past the last.
void PageEntries(const EntryPagePlan& plan, int entries, int page, int* first, int* end);

// The address book's second line: AddDest + " [" + AddNote + " ]".
std::string AddressDetailLine(const std::string& dest, const std::string& note);
// A list member's first line: "%s [%s Group]" with AddName and "To" or "Cc".
std::string MemberHeadingLine(const std::string& name, bool isTo);
// A list member's second line: "%s [ %s ]" with AddDest and AddNote.
std::string MemberDetailLine(const std::string& dest, const std::string& note);

} // namespace lx
