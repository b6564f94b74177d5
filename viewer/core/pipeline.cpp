#include "viewer/core/pipeline.h"

namespace lx::viewer {

namespace {

void Hand(StageHandover& handover, LoadStage stage, const StageHook& hook) {
    if (hook) hook(stage);
    handover.Complete(stage);
}

} // namespace

void RunLoader(MessageSource& source, MessageData& data, StageHandover& handover,
               const LoadTexts& texts, const StageHook& hook) {
    if (!source.Connect()) {
        data.record.mesgId = FitField(texts.storeUnreachable, kMesgIdWidth);
    } else if (!source.ReadRecord(data.record)) {
        data.record.mesgId = FitField(texts.messageUnreadable, kMesgIdWidth);
    }
    if (HasLoadError(data.record)) {
        // Nothing else is read for a message that is not there.
        if (hook) hook(LoadStage::Record);
        handover.CompleteRemaining();
        return;
    }
    Hand(handover, LoadStage::Record, hook);
    source.ReadRecipients(MessageList::To, data.to);
    Hand(handover, LoadStage::ToList, hook);
    source.ReadRecipients(MessageList::Cc, data.cc);
    Hand(handover, LoadStage::CcList, hook);
    source.ReadAttachments(data.attachments);
    Hand(handover, LoadStage::Attachments, hook);
}

PageOutcome RunPageWriter(MessagePageWriter& writer, const MessageData& data,
                          StageHandover& handover, const PageJob& job,
                          const std::function<bool(const std::string&)>& sink,
                          const StageHook& hook) {
    // Waits for a stage; the outcome when it does not come.
    auto take = [&](LoadStage stage, PageOutcome* failed) {
        switch (handover.WaitFor(stage, job.stageTimeout)) {
        case StageHandover::WaitResult::Ready:
            if (hook) hook(stage);
            return true;
        case StageHandover::WaitResult::Abandoned: *failed = PageOutcome::Abandoned; return false;
        case StageHandover::WaitResult::TimedOut: *failed = PageOutcome::TimedOut; return false;
        }
        return false;
    };
    auto flush = [&] { return sink(writer.TakeOutput()); };

    PageOutcome failed = PageOutcome::Written;
    if (!take(LoadStage::Record, &failed)) return failed;
    writer.WriteRecord(data.record);
    if (!flush()) return PageOutcome::WriteFailed;
    if (writer.Complete()) return PageOutcome::ErrorPage;

    if (!take(LoadStage::ToList, &failed)) return failed;
    writer.WriteToList(data.to);
    if (!flush()) return PageOutcome::WriteFailed;

    if (!take(LoadStage::CcList, &failed)) return failed;
    writer.WriteCcList(data.cc);
    if (!flush()) return PageOutcome::WriteFailed;

    if (!take(LoadStage::Attachments, &failed)) return failed;
    writer.WriteAttachments(data.attachments);
    if (!flush()) return PageOutcome::WriteFailed;

    writer.WriteBody(data.record, job.bufferSize, job.messageMode, job.htmlBodyPath,
                     job.writeBodyFile);
    return flush() ? PageOutcome::Written : PageOutcome::WriteFailed;
}

} // namespace lx::viewer
