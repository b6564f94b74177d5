#include "mailer/transfer/logic/retrieved.h"

#include "common/schema/subject.h"

#include <cstring>

namespace lx {

namespace {

// A fixed field of the record: its text up to the NUL, never past the array.
template <std::size_t N>
std::string Field(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

std::vector<std::string> List(char* const* items, std::int32_t count, int most) {
    std::vector<std::string> values;
    for (std::int32_t i = 0; i < count && i < most; ++i)
        if (items[i]) values.emplace_back(items[i]);
    return values;
}

} // namespace

NewMessage RetrievedMessage(const TernScanRecord& r, long folderNum, const StoreTime& now,
                            const std::string& noRecipient) {
    NewMessage m;
    m.kind = NewMessageKind::Retrieved;
    m.folderNum = folderNum;
    m.mesgId = Field(r.MesgId);
    m.fromAdd = Field(r.From);
    m.mesgDate = Field(r.Date);
    m.appDate = now;
    m.to = List(r.To, r.ToCount, TERN_SCAN_MAX_ADDRS);
    m.cc = List(r.Cc, r.CcCount, TERN_SCAN_MAX_ADDRS);
    m.files = List(r.Files, r.FileCount, TERN_SCAN_MAX_FILES);
    m.subject = ComposeSubject(Field(r.Subject), true, !m.files.empty());
    if (r.Text) m.mailData = r.Text;
    m.mesgSize = -1; // the bytes of the text as stored
    if (m.to.empty()) m.to.push_back(noRecipient);
    return m;
}

FilterMessage FilterTextsOf(const TernScanRecord& r) {
    return FilterMessage{Field(r.From), Field(r.Subject), r.Text ? r.Text : ""};
}

} // namespace lx
