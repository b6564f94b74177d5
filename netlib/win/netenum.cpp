#include "netlib/win/netenum.h"

#include <winnetwk.h>

namespace lx::net {
namespace {

constexpr int kLevels = 3;                // networks, domains or workgroups, servers
constexpr std::size_t kMaxEntries = 4096; // bounds a pathological network

const char kNoNetworkName[] = "Network Name Not Availble";
const char kNoGroupName[] = "WorkGroup Name Not Availble";

std::string text(const char* s) { return s ? s : ""; }

bool enumerateBelow(NETRESOURCEA* parent, int level, std::vector<std::unique_ptr<NetEntry>>& out,
                    std::size_t& total) {
    HANDLE h = nullptr;
    if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &h) != NO_ERROR)
        return false;
    std::vector<char> buf(16384);
    bool ok = true;
    for (;;) {
        DWORD count = 0xFFFFFFFF;
        DWORD size = static_cast<DWORD>(buf.size());
        const DWORD r = WNetEnumResourceA(h, &count, buf.data(), &size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r == ERROR_MORE_DATA && size > buf.size()) {
            buf.resize(size);
            continue;
        }
        if (r != NO_ERROR) {
            ok = false;
            break;
        }
        auto* res = reinterpret_cast<NETRESOURCEA*>(buf.data());
        for (DWORD i = 0; i < count && total < kMaxEntries; ++i, ++total) {
            auto e = std::make_unique<NetEntry>();
            e->name = text(res[i].lpRemoteName);
            if (e->name.empty()) e->name = level == 0 ? kNoNetworkName : kNoGroupName;
            e->comment = text(res[i].lpComment);
            e->provider = text(res[i].lpProvider);
            e->displayType = res[i].dwDisplayType;
            e->scope = res[i].dwScope;
            e->level = level;
            if (level + 1 < kLevels && (res[i].dwUsage & RESOURCEUSAGE_CONTAINER))
                enumerateBelow(&res[i], level + 1, e->children,
                               total); // a child that fails stays empty
            out.push_back(std::move(e));
        }
    }
    WNetCloseEnum(h);
    return ok;
}

} // namespace

bool enumerateNetwork(NetTree& tree) {
    std::size_t total = 0;
    return enumerateBelow(nullptr, 0, tree.top, total);
}

} // namespace lx::net
