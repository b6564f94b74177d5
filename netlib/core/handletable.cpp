#include "netlib/core/handletable.h"

namespace lx::net {

// Handle layout: generation in the high 16 bits (never 0), slot number + 1 in the low 16 bits.
std::uint32_t HandleTable::add(void* object, HandleKind kind) {
    if (!object || kind == HandleKind::None) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t index;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else {
        if (slots_.size() >= kMaxSlots) return 0;
        index = slots_.size();
        slots_.emplace_back();
    }
    Slot& s = slots_[index];
    s.generation = static_cast<std::uint16_t>(s.generation + 1 == 0 ? 1 : s.generation + 1);
    s.object = object;
    s.kind = kind;
    return (std::uint32_t(s.generation) << 16) | std::uint32_t(index + 1);
}

const HandleTable::Slot* HandleTable::slotOf(std::uint32_t handle, HandleKind kind) const {
    const std::uint32_t number = handle & 0xFFFF;
    const std::uint16_t generation = static_cast<std::uint16_t>(handle >> 16);
    if (number == 0 || number > slots_.size() || generation == 0) return nullptr;
    const Slot& s = slots_[number - 1];
    if (s.object == nullptr || s.generation != generation || s.kind != kind) return nullptr;
    return &s;
}

void* HandleTable::find(std::uint32_t handle, HandleKind kind) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot* s = slotOf(handle, kind);
    return s ? s->object : nullptr;
}

void* HandleTable::remove(std::uint32_t handle, HandleKind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot* found = slotOf(handle, kind);
    if (!found) return nullptr;
    Slot& s = slots_[(handle & 0xFFFF) - 1];
    void* object = s.object;
    s.object = nullptr;
    s.kind = HandleKind::None;
    free_.push_back(static_cast<std::uint16_t>((handle & 0xFFFF) - 1));
    return object;
}

HandleTable& handles() {
    static HandleTable table;
    return table;
}

} // namespace lx::net
