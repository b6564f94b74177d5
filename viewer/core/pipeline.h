// The two halves of showing a message: the loader reads it stage by stage into the message data,
// the page writer turns each stage into its part of the page as soon as the loader hands it over.
// Both run on threads of their own; the store and the page file are reached through the source
// and sink the caller gives, so the same code runs against the store and in tests.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "viewer/core/loadsql.h"
#include "viewer/core/msgrecord.h"
#include "viewer/core/pagewriter.h"
#include "viewer/core/stagehandover.h"

namespace lx::viewer {

// Everything the loader reads: the record and the three lists beside it.
struct MessageData {
    MessageRecord record;
    RecipientList to;
    RecipientList cc;
    AttachmentList attachments;
};

// Where the loader reads from (the store, or a test's stand-in).
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // False when the store cannot be reached.
    virtual bool Connect() = 0;
    // False when the message row cannot be read.
    virtual bool ReadRecord(MessageRecord& record) = 0;
    // Fills `list`, or sets its failed flag when a query fails.
    virtual void ReadRecipients(MessageList which, RecipientList& list) = 0;
    // Fills the slots with the file names and their programs, or the failed count.
    virtual void ReadAttachments(AttachmentList& attachments) = 0;
};

// Called on the thread concerned just before a stage changes hands (loader) or is read (writer);
// tests slow either side down through it.
using StageHook = std::function<void(LoadStage)>;

struct LoadTexts {
    std::string storeUnreachable;  // contains "Error:"
    std::string messageUnreadable; // contains "Error:"
};

// Reads the message into `data`, completing each stage as soon as it is filled. When the store
// cannot be reached or the row cannot be read, the message id holds the error text and every
// stage is completed at once. Ends with every stage complete.
void RunLoader(MessageSource& source, MessageData& data, StageHandover& handover,
               const LoadTexts& texts, const StageHook& hook = nullptr);

struct PageJob {
    std::size_t bufferSize = 0;
    bool messageMode = true;
    std::string htmlBodyPath;
    BodyFileWriter writeBodyFile;
    // How long the writer waits for any one stage before giving the page up.
    std::chrono::milliseconds stageTimeout{60000};
};

enum class PageOutcome {
    Written,    // the message page is complete
    ErrorPage,  // the message could not be read: the short error page is complete
    Abandoned,  // the viewer is closing
    TimedOut,   // a stage never came
    WriteFailed // the sink refused a part
};

// Writes the page part by part into `sink` as each stage is handed over.
PageOutcome RunPageWriter(MessagePageWriter& writer, const MessageData& data,
                          StageHandover& handover, const PageJob& job,
                          const std::function<bool(const std::string&)>& sink,
                          const StageHook& hook = nullptr);

} // namespace lx::viewer
