// Small owners for Win32 handles: each releases its handle exactly once.
#pragma once
#include <windows.h>
#include <utility>

namespace lx {

// One owner for every handle that is released by a single call. `Policy` names the handle
// type (`Type`, whose default value means "none"), which values are valid and the release
// call; a value the policy reports as not valid (INVALID_HANDLE_VALUE for kernel handles) is
// never released.
template <typename Policy>
class UniqueOwner {
public:
    using Type = typename Policy::Type;

    UniqueOwner() = default;
    explicit UniqueOwner(Type h) : h_(h) {}
    ~UniqueOwner() { Reset(); }
    UniqueOwner(UniqueOwner&& o) noexcept : h_(o.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;

    Type Get() const { return h_; }
    bool Valid() const { return Policy::Valid(h_); }
    explicit operator bool() const { return Valid(); }
    Type Release() {
        Type h = h_;
        h_ = Type();
        return h;
    }
    // Takes `h` over; the handle held before is released unless it is the same one.
    void Reset(Type h = Type()) {
        if (Valid() && h_ != h) Policy::Free(h_);
        h_ = h;
    }

private:
    Type h_ = Type();
};

namespace release {
template <typename T>
struct NonNull {
    using Type = T;
    static bool Valid(T h) { return h != nullptr; }
};
struct Kernel {
    using Type = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
template <typename T>
struct Gdi : NonNull<T> {
    static void Free(T h) { ::DeleteObject(h); }
};
struct CreatedDC : NonNull<HDC> {
    static void Free(HDC h) { ::DeleteDC(h); }
};
struct Global : NonNull<HGLOBAL> {
    static void Free(HGLOBAL h) { ::GlobalFree(h); }
};
struct MenuHandle : NonNull<HMENU> {
    static void Free(HMENU h) { ::DestroyMenu(h); }
};
struct Registry : NonNull<HKEY> {
    static void Free(HKEY h) { ::RegCloseKey(h); }
};
struct Library : NonNull<HMODULE> {
    static void Free(HMODULE h) { ::FreeLibrary(h); }
};
} // namespace release

// Kernel handle closed with CloseHandle (mutex, thread, file, process).
using UniqueHandle = UniqueOwner<release::Kernel>;

// GDI object (font, bitmap, brush, pen) deleted with DeleteObject.
template <typename T>
using GdiObject = UniqueOwner<release::Gdi<T>>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

// A DC the owner created (a printer DC), deleted with DeleteDC.
using DeviceContext = UniqueOwner<release::CreatedDC>;

// Movable global memory (printer settings of the print dialog), freed with GlobalFree.
using GlobalMemory = UniqueOwner<release::Global>;

// A menu loaded or created by the owner (pop-up menus), destroyed with DestroyMenu. A menu
// handed to a window is the window's: Release() it once the window has taken it.
class Menu : public UniqueOwner<release::MenuHandle> {
public:
    using UniqueOwner::UniqueOwner;
    // The menu resource `id` of this program's module.
    static Menu Load(int id) {
        return Menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    }
    // Sub-menu `index` (owned by this menu), nullptr when there is none.
    HMENU Sub(int index) const { return Get() ? ::GetSubMenu(Get(), index) : nullptr; }
};

// Client-area DC from GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDC : public DeviceContext {
public:
    explicit MemoryDC(HDC like) : DeviceContext(::CreateCompatibleDC(like)) {}
};

// BeginPaint/EndPaint pair for WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    ~PaintDC() { ::EndPaint(wnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Registry key closed with RegCloseKey; Flush() before closing where writes must reach the disk.
class RegKey : public UniqueOwner<release::Registry> {
public:
    using UniqueOwner::UniqueOwner;

    // Opens or creates the key; `existed` tells whether it was there before.
    bool Create(HKEY root, const char* path, REGSAM access, bool* existed = nullptr) {
        Reset();
        DWORD disposition = 0;
        HKEY key = nullptr;
        if (::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &key, &disposition) != ERROR_SUCCESS)
            return false;
        Reset(key);
        if (existed) *existed = (disposition == REG_OPENED_EXISTING_KEY);
        return true;
    }
    // Opens an existing key; false (and nothing held) when it is missing or refused.
    bool Open(HKEY root, const char* path, REGSAM access) {
        Reset();
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS) return false;
        Reset(key);
        return true;
    }
    void Flush() {
        if (Valid()) ::RegFlushKey(Get());
    }
};

// Library loaded by name, freed with FreeLibrary. Entry points come out typed: callers declare
// a table of function-pointer fields and fill it with Proc<>, never casting FARPROC at the call.
class Module : public UniqueOwner<release::Library> {
public:
    Module() = default;
    explicit Module(const char* name) : UniqueOwner(::LoadLibraryA(name)) {}

    bool Load(const char* name) {
        Reset(::LoadLibraryA(name));
        return Valid();
    }

    // The entry point `name` as a `Fn` (a function-pointer type), or nullptr when missing.
    template <typename Fn>
    Fn Proc(const char* name) const {
        if (!Valid()) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(Get(), name)));
    }
    // Fills `slot` with the entry point `name`; true when the library has it.
    template <typename Fn>
    bool Bind(Fn& slot, const char* name) const {
        slot = Proc<Fn>(name);
        return slot != nullptr;
    }
};

} // namespace lx
