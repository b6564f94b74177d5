// The network browser's tree: networks, their domains or workgroups, and their servers, as the
// platform's network enumeration gives them.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace lx::net {

struct NetEntry {
    std::string name;
    std::string comment;
    std::string provider;
    DWORD displayType = 0;
    DWORD scope = 0;
    int level = 0;
    bool expanded = false;
    std::vector<std::unique_ptr<NetEntry>> children;
};

struct NetTree {
    std::vector<std::unique_ptr<NetEntry>> top;
};

// Enumerates three levels below the network root. False when the platform refused or `stop` was
// set (checked before every platform call, so a stop request ends the walk soon).
bool enumerateNetwork(NetTree& tree, const std::atomic<bool>& stop);

} // namespace lx::net
