// Shared steps of the exported functions: library check, handle lookup, object creation.
#pragma once

#include <new>
#include <utility>

#include "netlib/core/errortext.h"
#include "netlib/core/handletable.h"
#include "netlib/tern32.h"
#include "netlib/win/library.h"
#include "netlib/win/ternsocket.h"

namespace lx::net {

template <class T>
T* lookup(TERNHANDLE h, HandleKind kind) {
    return static_cast<T*>(handles().find(h, kind));
}

// Creates a socket object, hands out its handle (also when opening the socket then fails) and
// opens it: 0, -2 on a socket failure, -4 when the object cannot be allocated, -1 before start.
template <class T, class... Args>
int createSocketObject(TERNHANDLE* out, HandleKind kind, Args&&... args) {
    if (!library()) return -1;
    if (!out) return -4;
    T* s = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!s) return -4;
    const TERNHANDLE h = handles().add(s, kind);
    if (!h) {
        delete s;
        return -4;
    }
    *out = h;
    return s->open();
}

// The common frame of a socket export: -1 once the library has ended, `unknown` when the handle
// names no live object of this kind, otherwise what call returns for the object.
template <class T, class Call>
int withSocket(TERNHANDLE h, HandleKind kind, Call&& call, int unknown = -4) {
    if (!library()) return -1;
    T* s = lookup<T>(h, kind);
    if (!s) return unknown;
    return call(*s);
}

// A refused argument: recorded as the socket's last error, reported as -2.
inline int refuseWith(TernSocket& s, int error = TERN_ERR_BADVALUE) {
    s.setLastError(error);
    return -2;
}

// Frees the object behind the handle: 0, -4 for an unknown handle, -1 once the library has
// ended. After the library has ended the object is still freed, so a host that closes late leaks
// nothing.
template <class T>
int closeSocketObject(TERNHANDLE h, HandleKind kind) {
    auto* s = static_cast<T*>(handles().remove(h, kind));
    delete s;
    if (!library()) return -1;
    return s ? 0 : -4;
}

// Hands out an error code and its text, each where the host asked for it: 0.
inline int lastErrorOut(int error, int* code, char* text) {
    if (code) *code = error;
    if (text) errorTextInto(error, text, TERN_ERRTEXT_SIZE);
    return 0;
}

} // namespace lx::net
