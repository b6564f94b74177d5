// Which refusals of a server's certificate offer to trust it: only those that end with a
// well-formed fingerprint, as the network library writes them.
#include <gtest/gtest.h>

#include "mailer/transfer/logic/certtrust_rules.h"

namespace {

const std::string kFp =
    "0A:1B:2C:3D:4E:5F:60:71:82:93:A4:B5:C6:D7:E8:F9:0A:1B:2C:3D:4E:5F:60:71:82:93:A4:B5:C6:D7:"
    "E8:F9";
const std::string kUntrusted = "Securing the connection failed: the server's certificate was not "
                               "issued by an authority this computer trusts";

TEST(CertificateTrust, OfferedOnlyWithAWellFormedFingerprint) {
    struct Case {
        const char* what;
        std::string refusal;
        bool offered;
        std::string reason;
        std::string fingerprint;
    };
    std::string lower = kFp;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Case cases[] = {
        {"untrusted issuer", kUntrusted + "; its SHA-256 fingerprint is " + kFp, true, kUntrusted,
         kFp},
        {"lower case, line end after",
         kUntrusted + "; its SHA-256 fingerprint is " + lower + "\r\n", true, kUntrusted, kFp},
        {"expired: no fingerprint named",
         "Securing the connection failed: the server's certificate has expired or is not yet "
         "valid",
         false, "", ""},
        {"fingerprint cut short", kUntrusted + "; its SHA-256 fingerprint is " + kFp.substr(0, 60),
         false, "", ""},
        {"something after the fingerprint",
         kUntrusted + "; its SHA-256 fingerprint is " + kFp + " or not", false, "", ""},
        {"not hexadecimal",
         kUntrusted + "; its SHA-256 fingerprint is " + std::string(kFp).replace(0, 1, "G"), false,
         "", ""},
        {"no STARTTLS offered",
         "The server does not offer STARTTLS, and this mailbox sends only over a secured "
         "connection. The server said: 250 OK",
         false, "", ""},
        {"empty", "", false, "", ""},
    };
    for (const Case& c : cases) {
        lx::TrustOffer offer;
        EXPECT_EQ(lx::FindTrustOffer(c.refusal.c_str(), offer), c.offered) << c.what;
        if (!c.offered) continue;
        EXPECT_EQ(offer.reason, c.reason) << c.what;
        EXPECT_EQ(offer.fingerprint, c.fingerprint) << c.what;
    }
    lx::TrustOffer none;
    EXPECT_FALSE(lx::FindTrustOffer(nullptr, none));
}

} // namespace
