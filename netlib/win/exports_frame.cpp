// The library-frame exports: Winsock information, host names and addresses, error texts,
// reply addresses.
#include <cstdio>
#include <cstring>

#include "netlib/win/exports_util.h"
#include "netlib/win/resolve.h"

using namespace lx::net;

namespace {

constexpr std::size_t kDescriptionSize = 257;
constexpr std::size_t kStatusSize = 129;
constexpr std::size_t kVendorSize = 257;
constexpr std::size_t kHostNameSize = 40;
constexpr std::size_t kAddressesSize = 128;

void copyBounded(char* out, const char* in, std::size_t size) {
    if (!out) return;
    const std::size_t n = in ? strnlen(in, size - 1) : 0;
    if (n) std::memcpy(out, in, n);
    out[n] = '\0';
}

} // namespace

extern "C" int WINAPI TERNGetWinSockInfo(WORD* highVersion, char* description, char* systemStatus,
                                         WORD* maxSockets, WORD* maxDatagram, char* vendorInfo) {
    TernLibrary* lib = library();
    if (!lib) return -1;
    if (lib->lastError != 0) return lib->lastError;
    if (highVersion) *highVersion = lib->wsa.wHighVersion;
    copyBounded(description, lib->wsa.szDescription, kDescriptionSize);
    copyBounded(systemStatus, lib->wsa.szSystemStatus, kStatusSize);
    if (maxSockets) *maxSockets = lib->wsa.iMaxSockets;
    if (maxDatagram) *maxDatagram = lib->wsa.iMaxUdpDg;
    // Winsock 2 platforms give no vendor information.
    copyBounded(vendorInfo, nullptr, kVendorSize);
    return 0;
}

extern "C" int WINAPI TERNGetMyName(char* hostName, char* addresses) {
    TernLibrary* lib = library();
    if (!lib) return -1;
    // A failed call's error stays: later calls return it without trying again.
    if (lib->lastError != 0) return lib->lastError;
    if (!hostName || !addresses) return TERN_ERR_BADVALUE;
    char name[256];
    if (gethostname(name, sizeof name) == SOCKET_ERROR) return lib->lastError = WSAGetLastError();
    copyBounded(hostName, name, kHostNameSize);
    const int e = hostAddresses(name, addresses, kAddressesSize);
    if (e) lib->lastError = e;
    return e;
}

extern "C" int WINAPI TERNGetServerIP(const char* hostName, char* addresses) {
    TernLibrary* lib = library();
    if (!lib) return -1;
    if (lib->lastError != 0) return lib->lastError;
    if (!hostName || !addresses) return TERN_ERR_BADVALUE;
    const int e = hostAddresses(hostName, addresses, kAddressesSize);
    if (e) lib->lastError = e;
    return e;
}

extern "C" int WINAPI TERNLastWinSockError(int* code, char* text) {
    TernLibrary* lib = library();
    if (!lib) return -1;
    lastErrorOut(lib->lastError, code, text);
    return 0;
}

extern "C" int WINAPI TERNMakeReplyAddr(const char* dottedAddress, int port, void* replyAddr) {
    if (!library()) return -1;
    if (!dottedAddress || !replyAddr || port <= 0 || port > 65535) return -2;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    a.sin_addr.s_addr = inet_addr(dottedAddress);
    std::memcpy(replyAddr, &a, sizeof a);
    return 0;
}

extern "C" int WINAPI TERNIPFromReplyAddr(const void* replyAddr, char* text) {
    if (!library()) return -1;
    if (!replyAddr || !text) return -2;
    std::strcpy(text, "Error");
    // The address of the 16-byte reply address that TERNMakeReplyAddr builds and TERNUDPRead returns.
    sockaddr_in a;
    std::memcpy(&a, replyAddr, sizeof a);
    const std::string d = dotted(a.sin_addr);
    std::memcpy(text, d.c_str(), d.size() + 1);
    return 0;
}
