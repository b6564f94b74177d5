#include "mailer/ui/logic/cmdplug.h"

namespace lx {

void CommandPlugs::Plug(int id, PluggedCommand handler) {
    if (handler)
        plugs_[id] = std::move(handler);
    else
        plugs_.erase(id);
}

bool CommandPlugs::IsPlugged(int id) const { return plugs_.count(id) != 0; }

bool CommandPlugs::Run(int id, void* owner, const char* argument, int* result) const {
    auto found = plugs_.find(id);
    if (found == plugs_.end()) return false;
    // A copy: the handler may plug or unplug commands itself.
    PluggedCommand handler = found->second;
    const int answer = handler(owner, argument);
    if (result) *result = answer;
    return true;
}

} // namespace lx
