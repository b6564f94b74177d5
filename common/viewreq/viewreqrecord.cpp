#include "common/viewreq/viewreqrecord.h"

#include <algorithm>
#include <cstring>

namespace lx {

namespace {

std::int32_t ReadInt(const std::uint8_t* at) {
    const std::uint32_t v = std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 |
                            std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
    return static_cast<std::int32_t>(v);
}

void WriteInt(std::uint8_t* at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A text field up to its first zero byte. A sender may omit the zero: the field's last byte is the
// zero's place, so the text stops before it, as the writer leaves it, and a request read and
// written again is the same request.
std::string ReadText(const std::uint8_t* at, std::size_t width) {
    const auto* text = reinterpret_cast<const char*>(at);
    const std::size_t n = std::find(text, text + width - 1, '\0') - text;
    return std::string(text, n);
}

// At most width - 1 bytes, so the field always keeps its terminating zero; a text with a zero
// byte inside ends there as the reader would see it.
void WriteText(std::uint8_t* at, std::size_t width, const std::string& text) {
    const std::size_t n = std::min(text.size(), width - 1);
    std::memcpy(at, text.data(), n);
}

} // namespace

bool ParseViewerRequest(const std::uint8_t* bytes, std::size_t size, ViewerRequest* request) {
    if (!bytes || !request || size != kViewerRequestSize) return false;
    const std::int32_t code = ReadInt(bytes + kRequestCodeAt);
    if (code < 1 || code > 4) return false;
    ViewerRequest r;
    r.code = static_cast<ViewerRequestCode>(code);
    r.mesgNum = ReadInt(bytes + kRequestMesgNumAt);
    r.mesgSize = ReadInt(bytes + kRequestMesgSizeAt);
    r.sender = ReadText(bytes + kRequestSenderAt, kRequestSenderWidth);
    r.separatorCode = ReadInt(bytes + kRequestSeparatorAt);
    r.toList = ReadText(bytes + kRequestToListAt, kRequestListWidth);
    r.toCount = ReadInt(bytes + kRequestToCountAt);
    r.ccList = ReadText(bytes + kRequestCcListAt, kRequestListWidth);
    r.ccCount = ReadInt(bytes + kRequestCcCountAt);
    r.subject = ReadText(bytes + kRequestSubjectAt, kRequestSubjectWidth);
    *request = std::move(r);
    return true;
}

std::vector<std::uint8_t> EncodeViewerRequest(const ViewerRequest& r) {
    std::vector<std::uint8_t> bytes(kViewerRequestSize, 0);
    WriteInt(&bytes[kRequestCodeAt], static_cast<std::int32_t>(r.code));
    WriteInt(&bytes[kRequestMesgNumAt], r.mesgNum);
    WriteInt(&bytes[kRequestMesgSizeAt], r.mesgSize);
    WriteText(&bytes[kRequestSenderAt], kRequestSenderWidth, r.sender);
    WriteInt(&bytes[kRequestSeparatorAt], r.separatorCode);
    WriteText(&bytes[kRequestToListAt], kRequestListWidth, r.toList);
    WriteInt(&bytes[kRequestToCountAt], r.toCount);
    WriteText(&bytes[kRequestCcListAt], kRequestListWidth, r.ccList);
    WriteInt(&bytes[kRequestCcCountAt], r.ccCount);
    WriteText(&bytes[kRequestSubjectAt], kRequestSubjectWidth, r.subject);
    return bytes;
}

std::string ListSeparator(std::int32_t separatorCode) {
    switch (static_cast<ListSeparatorCode>(separatorCode)) {
    case ListSeparatorCode::Pilcrow: return std::string(1, '\xB6');
    case ListSeparatorCode::CrLf: return "\r\n";
    case ListSeparatorCode::Semicolon: return ";";
    case ListSeparatorCode::Tab: return "\t";
    }
    return std::string();
}

} // namespace lx
