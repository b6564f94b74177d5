// Owners for COM pointers and BSTRs: each reference taken is released exactly once.
#pragma once
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace lx {

// Holds one reference to a COM interface; Release() on destruction.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already owns (as returned by a COM call).
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& o) {
        if (this != &o) {
            if (o.p_) o.p_->AddRef();
            Reset(o.p_);
        }
        return *this;
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.p_, nullptr));
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: drops the reference held and hands the slot to the call.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset(T* p = nullptr) {
        T* old = std::exchange(p_, p);
        if (old) old->Release();
    }
    // Asks this object for another interface; an empty pointer when it has none.
    template <typename U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(other.Put()));
        return other;
    }

private:
    T* p_ = nullptr;
};

// The reference count of a COM object the program implements itself: it starts with the
// creator's reference, and the object is deleted when the last one goes.
class RefCount {
public:
    ULONG AddRef() { return ::InterlockedIncrement(&n_); }
    template <typename T>
    ULONG Release(T* owner) {
        ULONG n = ::InterlockedDecrement(&n_);
        if (n == 0) delete owner;
        return n;
    }

private:
    LONG n_ = 1;
};

// A BSTR freed with SysFreeString.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::string& text);
    ~Bstr() { ::SysFreeString(b_); }
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) {
            ::SysFreeString(b_);
            b_ = std::exchange(o.b_, nullptr);
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const { return b_; }
    BSTR* Put() {
        ::SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    // Hands the string to a caller that frees it (an out-parameter of a COM method).
    BSTR Release() { return std::exchange(b_, nullptr); }
    std::string Text() const;

private:
    BSTR b_ = nullptr;
};

// The program's texts are in the ANSI code page; BSTRs are UTF-16.
std::string NarrowText(const wchar_t* text, int length);
std::wstring WideText(const std::string& text);

} // namespace lx
