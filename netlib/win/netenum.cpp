#include "netlib/win/netenum.h"

#include <winnetwk.h>

namespace lx::net {
namespace {

constexpr int kLevels = 3;                // networks, domains or workgroups, servers
constexpr std::size_t kMaxEntries = 4096; // bounds a pathological network

const char kNoNetworkName[] = "Network Name Not Availble";
const char kNoGroupName[] = "WorkGroup Name Not Availble";

std::string text(const char* s) { return s ? s : ""; }

// An open enumeration, closed once on every way out.
class Enumeration {
public:
    explicit Enumeration(NETRESOURCEA* parent) {
        if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &h_) != NO_ERROR)
            h_ = nullptr;
    }
    ~Enumeration() {
        if (h_) WNetCloseEnum(h_);
    }
    Enumeration(const Enumeration&) = delete;
    Enumeration& operator=(const Enumeration&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_ = nullptr;
};

bool enumerateBelow(NETRESOURCEA* parent, int level, std::vector<std::unique_ptr<NetEntry>>& out,
                    std::size_t& total, const std::atomic<bool>& stop) {
    if (stop) return false;
    Enumeration en(parent);
    const HANDLE h = en.get();
    if (!h) return false;
    std::vector<char> buf(16384);
    bool ok = true;
    for (;;) {
        if (stop) {
            ok = false;
            break;
        }
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
                enumerateBelow(&res[i], level + 1, e->children, total,
                               stop); // a child that fails stays empty
            out.push_back(std::move(e));
        }
    }
    return ok;
}

} // namespace

bool enumerateNetwork(NetTree& tree, const std::atomic<bool>& stop) {
    std::size_t total = 0;
    return enumerateBelow(nullptr, 0, tree.top, total, stop) && !stop;
}

} // namespace lx::net
