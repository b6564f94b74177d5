// Handing one queued message to the MIME preparer: the calls in their order, with the signature
// text appended after the message text.
#pragma once

#include <functional>
#include <string>

#include "mailer/transfer/logic/sendrun.h"

namespace lx {

// The preparer's per-message calls (TERNMimePrep*): 0 for success, as the library answers.
class MimeSink {
public:
    virtual ~MimeSink() = default;
    virtual int NewMesg(const char* sender) = 0;
    virtual int To(const char* address) = 0;
    virtual int Cc(const char* address) = 0;
    virtual int File(const char* path) = 0;
    virtual int Subject(const char* subject) = 0;
    virtual int Data(const char* bytes, int length) = 0;
    virtual int EndMesg() = 0;
};

enum class PrepOutcome {
    Ended,    // written to the spool file
    Refused,  // ended, but the preparer refused it (it still holds its place in the file)
    NotEnded, // a part could not be written: the message was never ended, nothing of it is sent
};

// NewMesg with the message's own sender (an empty FromAdd keeps the run's sender), every To and
// Cc, every file (`onFile` first, for the log), the subject without its flag suffix, the text,
// and when `signature` is not empty CR LF, the signature and CR LF; then EndMesg.
PrepOutcome PrepareQueuedMessage(MimeSink& sink, const QueuedMessage& message,
                                 const std::string& signature,
                                 const std::function<void(const std::string& file)>& onFile);

} // namespace lx
