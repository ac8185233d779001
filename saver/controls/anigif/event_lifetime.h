#pragma once
// Raising an event whose handler may end the object that raises it. A host
// handler may delete the control, destroy its window or release it, and the
// code that raised the event is still on the stack when the handler returns.
// The object owns a Lifetime; a Witness taken before the raise tells the
// raising code afterwards whether it may touch anything of the object again.
#include <functional>
#include <memory>
#include <utility>

namespace ventalune::anigif {

class Lifetime {
 public:
  class Witness {
   public:
    // False once the life it watched has ended, even if the owner has
    // begun a new one since (released, then made again).
    bool alive() const { return *flag_; }

   private:
    friend class Lifetime;
    explicit Witness(std::shared_ptr<const bool> flag) : flag_(std::move(flag)) {}
    std::shared_ptr<const bool> flag_;
  };

  Lifetime() = default;
  ~Lifetime() { *flag_ = false; }
  Lifetime(const Lifetime&) = delete;
  Lifetime& operator=(const Lifetime&) = delete;

  Witness Watch() const { return Witness(flag_); }
  // Ends the current life: every witness taken so far reports it gone,
  // witnesses taken from now on watch a new one.
  void End() {
    *flag_ = false;
    flag_ = std::make_shared<bool>(true);
  }

 private:
  // Shared with the witnesses, so it outlives the owner that ends it.
  std::shared_ptr<bool> flag_ = std::make_shared<bool>(true);
};

// Calls `handler`, when one is set, through a copy: a handler that deletes
// its owner deletes the stored function with it, yet runs to its end. True
// when the owner's life goes on; false when the caller must return at once
// without touching the owner.
template <class... Params, class... Args>
bool Raise(const Lifetime& life, const std::function<void(Params...)>& handler, Args&&... args) {
  if (!handler) return true;
  const Lifetime::Witness witness = life.Watch();
  const std::function<void(Params...)> call = handler;
  call(std::forward<Args>(args)...);
  return witness.alive();
}

}  // namespace ventalune::anigif
