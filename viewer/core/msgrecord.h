// The message the viewer shows, as the loader reads it from the store: the record, its To and Cc
// recipients and its attached files. The loader fills each part under its own lock and the page
// writer, the simple view, printing and the requests to the main program read them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx::viewer {

// Field widths of the record (buffer sizes including the terminating zero).
constexpr std::size_t kMesgIdWidth = 65;
constexpr std::size_t kMesgDateWidth = 41;
constexpr std::size_t kFromAddWidth = 81;
constexpr std::size_t kSubjectWidth = 256;
constexpr std::size_t kRecipientNameWidth = 81;
constexpr std::size_t kAttachmentNameWidth = 256;
constexpr std::size_t kAttachmentSlots = 8;
// Attachment count of a failed attachment query.
constexpr int kAttachmentsFailed = -13;

// Messages.AppDate, the date the message was received.
struct AppDate {
    std::int16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::uint32_t fraction = 0;
};

struct MessageRecord {
    std::int32_t folderNum = 0;
    std::string mesgId;   // or the load error text, which contains "Error:"
    std::string mesgDate; // date prepared, as stored
    std::string mailData; // the body, at most the mail-data buffer size
    std::uint32_t mesgSize = 0;
    std::string fromAdd;
    std::string subject; // as stored, with its flag suffix
    AppDate appDate;
};

// The text cut to a field of `width` bytes (width - 1 characters, at a zero byte if earlier).
std::string FitField(const std::string& text, std::size_t width);

// Stores the columns in the record, each cut to its field; the mail data to the buffer size.
void SetRecordTexts(MessageRecord& record, const std::string& mesgId, const std::string& mesgDate,
                    const std::string& mailData, std::size_t bufferSize, const std::string& fromAdd,
                    const std::string& subject);

// True when the record holds a load error instead of a message id.
bool HasLoadError(const MessageRecord& record);

// The subject as shown: without its flag suffix.
std::string ShownSubject(const std::string& storedSubject);

// The body as read: the mail data up to MesgSize bytes, never past the buffer, ended by a zero.
std::string BodyText(const MessageRecord& record, std::size_t bufferSize);

// To or Cc recipients; `failed` when a list query failed.
struct RecipientList {
    std::vector<std::string> names;
    bool failed = false;
};

// Appends a recipient name (cut to its field; empty names are skipped).
void AddRecipient(RecipientList& list, const std::string& name);
// The plain form: each name followed by CR LF.
std::string PlainForm(const RecipientList& list);

struct Attachment {
    std::string name;    // short path, upper-cased
    std::string program; // the program that opens it, empty when none is known
};

struct AttachmentList {
    int count = 0; // stored slots, or kAttachmentsFailed
    std::array<Attachment, kAttachmentSlots> slots;
};

// Stores a file name (upper-cased, cut to its field) in the next free slot; false when all eight
// are taken or the query failed, so further rows are simply not shown.
bool AddAttachment(AttachmentList& list, const std::string& name);

// Month names: entry 0 empty, entries 1 to 12 from the catalogue, each at most 7 characters.
using MonthNames = std::array<std::string, 13>;
MonthNames MakeMonthNames(const std::array<std::string, 12>& janToDec);

// "%02d-%s-%4d %02d:%02d:%02d": day, month name, year, hour, minute, second. A month outside
// 1..12 gets the empty name.
std::string FormatReceived(const AppDate& date, const MonthNames& months);

} // namespace lx::viewer
