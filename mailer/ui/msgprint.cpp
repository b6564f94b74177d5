#include "mailer/ui/msgprint.h"

#include "common/catalog/msgcatalog.h"
#include "common/win/uiseam.h"
#include "mailer/res/resource.h"
#include "mailer/ui/logic/cmdplug.h"
#include "mailer/ui/store/msgprint_store.h"
#include "printengine/prntvant.h"

#include <cstdlib>
#include <string>

namespace lx {

namespace {

std::vector<long> ParseNumbers(const char* text) {
    std::vector<long> numbers;
    for (const char* p = text; p && *p;) {
        char* end = nullptr;
        const long n = std::strtol(p, &end, 10);
        if (end == p) {
            ++p;
            continue;
        }
        numbers.push_back(n);
        p = end;
    }
    return numbers;
}

} // namespace

PrintOutcome PrintMessages(HWND owner, const MessagePrintContext& context,
                           const std::vector<long>& mesgNums) {
    MessageCatalog* catalog = context.catalog;
    auto text = [catalog](const char* key) {
        const char* found = catalog ? catalog->Lookup(key) : nullptr;
        return std::string(found ? found : "");
    };
    const MessagePrintTexts texts = LoadMessagePrintTexts(kMessageListPrintKeys, text);
    auto failed = [owner, catalog] {
        if (catalog)
            ui::CatalogBox(owner, *catalog, "MAILMESS_CPP_20", "MAILMESS_CPP_21",
                           MB_OK | MB_ICONSTOP);
    };
    MessagePrintRun run;
    run.owner = owner;
    run.texts = &texts;
    for (int i = 0; i < kMessageFontCount; ++i)
        run.fonts[i] = context.font ? context.font(static_cast<MessageFont>(i)) : nullptr;
    run.count = mesgNums.size();
    run.read = [&](std::size_t i, PrintedMessage* message) {
        if (ReadPrintedMessage(context.conn, owner, mesgNums[i], message)) return true;
        failed();
        return false;
    };
    run.noMemory = failed;
    return PrintMessageRun(run);
}

void PlugMessagePrinting(CommandPlugs& plugs, const MessagePrintContext& context) {
    PrintVant::SetPrintDialog(ui::PrintDialog);
    plugs.Plug(ID_MESSAGE_PRINT, [context](void* owner, const char* argument) {
        const std::vector<long> numbers = ParseNumbers(argument);
        if (numbers.empty()) return kPlugCancel;
        return PrintMessages(static_cast<HWND>(owner), context, numbers) == PrintOutcome::Printed
                   ? kPlugOk
                   : kPlugCancel;
    });
}

} // namespace lx
