#pragma once
// Which control a timer tick belongs to. The system's timer procedure gets
// only a timer id, so each armed timer registers its owner under a fresh id
// and the procedure looks the id up. An id that was removed finds nothing,
// so a tick still queued after a control let go of its timer is dropped.
#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace ventalune::anigif {

template <class Owner>
class TimerRegistry {
 public:
  explicit TimerRegistry(uintptr_t firstId = kFirstId) : next_(firstId) {}

  // A fresh id, never 0 and never one in use; after the largest id the
  // count starts again at the first.
  uintptr_t Add(Owner* owner) {
    for (;;) {
      const uintptr_t id = next_;
      next_ = next_ == UINTPTR_MAX ? kFirstId : next_ + 1;
      if (id != 0 && owners_.count(id) == 0) {
        owners_.emplace(id, owner);
        return id;
      }
    }
  }
  void Remove(uintptr_t id) { owners_.erase(id); }
  Owner* Find(uintptr_t id) const {
    const auto found = owners_.find(id);
    return found == owners_.end() ? nullptr : found->second;
  }
  size_t size() const { return owners_.size(); }

 private:
  // Far above the small ids windows give their own timers.
  static constexpr uintptr_t kFirstId = 0x56A00000;
  uintptr_t next_;
  std::unordered_map<uintptr_t, Owner*> owners_;
};

}  // namespace ventalune::anigif
