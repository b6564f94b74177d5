#include "netlib/core/sasl.h"

#include <algorithm>
#include <cctype>

#include "netlib/core/base64.h"
#include "netlib/core/md5.h"

namespace lx::net {
namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Splits text at blanks (tabs too), dropping empty words.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::string w;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!w.empty()) out.push_back(w);
            w.clear();
        } else {
            w.push_back(c);
        }
    }
    if (!w.empty()) out.push_back(w);
    return out;
}

bool offers(const std::vector<std::string>& offered, const char* name) {
    return std::find(offered.begin(), offered.end(), name) != offered.end();
}

} // namespace

EhloOffer parseEhlo(const char* reply) {
    EhloOffer offer;
    const std::string text = reply ? reply : "";
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first || line.size() <= 4) {
            first = false;
            continue;
        }
        const std::vector<std::string> w = words(upper(line.substr(4)));
        if (w.empty()) continue;
        if (w[0] == "STARTTLS") offer.startTls = true;
        // "AUTH=LOGIN PLAIN" is the older form some servers still send beside "AUTH".
        std::vector<std::string> names;
        if (w[0] == "AUTH")
            names.assign(w.begin() + 1, w.end());
        else if (w[0].rfind("AUTH=", 0) == 0) {
            names.push_back(w[0].substr(5));
            names.insert(names.end(), w.begin() + 1, w.end());
        }
        for (const std::string& n : names)
            if (!n.empty() && !offers(offer.auth, n.c_str())) offer.auth.push_back(n);
    }
    return offer;
}

SaslMechanism chooseMechanism(const std::vector<std::string>& offered, bool secured) {
    if (secured && offers(offered, "PLAIN")) return SaslMechanism::Plain;
    if (secured && offers(offered, "LOGIN")) return SaslMechanism::Login;
    if (offers(offered, "CRAM-MD5")) return SaslMechanism::CramMd5;
    return SaslMechanism::None;
}

std::string SaslClient::command() const {
    switch (mechanism_) {
    case SaslMechanism::Plain: {
        // No authorisation identity: the server takes the user name for it.
        const std::string blob = std::string(1, '\0') + user_ + std::string(1, '\0') + password_;
        return "AUTH PLAIN " + base64Encode(blob);
    }
    case SaslMechanism::Login: return "AUTH LOGIN";
    case SaslMechanism::CramMd5: return "AUTH CRAM-MD5";
    default: return {};
    }
}

bool SaslClient::answer(const std::string& challenge, std::string& out) {
    const int step = step_++;
    switch (mechanism_) {
    case SaslMechanism::Login:
        // The prompts are by convention "Username:" and "Password:", always in that order.
        if (step > 1) return false;
        out = base64Encode(step == 0 ? user_ : password_);
        return true;
    case SaslMechanism::CramMd5: {
        std::string plain;
        if (step > 0 || challenge.empty() || !base64Decode(challenge, plain)) return false;
        out = base64Encode(user_ + " " + digestHex(hmacMd5(password_, plain)));
        return true;
    }
    default: return false; // PLAIN has said everything in its command
    }
}

} // namespace lx::net
