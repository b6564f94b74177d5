#include "netlib/core/fields.h"

#include <cstdio>

namespace lx::net {

std::string percentText(long long part, long long whole) {
    if (whole <= 0) return "0.00";
    if (part > whole) part = whole;
    if (part < 0) part = 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2f",
                  static_cast<double>(part) / static_cast<double>(whole) * 100.0);
    return buf;
}

} // namespace lx::net
