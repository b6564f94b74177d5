// libFuzzer target: the viewer request record as the main program's mailslot reader receives it
// (any bytes; the first 4073 are the record), and records the viewer builds from a stored
// message of any texts, sent through the record and read back by the main program.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/viewreq/viewreqrecord.h"
#include "fuzz/common/fuzzutil.h"
#include "mailer/ui/logic/viewreq.h"
#include "viewer/core/msgrecord.h"
#include "viewer/core/viewerrequest.h"

namespace {

bool SameRequest(const lx::ViewerRequest& a, const lx::ViewerRequest& b) {
    return a.code == b.code && a.mesgNum == b.mesgNum && a.mesgSize == b.mesgSize &&
           a.sender == b.sender && a.separatorCode == b.separatorCode && a.toList == b.toList &&
           a.toCount == b.toCount && a.ccList == b.ccList && a.ccCount == b.ccCount &&
           a.subject == b.subject;
}

// What the main program makes of a request: composer texts and address book entries.
void UseRequest(const lx::ViewerRequest& r, const std::vector<std::string>& own) {
    FUZZ_CHECK(r.sender.size() < lx::kRequestSenderWidth);
    FUZZ_CHECK(r.toList.size() < lx::kRequestListWidth && r.ccList.size() < lx::kRequestListWidth);
    FUZZ_CHECK(r.subject.size() < lx::kRequestSubjectWidth);
    const std::string separator = lx::ListSeparator(r.separatorCode);
    const auto pieces = lx::SplitRequestList(r.toList, separator, r.toCount);
    FUZZ_CHECK(static_cast<std::int64_t>(pieces.size()) <= std::max<std::int32_t>(r.toCount, 0));
    for (const std::string& piece : pieces) {
        FUZZ_CHECK(!piece.empty());
        FUZZ_CHECK(separator.empty() || piece.find(separator) == std::string::npos);
    }
    const lx::ReplyTexts reply = lx::ReplyFromRequest(r, own, "earlier text");
    FUZZ_CHECK(reply.to.compare(0, r.sender.size(), r.sender) == 0);
    FUZZ_CHECK(reply.subject == r.subject && reply.hasEarlierBody);
    const lx::ReplyTexts mailTo = lx::MailToFromRequest(r);
    FUZZ_CHECK(mailTo.to == r.toList && mailTo.cc.empty());
    const auto entries = lx::AddressesFromRequest(r, own);
    FUZZ_CHECK(!entries.empty());
    for (const std::string& e : entries) FUZZ_CHECK(e.size() <= lx::kAddressEntryChars);
    // A request handed on as a command's text argument arrives unchanged.
    lx::ViewerRequest back;
    FUZZ_CHECK(lx::ParseViewerRequestArgument(lx::ViewerRequestArgument(r).c_str(), &back));
    FUZZ_CHECK(SameRequest(back, r));
}

void FromMailslot(const std::uint8_t* data, std::size_t size, const std::vector<std::string>& own) {
    lx::ViewerRequest r;
    const bool parsed = lx::ParseViewerRequest(data, size, &r);
    FUZZ_CHECK(!parsed || size == lx::kViewerRequestSize);
    if (size < lx::kViewerRequestSize) return;
    if (!lx::ParseViewerRequest(data, lx::kViewerRequestSize, &r)) return;
    UseRequest(r, own);
    // Written again and read again, the request is the same.
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(r);
    FUZZ_CHECK(bytes.size() == lx::kViewerRequestSize);
    lx::ViewerRequest again;
    FUZZ_CHECK(lx::ParseViewerRequest(bytes.data(), bytes.size(), &again));
    FUZZ_CHECK(SameRequest(again, r));
}

// A stored message's recipients as the viewer sends them and the main program reads them.
void FromViewer(FuzzedDataProvider& in, const std::vector<std::string>& own) {
    namespace v = lx::viewer;
    v::MessageRecord record;
    v::SetRecordTexts(record, "id", "date", "body", 8192, in.ConsumeRandomLengthString(120),
                      in.ConsumeRandomLengthString(300));
    v::RecipientList to, cc;
    const int toCount = in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < toCount; ++i) v::AddRecipient(to, in.ConsumeRandomLengthString(100));
    const int ccCount = in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < ccCount; ++i) v::AddRecipient(cc, in.ConsumeRandomLengthString(100));

    const lx::ViewerRequest sent = v::AddAddressesRequest(record, to, cc);
    const std::vector<std::uint8_t> bytes = lx::EncodeViewerRequest(sent);
    lx::ViewerRequest got;
    FUZZ_CHECK(lx::ParseViewerRequest(bytes.data(), bytes.size(), &got));
    FUZZ_CHECK(SameRequest(got, sent));
    UseRequest(got, own);
    // Names without a line break inside arrive one for one, as far as the field holds them.
    bool plain = true;
    for (const std::string& n : to.names) plain = plain && n.find("\r\n") == std::string::npos;
    if (plain) {
        const auto pieces = lx::SplitRequestList(got.toList, "\r\n", got.toCount);
        FUZZ_CHECK(pieces.size() == static_cast<std::size_t>(got.toCount));
        for (std::size_t i = 0; i < pieces.size(); ++i) FUZZ_CHECK(pieces[i] == to.names[i]);
    }
    const lx::ViewerRequest reply = v::ReplyRequest(record, 12, to, cc);
    const std::vector<std::uint8_t> replyBytes = lx::EncodeViewerRequest(reply);
    FUZZ_CHECK(lx::ParseViewerRequest(replyBytes.data(), replyBytes.size(), &got));
    FUZZ_CHECK(SameRequest(got, reply));
    const lx::ViewerRequest mailTo = v::MailToRequest(in.ConsumeRandomLengthString(3000));
    const std::vector<std::uint8_t> mailToBytes = lx::EncodeViewerRequest(mailTo);
    FUZZ_CHECK(lx::ParseViewerRequest(mailToBytes.data(), mailToBytes.size(), &got));
    FUZZ_CHECK(SameRequest(got, mailTo));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> own = {"me@example.org", "", "Other@Example.NET"};
    FromMailslot(data, size, own);
    // The text form of the record, from any text.
    lx::ViewerRequest r;
    if (lx::ParseViewerRequestArgument(
            std::string(reinterpret_cast<const char*>(data), size).c_str(), &r))
        UseRequest(r, own);
    if (size > lx::kViewerRequestSize) {
        FuzzedDataProvider in(data + lx::kViewerRequestSize, size - lx::kViewerRequestSize);
        FromViewer(in, own);
    } else {
        FuzzedDataProvider in(data, size);
        FromViewer(in, own);
    }
    return 0;
}
