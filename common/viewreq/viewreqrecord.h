// The viewer request record: the 4073-byte record the viewer sends through the mailslot
// \\.\mailslot\LX_MS_20 for each follow-up request, one mailslot message per record. Integers are
// 32-bit little-endian; every text is zero-terminated within its width. The viewer writes it, the
// main program's mailslot reader parses it: both go through this one layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

constexpr std::size_t kViewerRequestSize = 4073;
constexpr const char* kViewerMailslotName = "\\\\.\\mailslot\\LX_MS_20";

enum class ViewerRequestCode : std::int32_t {
    MessageChanged = 1,
    AddAddresses = 2,
    ReplyOrForward = 3,
    MailTo = 4
};

// Field widths (buffer sizes including the terminating zero).
constexpr std::size_t kRequestSenderWidth = 81;
constexpr std::size_t kRequestListWidth = 1856;
constexpr std::size_t kRequestSubjectWidth = 256;

// Field offsets.
constexpr std::size_t kRequestCodeAt = 0;
constexpr std::size_t kRequestMesgNumAt = 4;
constexpr std::size_t kRequestMesgSizeAt = 8;
constexpr std::size_t kRequestSenderAt = 12;
constexpr std::size_t kRequestSeparatorAt = kRequestSenderAt + kRequestSenderWidth; // 93
constexpr std::size_t kRequestToListAt = kRequestSeparatorAt + 4;                   // 97
constexpr std::size_t kRequestToCountAt = kRequestToListAt + kRequestListWidth;     // 1953
constexpr std::size_t kRequestCcListAt = kRequestToCountAt + 4;                     // 1957
constexpr std::size_t kRequestCcCountAt = kRequestCcListAt + kRequestListWidth;     // 3813
constexpr std::size_t kRequestSubjectAt = kRequestCcCountAt + 4;                    // 3817
static_assert(kRequestSubjectAt + kRequestSubjectWidth == kViewerRequestSize,
              "the request record is 4073 bytes");

// How entries of the two lists are separated; the viewer always writes CR LF.
enum class ListSeparatorCode : std::int32_t { Pilcrow = 1, CrLf = 2, Semicolon = 3, Tab = 4 };

struct ViewerRequest {
    ViewerRequestCode code = ViewerRequestCode::MessageChanged;
    std::int32_t mesgNum = 0;
    std::int32_t mesgSize = 0;
    std::string sender;
    std::int32_t separatorCode = static_cast<std::int32_t>(ListSeparatorCode::CrLf);
    std::string toList;
    std::int32_t toCount = 0;
    std::string ccList;
    std::int32_t ccCount = 0;
    std::string subject;
};

// False for a record that is not exactly kViewerRequestSize bytes or whose code is not 1..4.
bool ParseViewerRequest(const std::uint8_t* bytes, std::size_t size, ViewerRequest* request);
// The record as it goes on the mailslot: every text cut to its width minus the terminating zero,
// fields a request does not fill are zero.
std::vector<std::uint8_t> EncodeViewerRequest(const ViewerRequest& request);

// The separator of a separator code: 1 the byte 0xB6, 2 CR LF, 3 ";", 4 TAB, else empty.
std::string ListSeparator(std::int32_t separatorCode);

} // namespace lx
