#include "mailer/ui/logic/viewreq.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lx {

namespace {

// Offsets of the record's fields.
constexpr std::size_t kCodeAt = 0, kMesgNumAt = 4, kMesgSizeAt = 8, kSenderAt = 12;
constexpr std::size_t kSeparatorAt = 93, kToListAt = 97, kToCountAt = 1953, kCcListAt = 1957;
constexpr std::size_t kCcCountAt = 3813, kSubjectAt = 3817;

std::int32_t ReadInt(const std::uint8_t* at) {
    const std::uint32_t v = std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 |
                            std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
    return static_cast<std::int32_t>(v);
}

void WriteInt(std::uint8_t* at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A text field read up to its first zero byte, never past its width.
std::string ReadText(const std::uint8_t* at, std::size_t width) {
    const auto* text = reinterpret_cast<const char*>(at);
    std::size_t n = 0;
    while (n < width && text[n] != '\0') ++n;
    return std::string(text, n);
}

void WriteText(std::uint8_t* at, std::size_t width, const std::string& text) {
    const std::size_t n = std::min(text.size(), width - 1);
    std::memcpy(at, text.data(), n);
}

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

} // namespace

bool ParseViewerRequest(const std::uint8_t* bytes, std::size_t size, ViewerRequest* request) {
    if (!bytes || size != kViewerRequestSize) return false;
    const std::int32_t code = ReadInt(bytes + kCodeAt);
    if (code < 1 || code > 4) return false;
    ViewerRequest r;
    r.code = static_cast<ViewerRequestCode>(code);
    r.mesgNum = ReadInt(bytes + kMesgNumAt);
    r.mesgSize = ReadInt(bytes + kMesgSizeAt);
    r.sender = ReadText(bytes + kSenderAt, kRequestSenderWidth);
    r.separatorCode = ReadInt(bytes + kSeparatorAt);
    r.toList = ReadText(bytes + kToListAt, kRequestListWidth);
    r.toCount = ReadInt(bytes + kToCountAt);
    r.ccList = ReadText(bytes + kCcListAt, kRequestListWidth);
    r.ccCount = ReadInt(bytes + kCcCountAt);
    r.subject = ReadText(bytes + kSubjectAt, kRequestSubjectWidth);
    *request = std::move(r);
    return true;
}

std::vector<std::uint8_t> EncodeViewerRequest(const ViewerRequest& r) {
    std::vector<std::uint8_t> bytes(kViewerRequestSize, 0);
    WriteInt(&bytes[kCodeAt], static_cast<std::int32_t>(r.code));
    WriteInt(&bytes[kMesgNumAt], r.mesgNum);
    WriteInt(&bytes[kMesgSizeAt], r.mesgSize);
    WriteText(&bytes[kSenderAt], kRequestSenderWidth, r.sender);
    WriteInt(&bytes[kSeparatorAt], r.separatorCode);
    WriteText(&bytes[kToListAt], kRequestListWidth, r.toList);
    WriteInt(&bytes[kToCountAt], r.toCount);
    WriteText(&bytes[kCcListAt], kRequestListWidth, r.ccList);
    WriteInt(&bytes[kCcCountAt], r.ccCount);
    WriteText(&bytes[kSubjectAt], kRequestSubjectWidth, r.subject);
    return bytes;
}

std::string ListSeparator(std::int32_t separatorCode) {
    switch (separatorCode) {
    case 1: return std::string(1, '\xB6');
    case 2: return "\r\n";
    case 3: return ";";
    case 4: return "\t";
    default: return std::string();
    }
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

} // namespace lx
