// Opaque 32-bit handles for objects handed to the host: a slot index and a generation, so a
// stale or forged handle finds nothing instead of a freed object.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace lx::mime {

template <typename T>
class HandleTable {
public:
    // Takes the object; 0 when the table is full.
    std::uint32_t add(std::unique_ptr<T> obj) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (!slots_[i].obj) return fill(i, std::move(obj));
        if (slots_.size() >= kMaxSlots) return 0;
        slots_.push_back(Slot{});
        return fill(slots_.size() - 1, std::move(obj));
    }
    T* find(std::uint32_t h) {
        std::lock_guard<std::mutex> lock(mutex_);
        Slot* s = slotOf(h);
        return s ? s->obj.get() : nullptr;
    }
    std::unique_ptr<T> take(std::uint32_t h) {
        std::lock_guard<std::mutex> lock(mutex_);
        Slot* s = slotOf(h);
        return s ? std::move(s->obj) : nullptr;
    }

private:
    static constexpr std::size_t kMaxSlots = 0xFFFF;
    struct Slot {
        std::unique_ptr<T> obj;
        std::uint16_t generation = 0;
    };
    std::uint32_t fill(std::size_t i, std::unique_ptr<T> obj) {
        Slot& s = slots_[i];
        s.generation = static_cast<std::uint16_t>(s.generation + 1 == 0 ? 1 : s.generation + 1);
        s.obj = std::move(obj);
        return (std::uint32_t(s.generation) << 16) | std::uint32_t(i + 1);
    }
    Slot* slotOf(std::uint32_t h) {
        std::size_t i = (h & 0xFFFF);
        if (i == 0 || i > slots_.size()) return nullptr;
        Slot& s = slots_[i - 1];
        if (!s.obj || s.generation != (h >> 16)) return nullptr;
        return &s;
    }
    std::mutex mutex_;
    std::vector<Slot> slots_;
};

} // namespace lx::mime
