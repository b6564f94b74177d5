#include "mailer/transfer/certtrust.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/settings/mailbox_keys.h"
#include "common/settings/registry_win32.h"
#include "common/win/uiseam.h"
#include "mailer/transfer/logic/certtrust_rules.h"

namespace lx {
namespace {

constexpr char kKeyPresented[] = "CERTTRUST_CPP_1"; // %s: server
constexpr char kKeyChanged[] = "CERTTRUST_CPP_2";   // %s: server, %s: mailbox
constexpr char kKeyFingerprint[] = "CERTTRUST_CPP_3";
constexpr char kKeyAsk[] = "CERTTRUST_CPP_4";        // %s: mailbox
constexpr char kKeyAskChanged[] = "CERTTRUST_CPP_5"; // %s: mailbox
constexpr char kKeyCaption[] = "CERTTRUST_CPP_6";
constexpr char kKeyTrusted[] = "CERTTRUST_CPP_7";
constexpr char kKeyNotTrusted[] = "CERTTRUST_CPP_8";
constexpr char kKeyAutomatic[] = "CERTTRUST_CPP_9";
constexpr char kKeyNotKept[] = "CERTTRUST_CPP_10";

std::string Format(MessageCatalog* catalog, const char* key, const std::vector<FormatArg>& args) {
    const std::string format = CatalogText(catalog, key, key);
    return FormatTextOr(format.c_str(), args, format);
}

} // namespace

bool OffersTrust(const char* refusal) {
    TrustOffer offer;
    return FindTrustOffer(refusal, offer);
}

bool PendingTrust::Keep(const char* refusal) {
    if (!OffersTrust(refusal)) return false;
    refusal_ = refusal;
    return true;
}

std::string PendingTrust::Ask(HWND owner) {
    if (refusal_.empty()) return "";
    const std::string refusal = refusal_;
    refusal_.clear();
    return OfferCertificateTrust(owner, question, refusal);
}

std::string OfferCertificateTrust(HWND owner, const TrustQuestion& q, const std::string& refusal) {
    TrustOffer offer;
    if (!FindTrustOffer(refusal.c_str(), offer)) return "";
    MessageCatalog* catalog = q.catalog;
    if (q.automatic) return CatalogText(catalog, kKeyAutomatic, kKeyAutomatic);
    Win32SettingsRegistry registry(q.registryKey ? q.registryKey : kRegistryKey);
    const std::string mailbox = ReadCurrentMailboxName(registry);
    // The box's paragraphs: what happened, the library's reason, the fingerprint, the question.
    const std::string text = (q.pinned ? Format(catalog, kKeyChanged, {q.serverName, mailbox})
                                       : Format(catalog, kKeyPresented, {q.serverName})) +
                             "\r\n\r\n" + offer.reason + "\r\n\r\n" +
                             CatalogText(catalog, kKeyFingerprint, "") + "\r\n" +
                             offer.fingerprint + "\r\n\r\n" +
                             Format(catalog, q.pinned ? kKeyAskChanged : kKeyAsk, {mailbox});
    const std::string caption = CatalogText(catalog, kKeyCaption, kKeyCaption);
    const UINT icon = q.pinned ? MB_ICONSTOP : MB_ICONWARNING;
    // No is the default: trusting takes a deliberate choice.
    if (ui::MessageBox(owner, text.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2 | icon) !=
        IDYES)
        return CatalogText(catalog, kKeyNotTrusted, kKeyNotTrusted);
    if (!WriteMailboxPin(registry, mailbox, q.server, offer.fingerprint))
        return CatalogText(catalog, kKeyNotKept, kKeyNotKept);
    return CatalogText(catalog, kKeyTrusted, kKeyTrusted);
}

} // namespace lx
