#include "mailer/addressing/logic/mapi_import.h"

namespace lx {

bool MapiInternetAddress(const std::string& address, std::string* dest) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos) return false;
    const size_t from = address.find_first_not_of(' ', colon + 1);
    if (from == std::string::npos) return false;
    const std::string text = address.substr(from);
    if (text.find_first_of(" \t") != std::string::npos || text.find('@') == std::string::npos)
        return false;
    *dest = CutTo(text, kImportDestLen);
    return true;
}

ImportScript MapiImportScript(const std::vector<MapiRecipient>& recipients) {
    ImportScript script;
    for (const MapiRecipient& recipient : recipients) {
        ImportedAddress address;
        address.name = CutTo(recipient.name, kImportNameLen);
        script.steps.push_back(ShowStep(Line("IMPORTAD_CPP_18", address.name)));
        if (MapiInternetAddress(recipient.address, &address.dest))
            script.steps.push_back(StoreStep(std::move(address)));
        else
            script.steps.push_back(RefuseStep(Line("IMPORTAD_CPP_33")));
    }
    return script;
}

} // namespace lx
