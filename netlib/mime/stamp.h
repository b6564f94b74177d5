// The generated values of an outgoing message: Date, Message-ID and boundary texts.
#pragma once

#include <string>

namespace lx::mime {

// One reading of the clocks: local time and the local-minus-UTC difference in minutes.
struct StampTime {
    int year = 1970, month = 1, day = 1, weekday = 4; // month 1..12, weekday 0 = Sunday
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int zoneMinutes = 0;
};

StampTime readClock();

std::string formatDate(const StampTime& t);      // "Thu, 01 Jan 1970 00:00:00 0000"
std::string formatMessageId(const StampTime& t); // "<00:00:00:000-Tern32>"
std::string formatBoundary(const StampTime& t);  // "TERN32Boundary-01Jan1970-00:00:00"

} // namespace lx::mime
