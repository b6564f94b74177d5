#include "mailer/transfer/logic/mergeprep.h"

#include <cstring>

namespace lx {

int MergeBodyBytes::Read(char* buffer, int size) {
    if (size <= 0 || at_ >= bytes_.size()) return 0;
    std::size_t n = bytes_.size() - at_;
    if (n > static_cast<std::size_t>(size)) n = static_cast<std::size_t>(size);
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return static_cast<int>(n);
}

namespace {

// One message; false when a part of it could not be handed over.
bool PrepareOne(MimeSink& sink, const MergeMessage& message, const std::string& address,
                MergeBody& body) {
    // No sender of its own: every message goes out with the run's sender.
    bool whole = sink.NewMesg(nullptr) == 0;
    whole = sink.To(address.c_str()) == 0 && whole;
    whole = sink.Subject(message.subject.c_str()) == 0 && whole;
    if (!message.attachment.empty()) whole = sink.File(message.attachment.c_str()) == 0 && whole;
    char block[kMergeBlockSize];
    whole = body.Rewind() && whole;
    for (;;) {
        const int n = body.Read(block, kMergeBlockSize);
        if (n < 0) whole = false;
        if (n <= 0) break;
        whole = sink.Data(block, n) == 0 && whole;
    }
    // A message missing a part is never ended, so nothing of it is sent.
    return whole && sink.EndMesg() == 0;
}

} // namespace

MergePrepared PrepareMergeMessages(MimeSink& sink, const MergeMessage& message,
                                   const std::vector<std::string>& addresses, MergeBody& body,
                                   const std::function<void(int number)>& onPrepared) {
    MergePrepared result;
    for (const std::string& address : addresses) {
        if (!PrepareOne(sink, message, address, body)) {
            result.failedAt = result.prepared + 1;
            break;
        }
        ++result.prepared;
        if (onPrepared) onPrepared(result.prepared);
    }
    return result;
}

} // namespace lx
