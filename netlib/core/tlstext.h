// Why a connection could not be secured, in the library's words: the platform's TLS and
// certificate-check codes turned into texts a user can act on.
#pragma once

#include <cstdint>
#include <string>

#include "netlib/core/sha256.h"

namespace lx::net {

// A code from the TLS handshake or the certificate chain checks (an SSPI status or a certificate
// policy error); server is the name the certificate had to carry.
std::string tlsFailureText(std::uint32_t code, const std::string& server);
// The certificate-check code for what a certificate chain's trust status (CERT_TRUST_* bits)
// says is wrong with it, worst first; 0 when nothing is. Revocation that could not be checked
// does not count (revocation is not asked for).
std::uint32_t chainTrustError(std::uint32_t trustStatus);
// The server's certificate is not the pinned one.
std::string pinMismatchText(const Sha256Digest& actual);
// A certificate check that failed (code as for tlsFailureText). Where the user may sensibly
// choose to trust this very certificate instead (its issuer is not trusted here, or it is made
// out for another name), the reason ends as the pin mismatch's does, with the certificate's
// SHA-256 fingerprint; not for faults a pin would not mend (expired, revoked, bad signature).
std::string certificateFailureText(std::uint32_t code, const std::string& server,
                                   const Sha256Digest& certificate);
// A reason of the library's own (the server hung up, sent no certificate, ...).
std::string tlsFailureText(const char* reason);

} // namespace lx::net
