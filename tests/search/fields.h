// Search fields of the tests: one kind of field filled in.
#pragma once
#include "mailer/ui/logic/findmesg_query.h"

namespace lxtest {

inline lx::SearchFields Sender(const char* text, bool exact) {
    lx::SearchFields f;
    f.sender = text;
    f.senderExact = exact;
    return f;
}
inline lx::SearchFields Subject(const char* text, bool exact) {
    lx::SearchFields f;
    f.subject = text;
    f.subjectExact = exact;
    return f;
}
inline lx::SearchFields Dates(const char* begin, const char* end) {
    lx::SearchFields f;
    f.beginDate = begin;
    f.endDate = end;
    return f;
}

} // namespace lxtest
