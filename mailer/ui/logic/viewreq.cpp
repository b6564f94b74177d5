#include "mailer/ui/logic/viewreq.h"

#include "common/settings/mailbox_record.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lx {

namespace {

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> OthersThanOwn(const std::string& list, const ViewerRequest& request,
                                       std::int32_t count,
                                       const std::vector<std::string>& ownAddresses) {
    std::vector<std::string> kept;
    for (std::string& piece : SplitRequestList(list, ListSeparator(request.separatorCode), count))
        if (!IsOwnAddress(piece, ownAddresses)) kept.push_back(std::move(piece));
    return kept;
}

constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    const char* at = c ? std::strchr(kHexDigits, c) : nullptr;
    return at ? static_cast<int>(at - kHexDigits) : -1;
}

} // namespace

std::vector<std::string> OwnAddresses(const MailboxList* mailboxes) {
    std::vector<std::string> own;
    const int count = mailboxes ? MailboxCount(*mailboxes) : 0;
    for (int i = 0; i < count; ++i) own.emplace_back(mailboxes->records[i].address);
    return own;
}

std::vector<std::string> SplitRequestList(const std::string& list, const std::string& separator,
                                          std::int32_t count) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    // Without a separator the whole field is one piece.
    while (static_cast<std::int32_t>(pieces.size()) < count && from < list.size()) {
        const std::size_t at = separator.empty() ? std::string::npos : list.find(separator, from);
        const std::size_t end = at == std::string::npos ? list.size() : at;
        std::string piece = list.substr(from, end - from);
        from = at == std::string::npos ? list.size() : at + separator.size();
        if (!piece.empty()) pieces.push_back(std::move(piece));
    }
    return pieces;
}

bool IsOwnAddress(const std::string& text, const std::vector<std::string>& ownAddresses) {
    if (text.empty()) return false;
    const std::string lowered = Lower(text);
    for (const std::string& own : ownAddresses) {
        if (own.empty()) continue;
        const std::string ownLowered = Lower(own);
        if (lowered.find(ownLowered) != std::string::npos ||
            ownLowered.find(lowered) != std::string::npos)
            return true;
    }
    return false;
}

ReplyTexts ReplyFromRequest(const ViewerRequest& request,
                            const std::vector<std::string>& ownAddresses,
                            const std::string& earlierBody) {
    ReplyTexts texts;
    texts.quotedSender = request.sender;
    texts.subject = request.subject;
    texts.to = request.sender;
    for (const std::string& piece :
         OthersThanOwn(request.toList, request, request.toCount, ownAddresses))
        texts.to += "\r\n" + piece;
    for (const std::string& piece :
         OthersThanOwn(request.ccList, request, request.ccCount, ownAddresses))
        texts.cc += (texts.cc.empty() ? "" : "\r\n") + piece;
    texts.earlierBody = earlierBody;
    texts.hasEarlierBody = true;
    return texts;
}

ReplyTexts MailToFromRequest(const ViewerRequest& request) {
    ReplyTexts texts;
    texts.to = request.toList;
    texts.subject = request.subject;
    return texts;
}

std::vector<std::string> AddressesFromRequest(const ViewerRequest& request,
                                              const std::vector<std::string>& ownAddresses) {
    std::vector<std::string> table{request.sender};
    for (const std::string& piece :
         OthersThanOwn(request.toList, request, request.toCount, ownAddresses))
        table.push_back(piece);
    for (const std::string& piece :
         OthersThanOwn(request.ccList, request, request.ccCount, ownAddresses))
        table.push_back(piece);
    for (std::string& entry : table)
        if (entry.size() > kAddressEntryChars) entry.resize(kAddressEntryChars);
    return table;
}

std::string ViewerRequestArgument(const ViewerRequest& request) {
    std::string text;
    for (std::uint8_t byte : EncodeViewerRequest(request)) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

bool ParseViewerRequestArgument(const char* argument, ViewerRequest* request) {
    if (!argument || !request || std::strlen(argument) != 2 * kViewerRequestSize) return false;
    std::vector<std::uint8_t> bytes(kViewerRequestSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(argument[2 * i]);
        const int low = HexValue(argument[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return ParseViewerRequest(bytes.data(), bytes.size(), request);
}

} // namespace lx
