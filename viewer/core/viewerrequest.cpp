#include "viewer/core/viewerrequest.h"

namespace lx::viewer {

namespace {

// The longest list text a field takes (its width less the terminating zero and one more, as the
// main program has always read it).
constexpr std::size_t kListTextLimit = kRequestListWidth - 1;

constexpr std::string_view kMailToScheme = "mailto:";
constexpr std::string_view kAttachmentPrefix = "ftp:///[LORVEX]";

ViewerRequest WithLists(ViewerRequestCode code, const MessageRecord& record,
                        const RecipientList& to, const RecipientList& cc) {
    ViewerRequest r;
    r.code = code;
    r.sender = FitField(record.fromAdd, kRequestSenderWidth);
    r.separatorCode = static_cast<std::int32_t>(ListSeparatorCode::CrLf);
    const FilledList toField = FillRequestList(PlainForm(to));
    const FilledList ccField = FillRequestList(PlainForm(cc));
    r.toList = toField.text;
    r.toCount = toField.count;
    r.ccList = ccField.text;
    r.ccCount = ccField.count;
    return r;
}

} // namespace

FilledList FillRequestList(std::string_view plainList) {
    FilledList field;
    std::size_t at = 0;
    for (std::size_t end; (end = plainList.find("\r\n", at)) != std::string_view::npos;
         at = end + 2) {
        const std::string_view entry = plainList.substr(at, end - at);
        if (entry.empty()) continue;
        if (field.text.size() + entry.size() + 2 >= kListTextLimit) break;
        field.text.append(entry).append("\r\n");
        ++field.count;
    }
    return field;
}

ViewerRequest AddAddressesRequest(const MessageRecord& record, const RecipientList& to,
                                  const RecipientList& cc) {
    return WithLists(ViewerRequestCode::AddAddresses, record, to, cc);
}

ViewerRequest ReplyRequest(const MessageRecord& record, std::int32_t mesgNum,
                           const RecipientList& to, const RecipientList& cc) {
    ViewerRequest r = WithLists(ViewerRequestCode::ReplyOrForward, record, to, cc);
    r.mesgNum = mesgNum;
    r.mesgSize = static_cast<std::int32_t>(record.mesgSize);
    r.subject = FitField(ShownSubject(record.subject), kRequestSubjectWidth);
    return r;
}

ViewerRequest MailToRequest(std::string_view address) {
    ViewerRequest r;
    r.code = ViewerRequestCode::MailTo;
    r.separatorCode = 0;
    r.toList = FitField(std::string(address), kRequestListWidth);
    r.subject = "???";
    return r;
}

ViewerRequest MessageChangedRequest() {
    ViewerRequest r;
    r.code = ViewerRequestCode::MessageChanged;
    r.separatorCode = 0;
    return r;
}

std::string MailToAddress(std::string_view url, bool webBrowser) {
    if (!webBrowser) return std::string(url.size() > 7 ? url.substr(7) : std::string_view());
    const std::size_t at = url.find(kMailToScheme);
    if (at == std::string_view::npos) return std::string();
    std::size_t from = at + kMailToScheme.size();
    while (from < url.size() && url[from] == ' ') ++from;
    return std::string(url.substr(from));
}

bool IsMailToLink(std::string_view url) {
    return url.find(kMailToScheme) != std::string_view::npos;
}

bool IsAttachmentLink(std::string_view url) {
    return url.find(kAttachmentPrefix) != std::string_view::npos;
}

int AttachmentForLink(std::string_view url, bool webBrowser, const AttachmentList& attachments) {
    std::size_t from = kAttachmentPrefix.size();
    if (webBrowser) {
        const std::size_t at = url.find(kAttachmentPrefix);
        if (at == std::string_view::npos) return -1;
        from = at + kAttachmentPrefix.size();
    }
    if (from > url.size()) return -1;
    std::string name(url.substr(from));
    for (char& c : name)
        if (c == '/') c = '\\';
    for (int i = 0; i < attachments.count && i < int(kAttachmentSlots); ++i)
        if (attachments.slots[i].name == name) return i;
    return -1;
}

} // namespace lx::viewer
