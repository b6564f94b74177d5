#include "common/settings/mailbox_record.h"

#include <algorithm>
#include <cstring>

#include "common/settings/fixed_text.h"
#include "common/settings/le_codec.h"

namespace lx {

namespace {

// The 384-byte record in field order.
struct MailboxFields {
    template <class Codec, class Rec>
    static void Each(Codec& c, Rec& rec) {
        c.Field(rec.name);
        c.Field(rec.pop3Server);
        c.Field(rec.smtpServer);
        c.Field(rec.address);
        c.Field(rec.user);
        c.Field(rec.password);
        c.Field(rec.deleteMail);
        c.Field(rec.apop);
        c.Field(rec.current);
        c.Field(rec.defaultFolder);
        c.Field(rec.defaultFolderNum);
        c.Field(rec.unused);
    }
};

} // namespace

void EncodeMailbox(const MailboxRecord& rec, std::uint8_t* image) {
    EncodeFields<MailboxFields>(rec, image, kMailboxRecordSize);
}

MailboxRecord DecodeMailbox(const std::uint8_t* image) {
    return DecodeFields<MailboxFields, MailboxRecord>(image, kMailboxRecordSize);
}

MailboxRecord ConvertMailSetX(const std::uint8_t* oldImage) {
    // Bytes 0-332 keep their place; the 50 bytes from 333 move up by one, so the password field
    // gains its 17th byte (zero) and the flags and default folder follow it.
    std::uint8_t image[kMailboxRecordSize] = {};
    std::memcpy(image, oldImage, 333);
    std::memcpy(image + 334, oldImage + 333, 50);
    return DecodeMailbox(image);
}

MailboxRecord ConvertMailSet3(const std::uint8_t* oldImage, std::int32_t inFolderNum) {
    MailboxRecord rec;
    LeReader r(oldImage, kMailSet3RecordSize);
    r.Text(rec.name, sizeof rec.name);
    r.Text(rec.pop3Server, sizeof rec.pop3Server);
    r.Text(rec.smtpServer, sizeof rec.smtpServer);
    r.Text(rec.address, sizeof rec.address);
    // All 16 bytes of the old user field count: the new field has room for a name that fills it.
    char user[17] = {};
    r.Bytes(reinterpret_cast<std::uint8_t*>(user), 16);
    CopyText(rec.user, user);
    // The 16 scrambled password bytes are taken unchanged; the 17th byte of the new field stays zero.
    r.Bytes(reinterpret_cast<std::uint8_t*>(rec.password), 16);
    rec.deleteMail = r.I32();
    rec.apop = r.I32();
    rec.current = r.I32();
    CopyText(rec.defaultFolder, "_IN");
    rec.defaultFolderNum = inFolderNum;
    return rec;
}

int MailboxCount(const MailboxList& list) { return std::clamp<int>(list.count, 0, kMaxMailboxes); }

int CurrentMailboxIndex(const MailboxList& list) {
    int n = MailboxCount(list);
    if (n == 0) return -1;
    int current = 0;
    for (int i = 0; i < n; ++i) {
        if (list.records[i].current != 0) current = i;
    }
    return current;
}

bool SetCurrentMailbox(MailboxList& list, int index) {
    int n = MailboxCount(list);
    if (index < 0 || index >= n) return false;
    for (int i = 0; i < n; ++i) list.records[i].current = (i == index) ? 1 : 0;
    return true;
}

int FindMailbox(const MailboxList& list, const char* name) {
    if (name == nullptr) return -1;
    int n = MailboxCount(list);
    for (int i = 0; i < n; ++i) {
        if (TextOf(list.records[i].name) == name) return i;
    }
    return -1;
}

} // namespace lx
