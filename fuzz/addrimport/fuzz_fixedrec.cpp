// libFuzzer target: a fixed-record address file of any bytes. Every whole record gives one
// address; a file that ends inside a record is reported damaged after the records before it.
#include <cstdint>
#include <string>

#include "fuzz/addrimport/importcheck.h"
#include "mailer/addressing/logic/fixedrec_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const lx::ImportScript script = lx::ParseFixedRecordFile(bytes);
    lxfuzz::CheckScript(script);
    std::size_t stores = 0;
    for (const lx::ImportStep& step : script.steps)
        stores += step.kind == lx::ImportStepKind::Store;
    if (size >= lx::kFixedRecordHeaderSize) {
        const std::size_t body = size - lx::kFixedRecordHeaderSize;
        const std::size_t stride = lx::kFixedRecordSize + lx::kFixedRecordGap;
        FUZZ_CHECK(stores == body / stride + (body % stride >= lx::kFixedRecordSize));
    } else {
        FUZZ_CHECK(stores == 0);
    }
    return 0;
}
