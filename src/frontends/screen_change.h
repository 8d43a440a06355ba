#pragma once

#include <cstdint>

#include "runtime/graphics.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

// Tells a front end whether the screen changed since it last showed it, so an
// unchanged screen is not drawn again.
class ScreenChange {
 public:
  // True when the screen differs from the one seen at the previous call.
  bool changed(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) {
    const Seen now{&text, &graphics, text.version(), graphics.version()};
    const bool different = !(now == seen_);
    seen_ = now;
    return different;
  }

 private:
  struct Seen {
    const void* text = nullptr;
    const void* graphics = nullptr;
    uint64_t textVersion = 0;
    uint64_t graphicsVersion = 0;
    bool operator==(const Seen&) const = default;
  };
  Seen seen_;
};

}  // namespace kestrun::fe
