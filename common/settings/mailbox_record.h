// The mailbox record (one mail account) and the account list held for the whole run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lx {

constexpr std::size_t kMailboxRecordSize = 384;
constexpr std::size_t kMailSetXRecordSize =
    384; // older layout, same size, password one byte shorter
constexpr std::size_t kMailSet3RecordSize = 297; // oldest layout
constexpr int kMaxMailboxes = 10;

// Text fields keep the record's sizes so dialogs can bind them with their length limits.
struct MailboxRecord {
    char name[13] = {};
    char pop3Server[80] = {};
    char smtpServer[80] = {};
    char address[80] = {};
    char user[64] = {};
    char password[17] = {}; // always in scrambled form
    std::int32_t deleteMail = 0;
    std::int32_t apop = 0;
    std::int32_t current = 0;
    char defaultFolder[17] = {};
    std::int32_t defaultFolderNum = 0;
    std::uint8_t unused[17] = {};
};

struct MailboxList {
    std::array<MailboxRecord, kMaxMailboxes> records{};
    std::int16_t count = 0;
};

// image must hold kMailboxRecordSize bytes.
void EncodeMailbox(const MailboxRecord& rec, std::uint8_t* image);
MailboxRecord DecodeMailbox(const std::uint8_t* image);

// Conversions of the older files' records (MAILSETX.STP: 384 bytes, MAILSET3.STP: 297 bytes).
MailboxRecord ConvertMailSetX(const std::uint8_t* oldImage);
MailboxRecord ConvertMailSet3(const std::uint8_t* oldImage, std::int32_t inFolderNum);

// The number of records a list really holds: its count clamped to 0..kMaxMailboxes.
int MailboxCount(const MailboxList& list);

// The mailbox shown as current: the last record whose current flag is set, the first if none is;
// -1 for an empty list.
int CurrentMailboxIndex(const MailboxList& list);

// Sets the current flag on the record at index and clears it on every other one.
bool SetCurrentMailbox(MailboxList& list, int index);

// Index of the record with this name, or -1.
int FindMailbox(const MailboxList& list, const char* name);

} // namespace lx
