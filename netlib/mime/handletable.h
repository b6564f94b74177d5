// The preparer's and the scanner's handles come from the library's one handle table, so no MIME
// handle ever shares its number with a socket's or a session's; a stale, forged or mistyped
// handle finds nothing. This owns the objects behind the handles of one kind.
#pragma once

#include <cstdint>
#include <memory>

#include "netlib/core/handletable.h"

namespace lx::mime {

template <typename T, lx::net::HandleKind Kind>
class HandleTable {
public:
    // Takes the object; 0 when the table is full (the object is then freed).
    std::uint32_t add(std::unique_ptr<T> obj) {
        const std::uint32_t h = lx::net::handles().add(obj.get(), Kind);
        if (h) obj.release();
        return h;
    }
    T* find(std::uint32_t h) { return static_cast<T*>(lx::net::handles().find(h, Kind)); }
    std::unique_ptr<T> take(std::uint32_t h) {
        return std::unique_ptr<T>(static_cast<T*>(lx::net::handles().remove(h, Kind)));
    }
};

} // namespace lx::mime
