// Small owners for Win32 handles: each releases its handle exactly once.
#pragma once
#include <windows.h>
#include <utility>

namespace lx {

// Kernel handle closed with CloseHandle (mutex, thread, file, process).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() {
        HANDLE h = h_;
        h_ = nullptr;
        return h;
    }
    void Reset(HANDLE h = nullptr) {
        if (Valid()) ::CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// GDI object (font, bitmap, brush, pen) deleted with DeleteObject.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : h_(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& o) noexcept : h_(o.Release()) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    T Release() {
        T h = h_;
        h_ = nullptr;
        return h;
    }
    void Reset(T h = nullptr) {
        if (h_) ::DeleteObject(h_);
        h_ = h;
    }

private:
    T h_ = nullptr;
};
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

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
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(::CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) ::DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A DC the owner created (a printer DC), deleted with DeleteDC.
class DeviceContext {
public:
    DeviceContext() = default;
    explicit DeviceContext(HDC dc) : dc_(dc) {}
    ~DeviceContext() { Reset(); }
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    HDC Get() const { return dc_; }
    void Reset(HDC dc = nullptr) {
        if (dc_) ::DeleteDC(dc_);
        dc_ = dc;
    }

private:
    HDC dc_ = nullptr;
};

// Movable global memory (printer settings of the print dialog), freed with GlobalFree.
class GlobalMemory {
public:
    GlobalMemory() = default;
    explicit GlobalMemory(HGLOBAL h) : h_(h) {}
    ~GlobalMemory() { Reset(); }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL Get() const { return h_; }
    void Reset(HGLOBAL h = nullptr) {
        if (h_) ::GlobalFree(h_);
        h_ = h;
    }

private:
    HGLOBAL h_ = nullptr;
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
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Reset(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens or creates the key; `existed` tells whether it was there before.
    bool Create(HKEY root, const char* path, REGSAM access, bool* existed = nullptr) {
        Reset();
        DWORD disposition = 0;
        HKEY key = nullptr;
        if (::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &key, &disposition) != ERROR_SUCCESS)
            return false;
        key_ = key;
        if (existed) *existed = (disposition == REG_OPENED_EXISTING_KEY);
        return true;
    }
    HKEY Get() const { return key_; }
    void Flush() {
        if (key_) ::RegFlushKey(key_);
    }
    void Reset() {
        if (key_) ::RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

// Library loaded by name, freed with FreeLibrary. Entry points come out typed: callers declare
// a table of function-pointer fields and fill it with Proc<>, never casting FARPROC at the call.
class Module {
public:
    Module() = default;
    explicit Module(const char* name) : h_(::LoadLibraryA(name)) {}
    ~Module() { Reset(); }
    Module(Module&& o) noexcept : h_(o.Release()) {}
    Module& operator=(Module&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    bool Load(const char* name) {
        Reset(::LoadLibraryA(name));
        return h_ != nullptr;
    }
    HMODULE Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    HMODULE Release() {
        HMODULE h = h_;
        h_ = nullptr;
        return h;
    }
    void Reset(HMODULE h = nullptr) {
        if (h_) ::FreeLibrary(h_);
        h_ = h;
    }

    // The entry point `name` as a `Fn` (a function-pointer type), or nullptr when missing.
    template <typename Fn>
    Fn Proc(const char* name) const {
        if (!h_) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(h_, name)));
    }
    // Fills `slot` with the entry point `name`; true when the library has it.
    template <typename Fn>
    bool Bind(Fn& slot, const char* name) const {
        slot = Proc<Fn>(name);
        return slot != nullptr;
    }

private:
    HMODULE h_ = nullptr;
};

} // namespace lx
