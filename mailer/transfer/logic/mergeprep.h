// Preparing the messages of a mail merge: one message per address, each with that address as its
// only To, the same subject, the same message file as text (read in blocks of 512 bytes from its
// start for every message) and the same attachment when one is given.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mailer/transfer/logic/sendprep.h"

namespace lx {

constexpr int kMergeBlockSize = 512;

// The message file, read from its start again for every message.
class MergeBody {
public:
    virtual ~MergeBody() = default;
    virtual bool Rewind() = 0;
    // Up to `size` bytes; 0 at the end, -1 when reading failed.
    virtual int Read(char* buffer, int size) = 0;
};

// A message file already in memory.
class MergeBodyBytes : public MergeBody {
public:
    explicit MergeBodyBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Rewind() override {
        at_ = 0;
        return true;
    }
    int Read(char* buffer, int size) override;

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

struct MergeMessage {
    std::string subject;
    std::string attachment; // full path; empty for none
};

struct MergePrepared {
    int prepared = 0; // messages written whole to the spool file
    int failedAt = 0; // the message (1-based) that could not be written whole; 0 for none
};

// Writes one message per address through `sink` (already started). `onPrepared` is told the
// number of each message once it is written. Stops at the first message that cannot be written
// whole: its recipients would otherwise be left out without a word.
MergePrepared PrepareMergeMessages(MimeSink& sink, const MergeMessage& message,
                                   const std::vector<std::string>& addresses, MergeBody& body,
                                   const std::function<void(int number)>& onPrepared);

} // namespace lx
