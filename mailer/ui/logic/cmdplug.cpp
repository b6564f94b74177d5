#include "mailer/ui/logic/cmdplug.h"

#include <map>

namespace lx {

namespace {
std::map<int, PluggedCommand>& Plugs() {
    static std::map<int, PluggedCommand> plugs;
    return plugs;
}
} // namespace

void PlugCommand(int id, PluggedCommand handler) {
    if (handler)
        Plugs()[id] = std::move(handler);
    else
        Plugs().erase(id);
}

bool IsCommandPlugged(int id) { return Plugs().count(id) != 0; }

bool RunPluggedCommand(int id, void* owner, const char* argument, int* result) {
    auto found = Plugs().find(id);
    if (found == Plugs().end()) return false;
    // A copy: the handler may plug or unplug commands itself.
    PluggedCommand handler = found->second;
    const int answer = handler(owner, argument);
    if (result) *result = answer;
    return true;
}

} // namespace lx
