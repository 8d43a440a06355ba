#include "app/signals.h"

#include <csignal>

namespace kestrun::app {

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kKilledStatusBase = 128;

volatile sig_atomic_t firstSignal = 0;
// The handlers found in place, run after the signal is noted.
struct sigaction previous[std::size(kEndingSignals)];

void noteSignal(int signal) {
  if (firstSignal == 0) firstSignal = signal;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] != signal) continue;
    const auto handler = previous[i].sa_handler;
    if (handler != SIG_DFL && handler != SIG_IGN) handler(signal);
  }
}

class SignalClosingFrontend final : public rt::Frontend {
 public:
  explicit SignalClosingFrontend(std::unique_ptr<rt::Frontend> inner) : inner_(std::move(inner)) {}

  void present(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) override {
    inner_->present(text, graphics);
  }
  void waitEvents(rt::InputSink& sink, int timeoutMs) override {
    if (closeOnSignal(sink)) return;
    inner_->waitEvents(sink, timeoutMs);
    closeOnSignal(sink);
  }
  void pollEvents(rt::InputSink& sink) override {
    inner_->pollEvents(sink);
    closeOnSignal(sink);
  }
  void sleep(int milliseconds) override { inner_->sleep(milliseconds); }
  uint64_t milliseconds() override { return inner_->milliseconds(); }
  bool interactive() const override { return inner_->interactive(); }

 private:
  static bool closeOnSignal(rt::InputSink& sink) {
    if (firstSignal == 0) return false;
    sink.closeRequested();
    return true;
  }

  std::unique_ptr<rt::Frontend> inner_;
};

}  // namespace

void watchEndingSignals() {
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    sigaction(kEndingSignals[i], nullptr, &previous[i]);
    if (previous[i].sa_handler == SIG_IGN || (previous[i].sa_flags & SA_SIGINFO) != 0) continue;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    // A write the signal interrupts (a trace, a roster) goes on; the game
    // ends at its next wait.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(kEndingSignals[i], &action, nullptr);
  }
}

int endingSignal() {
  return firstSignal;
}

int statusAfterSignals(int status) {
  return firstSignal != 0 ? kKilledStatusBase + firstSignal : status;
}

std::unique_ptr<rt::Frontend> closingOnSignals(std::unique_ptr<rt::Frontend> frontend) {
  return std::make_unique<SignalClosingFrontend>(std::move(frontend));
}

}  // namespace kestrun::app
