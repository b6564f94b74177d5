#include "bench/soak/soakprobe.h"

#include <windows.h>
#include <psapi.h>

namespace lx::soak {

namespace {

std::uint64_t CommittedPrivate() {
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* at = nullptr;
    while (::VirtualQuery(at, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

// Handles are multiples of four; a live one has handle information.
std::uint32_t CountHandles() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return count;
    std::uint32_t live = 0;
    for (ULONG_PTR h = 4; h < 0x40000; h += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++live;
    }
    return live;
}

// GDI handles carry their table index in the low word; an index alone names the live object.
std::uint32_t CountGdiObjects() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported > 0) return reported;
    std::uint32_t live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    return live;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<std::uint32_t*>(counter);
    return TRUE;
}

// Top-level windows of this process and all their descendants.
BOOL CALLBACK CountTopLevel(HWND wnd, LPARAM counter) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<std::uint32_t*>(counter);
        ::EnumChildWindows(wnd, &CountChild, counter);
    }
    return TRUE;
}

std::uint32_t CountUserObjects() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (reported > 0) return reported;
    std::uint32_t windows = 0;
    ::EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

ProcessFigures ProbeProcess() {
    ProcessFigures f;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        f.workingSet = pmc.WorkingSetSize;
    f.privateBytes = CommittedPrivate();
    f.handles = CountHandles();
    f.gdiObjects = CountGdiObjects();
    f.userObjects = CountUserObjects();
    return f;
}

} // namespace lx::soak
