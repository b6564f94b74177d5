// The loader's source: the message, its recipients and its attached files read from the store
// over the viewer's own connection.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/schema/storeconnection.h"
#include "viewer/core/pipeline.h"

namespace lx::viewer {

class StoreMessageSource : public MessageSource {
public:
    // `store` is opened by Connect() and stays open for the viewer's commands afterwards.
    StoreMessageSource(StoreConnection& store, std::int32_t mesgNum, std::size_t bufferSize)
        : store_(store), mesgNum_(mesgNum), bufferSize_(bufferSize) {}

    bool Connect() override;
    bool ReadRecord(MessageRecord& record) override;
    void ReadRecipients(MessageList which, RecipientList& list) override;
    void ReadAttachments(AttachmentList& attachments) override;

private:
    // SELECT COUNT(*) of a list; -1 when the query fails.
    long Count(MessageList which);
    // The names of a list (at most `count`, each up to `width` - 1 characters); false on a
    // failed query.
    bool Names(MessageList which, long count, std::size_t width, std::vector<std::string>& names);

    StoreConnection& store_;
    std::int32_t mesgNum_;
    std::size_t bufferSize_;
};

} // namespace lx::viewer
