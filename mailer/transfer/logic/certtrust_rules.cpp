#include "mailer/transfer/logic/certtrust_rules.h"

#include <cctype>
#include <cstring>

namespace lx {
namespace {

constexpr char kFingerprintIs[] = "; its SHA-256 fingerprint is ";
constexpr std::size_t kPairs = 32;
constexpr std::size_t kFingerprintChars = kPairs * 3 - 1;

bool IsFingerprint(const std::string& text) {
    if (text.size() != kFingerprintChars) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (i % 3 == 2 ? c != ':' : !std::isxdigit(c)) return false;
    }
    return true;
}

} // namespace

bool FindTrustOffer(const char* refusal, TrustOffer& offer) {
    if (!refusal) return false;
    const std::string text = refusal;
    const std::size_t at = text.rfind(kFingerprintIs);
    if (at == std::string::npos) return false;
    std::string fingerprint = text.substr(at + std::strlen(kFingerprintIs));
    while (!fingerprint.empty() && std::isspace(static_cast<unsigned char>(fingerprint.back())))
        fingerprint.pop_back();
    if (!IsFingerprint(fingerprint)) return false;
    for (char& c : fingerprint) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    offer.reason = text.substr(0, at);
    offer.fingerprint = fingerprint;
    return true;
}

} // namespace lx
