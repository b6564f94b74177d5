#include "viewer/core/simpletext.h"

namespace lx::viewer {

SimpleViewTexts MakeSimpleViewTexts(const MessageRecord& record, std::size_t bufferSize,
                                    const RecipientList& to, const RecipientList& cc,
                                    const AttachmentList& attachments,
                                    const SimpleViewLabels& labels, const MonthNames& months) {
    const std::string values[] = {record.fromAdd,  ShownSubject(record.subject),
                                  record.mesgDate, FormatReceived(record.appDate, months),
                                  record.mesgId,   PlainForm(to),
                                  PlainForm(cc)};
    SimpleViewTexts texts;
    for (std::size_t i = 0; i < labels.size(); ++i)
        texts.header += labels[i] + "\r\n" + values[i] + "\r\n";
    texts.body = BodyText(record, bufferSize);
    for (int i = 0; i < attachments.count && i < int(kAttachmentSlots); ++i)
        texts.attachments.push_back(attachments.slots[i].name);
    texts.viewFileEnabled = !texts.attachments.empty();
    return texts;
}

} // namespace lx::viewer
