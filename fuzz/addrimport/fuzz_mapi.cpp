// libFuzzer target: recipients chosen in the mail system's address book, with any names and
// addresses ("TYPE:ADDRESS"); only Internet addresses are stored, each as it stands after the
// type.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/addrimport/importcheck.h"
#include "mailer/addressing/logic/mapi_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<lx::MapiRecipient> recipients;
    while (in.remaining_bytes() > 0 && recipients.size() < 64) {
        lx::MapiRecipient r;
        r.name = in.ConsumeRandomLengthString(100);
        r.address = in.ConsumeRandomLengthString(200);
        recipients.push_back(r);
    }
    const lx::ImportScript script = lx::MapiImportScript(recipients);
    lxfuzz::CheckScript(script);
    std::size_t stores = 0, expected = 0;
    for (const lx::ImportStep& step : script.steps) {
        if (step.kind != lx::ImportStepKind::Store) continue;
        ++stores;
        const std::string& dest = step.address.dest;
        FUZZ_CHECK(!dest.empty());
        FUZZ_CHECK(dest.find(' ') == std::string::npos && dest.find('\t') == std::string::npos);
    }
    for (const lx::MapiRecipient& r : recipients) {
        std::string dest;
        if (lx::MapiInternetAddress(r.address, &dest)) {
            ++expected;
            FUZZ_CHECK(r.address.find(dest) != std::string::npos);
        }
    }
    FUZZ_CHECK(stores == expected);
    return 0;
}
