#pragma once

#include <memory>

#include "runtime/frontend.h"

namespace kestrun::rt {
class Font;
}

namespace kestrun::fe {

// The browser page: frames go to its canvas, keys, typed text and the
// on-screen pad come from its events, and every wait hands control back to
// the browser (Asyncify), so a game waiting for a key costs no processor.
std::unique_ptr<rt::Frontend> makeWebFrontend(const rt::Font& font);

}  // namespace kestrun::fe
