#include "mailer/addressing/logic/addrprint_rules.h"

#include <algorithm>

namespace lx {

EntryPagePlan PlanEntryPages(int entries, long usableHeight, long twoLinesHeight) {
    EntryPagePlan plan;
    const long step = std::max(1L, twoLinesHeight + 4);
    plan.perPage = static_cast<int>(std::max(1L, (usableHeight - 10) / step));
    plan.pages = std::max(1, (std::max(0, entries) + plan.perPage - 1) / plan.perPage);
    return plan;
}

void PageEntries(const EntryPagePlan& plan, int entries, int page, int* first, int* end) {
    const long from = static_cast<long>(std::max(0, page - 1)) * plan.perPage;
    *first = static_cast<int>(std::min<long>(from, std::max(0, entries)));
    *end = static_cast<int>(std::min<long>(from + plan.perPage, std::max(0, entries)));
    if (page < 1) *end = *first;
}

std::string AddressDetailLine(const std::string& dest, const std::string& note) {
    return dest + " [" + note + " ]";
}

std::string MemberHeadingLine(const std::string& name, bool isTo) {
    return name + " [" + (isTo ? "To" : "Cc") + " Group]";
}

std::string MemberDetailLine(const std::string& dest, const std::string& note) {
    return dest + " [ " + note + " ]";
}

} // namespace lx
