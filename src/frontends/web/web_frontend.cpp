#include "frontends/web/web_frontend.h"

#include <emscripten.h>

#include <array>
#include <charconv>
#include <string_view>
#include <vector>

#include "frontends/keys.h"
#include "frontends/screen_change.h"
#include "runtime/composite.h"
#include "runtime/font.h"
#include "runtime/graphics.h"
#include "runtime/textscreen.h"

// The page's side of these calls lives in page.js (Module.kestrun).

// Shows a 640 x 432 RGBA image on the canvas.
// clang-format off: the JavaScript in these bodies is not C++.
EM_JS(void, kestrun_show_frame, (const uint8_t* rgba, int width, int height), {
  Module.kestrun.showFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});

// Copies the oldest event of the page into `buffer` as UTF-8 and returns its
// length, or -1 when none is waiting. The first byte tells its kind.
EM_JS(int, kestrun_take_event, (char* buffer, int capacity), {
  const event = Module.kestrun.takeEvent();
  if (event == null) return -1;
  return stringToUTF8(event, buffer, capacity);
});

// Returns when the page has an event or `timeoutMs` has passed (-1: no
// limit); the browser runs meanwhile.
EM_ASYNC_JS(void, kestrun_wait_for_event, (int timeoutMs),
            { await Module.kestrun.waitForEvent(timeoutMs); });
// clang-format on

namespace kestrun::fe {

namespace {

constexpr char kConsoleCode = 'c';  // a key code, from the on-screen pad
constexpr char kNamedKey = 'k';     // a browser key name after a Shift flag
constexpr char kText = 't';         // typed or composed text in UTF-8
constexpr int kEventCapacity = 1024;

class WebFrontend final : public rt::Frontend {
 public:
  explicit WebFrontend(const rt::Font& font)
      : font_(font),
        image_(static_cast<size_t>(rt::kPlaneWidth) * rt::kPlaneHeight),
        rgba_(image_.size() * 4) {}

  void present(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) override {
    if (!change_.changed(text, graphics)) return;
    rt::composite(text, graphics, font_.loaded() ? &font_ : nullptr, image_);
    for (size_t i = 0; i < image_.size(); ++i) {
      const uint32_t rgb = image_[i];
      rgba_[i * 4] = static_cast<uint8_t>(rgb >> 16);
      rgba_[i * 4 + 1] = static_cast<uint8_t>(rgb >> 8);
      rgba_[i * 4 + 2] = static_cast<uint8_t>(rgb);
      rgba_[i * 4 + 3] = 0xFF;
    }
    kestrun_show_frame(rgba_.data(), rt::kPlaneWidth, rt::kPlaneHeight);
  }

  void waitEvents(rt::InputSink& sink, int timeoutMs) override {
    if (deliver(sink)) return;
    kestrun_wait_for_event(timeoutMs);
    deliver(sink);
  }

  void pollEvents(rt::InputSink& sink) override { deliver(sink); }

  void sleep(int milliseconds) override {
    if (milliseconds > 0) emscripten_sleep(static_cast<unsigned>(milliseconds));
  }

  uint64_t milliseconds() override { return static_cast<uint64_t>(emscripten_get_now()); }

  bool interactive() const override { return true; }

 private:
  // Hands every waiting event to the sink; false when there was none.
  bool deliver(rt::InputSink& sink) {
    bool any = false;
    for (;;) {
      const int length = kestrun_take_event(event_.data(), static_cast<int>(event_.size()));
      if (length < 1) return any;
      any = true;
      dispatch(std::string_view(event_.data(), static_cast<size_t>(length)), sink);
    }
  }

  static void dispatch(std::string_view event, rt::InputSink& sink) {
    const std::string_view body = event.substr(1);
    switch (event.front()) {
      case kConsoleCode:
        if (int code = 0;
            std::from_chars(body.data(), body.data() + body.size(), code).ec == std::errc() &&
            code >= 0 && code <= 0xFF) {
          sink.keyCode(static_cast<uint8_t>(code));
        }
        break;
      case kNamedKey:
        if (body.size() > 1) {
          if (auto key = specialKeyOfBrowserName(body.substr(1))) {
            sink.keyCode(consoleKeyCode(*key, body.front() == '1'));
          }
        }
        break;
      case kText:
        sink.text(body);
        break;
      default:
        break;
    }
  }

  const rt::Font& font_;
  ScreenChange change_;
  std::vector<uint32_t> image_;
  std::vector<uint8_t> rgba_;
  std::array<char, kEventCapacity> event_{};
};

}  // namespace

std::unique_ptr<rt::Frontend> makeWebFrontend(const rt::Font& font) {
  return std::make_unique<WebFrontend>(font);
}

}  // namespace kestrun::fe
