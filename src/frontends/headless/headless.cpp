#include "frontends/frontends.h"

namespace kestrun::fe {

namespace {

// Tests and tools: nothing is shown, nobody types, and time is virtual, so
// every wait returns at once and a session runs as fast as the game allows.
class HeadlessFrontend final : public rt::Frontend {
 public:
  void present(const rt::TextScreen&, const rt::GraphicsPlane&) override {}
  void waitEvents(rt::InputSink&, int timeoutMs) override {
    if (timeoutMs > 0) now_ += static_cast<uint64_t>(timeoutMs);
  }
  void pollEvents(rt::InputSink&) override {}
  void sleep(int milliseconds) override {
    if (milliseconds > 0) now_ += static_cast<uint64_t>(milliseconds);
  }
  uint64_t milliseconds() override { return now_; }
  bool interactive() const override { return false; }

 private:
  uint64_t now_ = 0;
};

}  // namespace

std::unique_ptr<rt::Frontend> makeHeadlessFrontend() {
  return std::make_unique<HeadlessFrontend>();
}

}  // namespace kestrun::fe
