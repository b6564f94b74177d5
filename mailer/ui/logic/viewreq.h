// The viewer request record: the 4073-byte record a viewer sends through the mailslot for each
// follow-up request, and what the main program makes of a reply/forward (code 3) or a mail-to
// (code 4) request: the texts a composer opens with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

constexpr std::size_t kViewerRequestSize = 4073;

enum class ViewerRequestCode : std::int32_t {
    MessageChanged = 1,
    AddAddresses = 2,
    ReplyOrForward = 3,
    MailTo = 4
};

// Field widths of the record (every text zero-terminated within its width).
constexpr std::size_t kRequestSenderWidth = 81;
constexpr std::size_t kRequestListWidth = 1856;
constexpr std::size_t kRequestSubjectWidth = 256;

struct ViewerRequest {
    ViewerRequestCode code = ViewerRequestCode::MessageChanged;
    std::int32_t mesgNum = 0;
    std::int32_t mesgSize = 0;
    std::string sender;
    std::int32_t separatorCode = 2;
    std::string toList;
    std::int32_t toCount = 0;
    std::string ccList;
    std::int32_t ccCount = 0;
    std::string subject;
};

// False for a record that is not exactly kViewerRequestSize bytes or whose code is not 1..4.
bool ParseViewerRequest(const std::uint8_t* bytes, std::size_t size, ViewerRequest* request);
// The record as a viewer writes it (texts cut to their widths).
std::vector<std::uint8_t> EncodeViewerRequest(const ViewerRequest& request);

// The separator of a separator code: 1 the byte 0xB6, 2 CR LF, 3 ";", 4 TAB, else empty.
std::string ListSeparator(std::int32_t separatorCode);
// The list cut at each occurrence of the separator, at most `count` pieces; a last piece
// without a separator after it counts too. Empty pieces are dropped.
std::vector<std::string> SplitRequestList(const std::string& list, const std::string& separator,
                                          std::int32_t count);

// A text is one of the user's own addresses when, ignoring case, it contains the return address
// of some mailbox or that address contains it (empty texts never match).
bool IsOwnAddress(const std::string& text, const std::vector<std::string>& ownAddresses);

// The texts a reply/forward or mail-to composer opens with.
struct ReplyTexts {
    std::string quotedSender;
    std::string to;
    std::string cc;
    std::string subject;
    std::string earlierBody;
    bool hasEarlierBody = false;
};

// Code 3: To = the sender, then every To piece that is not an own address, each preceded by
// CR LF; Cc = the Cc pieces that are not own addresses, joined by CR LF; the subject unchanged;
// `earlierBody` is the stored message's text.
ReplyTexts ReplyFromRequest(const ViewerRequest& request,
                            const std::vector<std::string>& ownAddresses,
                            const std::string& earlierBody);
// Code 4: To = the whole To field unchanged, no Cc, the request's subject, no earlier body.
ReplyTexts MailToFromRequest(const ViewerRequest& request);

} // namespace lx
