// One sending run of the "Send Mail [SMTP]" dialog: the queued messages as read from the store,
// which of them the preparer gets, and which spool message number each row carries.
//
// The SMTP session numbers the messages of the spool file, the dialog its queued rows. A row the
// dialog refuses (no recipient, a field too long for the preparer, an attachment that cannot be
// read) never reaches the preparer: it takes no number, stays in _OUT, and the rows after it
// keep their own. The preparer writes a section for every message it is asked to end, so a row
// takes the next number exactly when its message was ended.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lx {

struct QueuedMessage {
    long mesgNum = 0;
    std::string subject; // as stored, flag suffix included
    std::string mailData;
    long mesgSize = 0;
    std::string mesgId; // the name of the signature to append, or empty
    std::string fromAdd;
    std::vector<std::string> to, cc, files;
};

// The preparer's limits: an address (To, Cc) of at most 127 characters, a subject and an
// attached file's path of at most 255.
constexpr std::size_t kPrepAddressMax = 127;
constexpr std::size_t kPrepLongFieldMax = 255;

enum class Refusal {
    None,
    NoRecipient,     // no To entry
    AddressTooLong,  // detail: the address
    SubjectTooLong,  // detail: the subject
    FileNameTooLong, // detail: the path
    FileUnreadable,  // detail: the path
};

struct RefusalFound {
    Refusal why = Refusal::None;
    std::string detail;
};

// Whether the message can go to the preparer whole; `readable` says whether a file can be
// opened for reading. The first fault found, in the order above.
RefusalFound CheckQueuedMessage(const QueuedMessage& message,
                                const std::function<bool(const std::string& path)>& readable);

// The catalogue key of the log line of a refusal ("%d" the row, then "%s" the detail where the
// refusal has one).
const char* RefusalKey(Refusal why);

// The subject to send: the stored value without its flag suffix.
std::string SubjectToSend(const std::string& stored);

// Bytes to read a message text of `largest` bytes into: the next multiple of 16 above it (16
// more when it is one already), 8192 when the size is not known (0 or less).
std::size_t TextBufferSize(long largest);

class SendingRun {
public:
    // Adds the next queued row; `numbered` when its message was ended in the spool file. Returns
    // the row's index, from 1.
    int AddRow(long mesgNum, bool numbered);
    int Rows() const { return static_cast<int>(rows_.size()); }
    int Numbered() const { return numbered_; }
    // The row (from 1) of spool message `number`; 0 when no row carries it.
    int RowOfMessage(int number) const;
    // The server accepted spool message `number`: its row is marked sent. False when no row
    // carries the number.
    bool MarkSent(int number);
    bool IsSent(int row) const;
    long MesgNumOf(int row) const;
    // The MesgNum of every row marked sent, in row order.
    std::vector<long> SentMesgNums() const;

private:
    struct Row {
        long mesgNum;
        int number; // spool message number, 0 for none
        bool sent;
    };
    std::vector<Row> rows_;
    int numbered_ = 0;
};

} // namespace lx
