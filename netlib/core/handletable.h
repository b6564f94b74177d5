// Opaque 32-bit handles for the objects the library hands to its host. An object's address does
// not fit in 32 bits on a 64-bit build, so handles index a table; each slot carries a generation
// and the object's kind, so a stale, forged or mistyped handle is simply not found.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace lx::net {

enum class HandleKind : std::uint8_t {
    None = 0,
    UdpSocket,
    StreamSocket,
    SmtpSession,
    Pop3Session,
    PasswordSession,
    MimePreparer,
    MimeScanner,
};

class HandleTable {
public:
    static constexpr std::size_t kMaxSlots = 0xFFFF;

    // 0 when the table is full.
    std::uint32_t add(void* object, HandleKind kind);
    void* find(std::uint32_t handle, HandleKind kind) const;
    // Removes the entry and returns its object (null when not found).
    void* remove(std::uint32_t handle, HandleKind kind);

private:
    struct Slot {
        void* object = nullptr;
        HandleKind kind = HandleKind::None;
        std::uint16_t generation = 0;
    };
    const Slot* slotOf(std::uint32_t handle, HandleKind kind) const;

    mutable std::mutex mutex_;
    std::vector<Slot> slots_;
    std::vector<std::uint16_t> free_;
};

// The library's one table, shared by every family of exports.
HandleTable& handles();

} // namespace lx::net
