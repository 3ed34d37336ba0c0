// A resolution that one thread may set while others read it: both directions are held in one
// atomic word, so that a reading is always one setting's x with the same setting's y, never the new
// x with the old y.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/screen.h"

namespace varnel {

class ResolutionSetting {
 public:
  constexpr ResolutionSetting(int x, int y) : packed_(Pack(x, y)) {}

  ScreenResolution Load() const { return Unpack(packed_.load(std::memory_order_relaxed)); }

  // A direction given below 1 keeps the value it has.
  void Store(int x, int y) {
    std::uint64_t was = packed_.load(std::memory_order_relaxed);
    for (;;) {
      const ScreenResolution old = Unpack(was);
      const std::uint64_t now = Pack(x >= 1 ? x : old.x, y >= 1 ? y : old.y);
      if (packed_.compare_exchange_weak(was, now, std::memory_order_relaxed)) return;
    }
  }

 private:
  static constexpr std::uint64_t Pack(int x, int y) {
    return std::uint64_t{static_cast<std::uint32_t>(x)} << 32 | static_cast<std::uint32_t>(y);
  }
  static constexpr ScreenResolution Unpack(std::uint64_t packed) {
    return ScreenResolution{static_cast<int>(static_cast<std::uint32_t>(packed >> 32)),
                            static_cast<int>(static_cast<std::uint32_t>(packed))};
  }

  // Read by every render: a plain load on every platform we build for, 32-bit Windows included.
  static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
  std::atomic<std::uint64_t> packed_;
};

}  // namespace varnel
