#include "netlib/mime/stamp.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace lx::mime {

namespace {

const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long minutesOf(const std::tm& t) {
    return daysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) * 1440 + t.tm_hour * 60 +
           t.tm_min;
}

int clampIndex(int v, int n) { return v < 0 ? 0 : (v >= n ? n - 1 : v); }

} // namespace

StampTime readClock() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const int ms =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{}, utc{};
#ifdef _WIN32
    localtime_s(&local, &secs);
    gmtime_s(&utc, &secs);
#else
    localtime_r(&secs, &local);
    gmtime_r(&secs, &utc);
#endif
    StampTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.weekday = local.tm_wday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = ms < 0 ? 0 : ms;
    t.zoneMinutes = static_cast<int>(minutesOf(local) - minutesOf(utc));
    return t;
}

std::string formatDate(const StampTime& t) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%s, %02d %s %4d %02d:%02d:%02d ",
                          kDays[clampIndex(t.weekday, 7)], t.day,
                          kMonths[clampIndex(t.month - 1, 12)], t.year, t.hour, t.minute, t.second);
    std::string s(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
    const int z = t.zoneMinutes < 0 ? -t.zoneMinutes : t.zoneMinutes;
    // RFC 5322 wants a sign on every zone: UTC is "+0000" (a bare "0000" makes the date invalid).
    s += t.zoneMinutes < 0 ? '-' : '+';
    std::snprintf(buf, sizeof buf, "%02d%02d", (z / 60) % 100, z % 60);
    return s + buf;
}

std::string formatMessageId(const StampTime& t) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "<%02d:%02d:%02d:%03d-Tern32>", t.hour, t.minute, t.second,
                  t.millisecond);
    return buf;
}

std::string formatBoundary(const StampTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "TERN32Boundary-%02d%s%d-%02d:%02d:%02d", t.day,
                  kMonths[clampIndex(t.month - 1, 12)], t.year, t.hour, t.minute, t.second);
    return buf;
}

} // namespace lx::mime
