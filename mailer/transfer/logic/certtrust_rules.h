// When a run may offer to trust the server's certificate: the network library names the
// certificate's SHA-256 fingerprint at the end of a refusal only where trusting that very
// certificate would mend it (an issuer not trusted here, another host name, a pinned
// certificate that has changed); never for an expired, revoked or forged one. Portable.
#pragma once

#include <string>

namespace lx {

struct TrustOffer {
    std::string reason;      // the library's reason, without the fingerprint
    std::string fingerprint; // "AB:CD:..." (32 pairs), as pins are kept
};

// True when the refusal text ends with a well-formed fingerprint.
bool FindTrustOffer(const char* refusal, TrustOffer& offer);

} // namespace lx
