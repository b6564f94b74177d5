#include "viewer/win/messageprint.h"

#include "common/catalog/msgcatalog.h"
#include "common/msgprint/win/printjob.h"
#include "common/settings/font_desc.h"
#include "common/settings/win32_forms.h"
#include "common/win/uiseam.h"
#include "printengine/prntvant.h"
#include "viewer/core/printedmsg.h"

namespace lx::viewer {

MessagePrinter::MessagePrinter(MessageCatalog& catalog, const std::string& installFolder)
    : texts_(LoadMessagePrintTexts(
          kViewerPrintKeys, [&catalog](const char* key) { return CatalogText(&catalog, key); })) {
    for (int i = 0; i < kMessageFontCount; ++i) {
        const MessageFont which = static_cast<MessageFont>(i);
        // A missing file means the default the main program writes into it: the printer's own
        // default font can be too large for the header block to leave room for any body.
        FontDesc desc;
        if (!ReadFontFile(installFolder, MessageFontFile(which), desc))
            desc = DefaultMessageFont(which);
        const LOGFONTA font = ToLogFont(desc);
        fonts_[static_cast<std::size_t>(i)].Reset(::CreateFontIndirectA(&font));
    }
    PrintVant::SetPrintDialog(ui::PrintDialog);
}

void MessagePrinter::Print(HWND frame, const MessageData& data) const {
    const PrintedMessage message = PrintedFromViewer(data);
    MessagePrintRun run;
    run.owner = frame;
    run.texts = &texts_;
    for (std::size_t i = 0; i < fonts_.size(); ++i) run.fonts[i] = fonts_[i].Get();
    run.count = 1;
    run.read = [&message](std::size_t, PrintedMessage* out) {
        *out = message;
        return true;
    };
    PrintMessageRun(run);
}

} // namespace lx::viewer
