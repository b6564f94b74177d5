#include "mailer/ui/logic/cmdplug.h"

#include <cstdio>
#include <cstring>

namespace lx {

namespace {
constexpr char kFromSearch[] = "search";
}

std::string OpenMessageArgument(const OpenMessageRequest& request) {
    return std::to_string(request.mesgNum) + (request.flag ? " 1" : " 0") +
           (request.fromSearch ? std::string(" ") + kFromSearch : std::string());
}

bool ParseOpenMessageArgument(const char* argument, OpenMessageRequest* request) {
    if (!argument || !request) return false;
    long mesgNum = -1;
    int flag = 0;
    char rest[8] = "";
    const int got = std::sscanf(argument, "%ld %d %7s", &mesgNum, &flag, rest);
    if (got < 2 || mesgNum < 0 || (flag != 0 && flag != 1)) return false;
    if (got == 3 && std::strcmp(rest, kFromSearch) != 0) return false;
    *request = OpenMessageRequest{mesgNum, flag, got == 3};
    return true;
}

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
