// The viewer's side of the requests to the main program: the request records for Insert
// Addresses, Reply/Forward, a followed mail-to link and a changed message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/viewreq/viewreqrecord.h"
#include "viewer/core/msgrecord.h"

namespace lx::viewer {

// A list field filled from a plain list (lines ended by CR LF): empty lines skipped, text after
// the last CR LF not taken, each entry appended with CR LF and counted; filling stops at the
// first entry that would bring the field to 1855 characters or more.
struct FilledList {
    std::string text;
    std::int32_t count = 0;
};
FilledList FillRequestList(std::string_view plainList);

// Code 2: the sender and both lists.
ViewerRequest AddAddressesRequest(const MessageRecord& record, const RecipientList& to,
                                  const RecipientList& cc);
// Code 3: as code 2, with the message number, MesgSize and the subject (without its flags).
ViewerRequest ReplyRequest(const MessageRecord& record, std::int32_t mesgNum,
                           const RecipientList& to, const RecipientList& cc);
// Code 4: the address to write to in the To field, the subject "???".
ViewerRequest MailToRequest(std::string_view address);
// Code 1: the message was moved or deleted.
ViewerRequest MessageChangedRequest();

// The address of a followed "mailto:" link: with the WebBrowser control the text after the
// first "mailto:", leading blanks skipped; with the HTML control the URL without its first
// 7 characters.
std::string MailToAddress(std::string_view url, bool webBrowser);

// Links on the message page the viewer handles itself (the browser's navigation is cancelled).
bool IsMailToLink(std::string_view url);
bool IsAttachmentLink(std::string_view url);

// The slot of the attachment a followed "ftp:///[LORVEX]" link names, or -1: the text behind the
// prefix (with the HTML control: the URL without its first 15 characters), every "/" turned
// into "\", compared exactly with the attachment names.
int AttachmentForLink(std::string_view url, bool webBrowser, const AttachmentList& attachments);

} // namespace lx::viewer
