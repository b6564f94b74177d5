#include "mailer/transfer/logic/sendprep.h"

namespace lx {

namespace {
constexpr char kLineEnd[] = "\r\n";
}

PrepOutcome PrepareQueuedMessage(MimeSink& sink, const QueuedMessage& message,
                                 const std::string& signature,
                                 const std::function<void(const std::string& file)>& onFile) {
    // An empty sender would send the message with the null return path of a bounce.
    sink.NewMesg(message.fromAdd.empty() ? nullptr : message.fromAdd.c_str());
    bool whole = true;
    for (const std::string& a : message.to) whole = sink.To(a.c_str()) == 0 && whole;
    for (const std::string& a : message.cc) whole = sink.Cc(a.c_str()) == 0 && whole;
    for (const std::string& f : message.files) {
        if (onFile) onFile(f);
        whole = sink.File(f.c_str()) == 0 && whole;
    }
    whole = sink.Subject(SubjectToSend(message.subject).c_str()) == 0 && whole;
    // The text as it was read (its MesgSize may be stale), then the signature.
    whole =
        sink.Data(message.mailData.data(), static_cast<int>(message.mailData.size())) == 0 && whole;
    if (!signature.empty()) {
        whole = sink.Data(kLineEnd, 2) == 0 && whole;
        whole = sink.Data(signature.data(), static_cast<int>(signature.size())) == 0 && whole;
        whole = sink.Data(kLineEnd, 2) == 0 && whole;
    }
    // A message missing a part must not go out as if it were whole: it is left unended.
    if (!whole) return PrepOutcome::NotEnded;
    return sink.EndMesg() == 0 ? PrepOutcome::Ended : PrepOutcome::Refused;
}

} // namespace lx
