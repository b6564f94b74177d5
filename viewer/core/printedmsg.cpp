#include "viewer/core/printedmsg.h"

#include <limits>

namespace lx::viewer {

PrintedMessage PrintedFromViewer(const MessageData& data) {
    const MessageRecord& r = data.record;
    PrintedMessage m;
    m.incoming = true;
    m.address = r.fromAdd;
    m.subject = ShownSubject(r.subject);
    m.mesgId = r.mesgId;
    m.mesgDate = r.mesgDate;
    m.appDate = StoreTime{r.appDate.year, r.appDate.month,  r.appDate.day,
                          r.appDate.hour, r.appDate.minute, r.appDate.second};
    // The loader already kept the mail data within the viewer's buffer.
    m.body = BodyText(r, std::numeric_limits<std::size_t>::max());
    return m;
}

} // namespace lx::viewer
