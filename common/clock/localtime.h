// The machine's local calendar time to the second: what the log stamps and the store's AppDate
// are made of, read the one thread-safe way on both platforms.
#pragma once

#include <ctime>

namespace lx {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0; // month 1..12
};

// The local breakdown of t (the C library's own result is shared between threads).
inline std::tm LocalTm(std::time_t t) {
    std::tm out{};
#ifdef _WIN32
    localtime_s(&out, &t);
#else
    localtime_r(&t, &out);
#endif
    return out;
}

inline LocalTime ToLocalTime(std::time_t t) {
    const std::tm tm = LocalTm(t);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

inline LocalTime LocalTimeNow() { return ToLocalTime(std::time(nullptr)); }

} // namespace lx
