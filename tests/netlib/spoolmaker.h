// Builds outgoing spool files in the preparer's layout for the SMTP tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace lx::net::test {

struct Msg {
    std::string from;
    std::vector<std::string> to;
    std::vector<std::string> data; // data lines without CR LF
    // Damage for the tests of a spool file that does not hold together: a data-count line that
    // is off by this many bytes, a missing "END DATA" line.
    int countError = 0;
    bool noEndMarker = false;
};

inline std::string makeSpool(const std::vector<Msg>& msgs, int countOverride = -1) {
    char count[32];
    std::snprintf(count, sizeof count, "Letters : %05d\r\n",
                  countOverride >= 0 ? countOverride : int(msgs.size()));
    std::string s = count;
    s += "FROM:<" + (msgs.empty() ? std::string("x@y") : msgs[0].from) + ">\r\n";
    for (const Msg& m : msgs) {
        s += "BEGIN MESSAGE HEADER\r\nFROM:<" + m.from + ">\r\n";
        for (const auto& t : m.to) s += "TO:<" + t + ">\r\n";
        s += "END MESSAGE HEADER\r\n";
        std::size_t total = 0;
        for (const auto& l : m.data) total += l.size() + 2;
        std::string dc = "BEGIN DATA " + std::to_string(total + m.countError);
        dc.resize(23, ' ');
        s += dc + "\r\n";
        for (const auto& l : m.data) s += l + "\r\n";
        s += m.noEndMarker ? "\r\n" : "\r\nEND DATA\r\n";
    }
    return s;
}

// What an SMTP server stores for a message: its data lines, 7-bit, each ended by CR LF.
inline std::string storedData(const Msg& m) {
    std::string s;
    for (const auto& l : m.data) {
        for (char c : l) s.push_back(static_cast<char>(c & 0x7f));
        s += "\r\n";
    }
    return s;
}

} // namespace lx::net::test
