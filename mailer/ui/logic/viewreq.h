// What the main program makes of a viewer request record (common/viewreq/viewreqrecord.h): the
// texts a composer opens with for a reply/forward (code 3) or a mail-to (code 4) request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/viewreq/viewreqrecord.h"

namespace lx {

struct MailboxList;

// The return addresses of the mailboxes in `mailboxes` (none for a null list).
std::vector<std::string> OwnAddresses(const MailboxList* mailboxes);

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

// Code 2: the addresses offered for the address book: the sender first, then the To and the Cc
// pieces that are not own addresses, each cut to kAddressEntryChars characters.
constexpr std::size_t kAddressEntryChars = 80;
std::vector<std::string> AddressesFromRequest(const ViewerRequest& request,
                                              const std::vector<std::string>& ownAddresses);

// A request as the text argument of a plugged command (the record's bytes in hexadecimal), and
// back; false (and `request` untouched) for a text ViewerRequestArgument did not make.
std::string ViewerRequestArgument(const ViewerRequest& request);
bool ParseViewerRequestArgument(const char* argument, ViewerRequest* request);

} // namespace lx
