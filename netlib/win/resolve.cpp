#include "netlib/win/resolve.h"

#include <cstdio>
#include <cstring>

namespace lx::net {

int resolveHost(const char* host, in_addr* out) {
    if (!host || !*host) return WSAEINVAL;
    const unsigned long a = inet_addr(host);
    if (a != INADDR_NONE || std::strcmp(host, "255.255.255.255") == 0) {
        out->s_addr = a;
        return 0;
    }
    hostent* he = gethostbyname(host);
    if (!he || he->h_addrtype != AF_INET || !he->h_addr_list || !he->h_addr_list[0]) {
        const int e = WSAGetLastError();
        return e ? e : WSAHOST_NOT_FOUND;
    }
    std::memcpy(&out->s_addr, he->h_addr_list[0], sizeof out->s_addr);
    return 0;
}

int resolveService(const char* service, const char* protocol, unsigned short* portNet) {
    if (!service || !*service) return WSAEINVAL;
    servent* se = getservbyname(service, protocol);
    if (!se) {
        const int e = WSAGetLastError();
        return e ? e : WSANO_DATA;
    }
    *portNet = static_cast<unsigned short>(se->s_port);
    return 0;
}

std::string dotted(const in_addr& a) {
    const auto* b = reinterpret_cast<const unsigned char*>(&a.s_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
}

int hostAddresses(const char* host, char* out, std::size_t size) {
    hostent* he = gethostbyname(host);
    if (!he) {
        const int e = WSAGetLastError();
        return e ? e : WSAHOST_NOT_FOUND;
    }
    std::memset(out, 0, size);
    std::string all;
    for (int i = 0; he->h_addrtype == AF_INET && he->h_addr_list[i]; ++i) {
        in_addr a;
        std::memcpy(&a.s_addr, he->h_addr_list[i], sizeof a.s_addr);
        const std::string one = dotted(a);
        // Only whole addresses go in: a list that does not fit is cut after the last one that does.
        if (all.size() + (all.empty() ? 0 : 1) + one.size() > size - 1) break;
        if (!all.empty()) all += '+';
        all += one;
    }
    std::memcpy(out, all.data(), all.size());
    return 0;
}

} // namespace lx::net
