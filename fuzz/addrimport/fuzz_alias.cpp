// libFuzzer target: an alias text file of any bytes, read whole and line by line as the import
// dialog feeds it; both ways give the same steps.
#include <cstdint>
#include <string>

#include "fuzz/addrimport/importcheck.h"
#include "mailer/addressing/logic/alias_import.h"

namespace {

bool SameSteps(const lx::ImportScript& a, const lx::ImportScript& b) {
    if (a.steps.size() != b.steps.size() || !(a.trailer == b.trailer)) return false;
    for (std::size_t i = 0; i < a.steps.size(); ++i) {
        if (a.steps[i].kind != b.steps[i].kind || !(a.steps[i].line == b.steps[i].line) ||
            !(a.steps[i].address == b.steps[i].address))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const lx::ImportScript script = lx::ParseAliasFile(bytes);
    lxfuzz::CheckScript(script);
    const std::vector<std::string> lines = lx::SplitAliasLines(bytes);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
    lx::AliasImport import;
    for (const std::string& line : lines) import.Feed(line);
    FUZZ_CHECK(SameSteps(import.Finish(), script));
    return 0;
}
