// Turning host names, dotted addresses and service names into IPv4 socket addresses.
#pragma once

#include <winsock2.h>

#include <string>

namespace lx::net {

// The dotted form if it parses, else the first address the resolver gives. 0 or the Winsock error.
int resolveHost(const char* host, in_addr* out);
// The port (network order) of a service for a protocol ("tcp", "udp"). 0 or the Winsock error.
int resolveService(const char* service, const char* protocol, unsigned short* portNet);
// Every address of a host in dotted form, joined by "+", bounded to size - 1 characters.
int hostAddresses(const char* host, char* out, std::size_t size);
// Dotted text of an IPv4 address.
std::string dotted(const in_addr& a);

} // namespace lx::net
