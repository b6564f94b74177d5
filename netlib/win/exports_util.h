// Shared steps of the exported functions: library check, handle lookup, object creation.
#ifndef LX_NETLIB_WIN_EXPORTS_UTIL_H
#define LX_NETLIB_WIN_EXPORTS_UTIL_H

#include <new>

#include "netlib/core/errortext.h"
#include "netlib/core/handletable.h"
#include "netlib/tern32.h"
#include "netlib/win/library.h"

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

inline void lastErrorOut(int error, int* code, char* text) {
    if (code) *code = error;
    if (text) errorTextInto(error, text, TERN_ERRTEXT_SIZE);
}

} // namespace lx::net

#endif
