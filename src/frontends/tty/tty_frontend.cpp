#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#include "frontends/frontends.h"
#include "frontends/screen_change.h"
#include "frontends/tty/terminal.h"
#include "frontends/tty/tty_frame.h"
#include "frontends/tty/tty_image.h"
#include "frontends/tty/tty_input.h"
#include "runtime/graphics.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

// How long an Escape waits for the rest of a key's sequence.
constexpr int kEscapeWindowMs = 30;
// How long the terminal may take to say what it can draw.
constexpr int kQueryTimeoutMs = 1000;

uint64_t steadyMilliseconds() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// The drawing and the cell size the terminal has; asked of the terminal
// unless the player chose cells.
struct GraphicsSetup {
  GraphicsDrawing drawing = GraphicsDrawing::Cells;
  CellPixels cell;
};

GraphicsSetup setUpGraphics(Terminal& terminal, TtyGraphics asked) {
  if (asked == TtyGraphics::Cells) return {};
  // Keys typed while the terminal answers are dropped with the answers.
  const TerminalReplies replies = parseTerminalReplies(terminal.ask(
      terminalQueries(),
      [](std::string_view answers) { return parseTerminalReplies(answers).complete; },
      kQueryTimeoutMs));
  GraphicsSetup setup{chooseDrawing(asked, replies), {}};
  const TerminalSize size = terminal.size();
  if (size.pixelWidth > 0 && size.pixelHeight > 0 && size.columns > 0 && size.rows > 0) {
    setup.cell = {size.pixelWidth / size.columns, size.pixelHeight / size.rows};
  } else if (replies.cell.width > 0) {
    setup.cell = replies.cell;
  }
  return setup;
}

class TtyFrontend final : public rt::Frontend {
 public:
  explicit TtyFrontend(TtyGraphics graphics)
      : setup_(setUpGraphics(terminal_, graphics)), images_(setup_.drawing, setup_.cell) {
    options_.drawing = setup_.drawing;
    refit();
  }

  ~TtyFrontend() override {
    if (setup_.drawing == GraphicsDrawing::Kitty) terminal_.write(kittyDeleteAll());
  }
  TtyFrontend(const TtyFrontend&) = delete;
  TtyFrontend& operator=(const TtyFrontend&) = delete;

  void present(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) override {
    lastText_ = &text;
    lastGraphics_ = &graphics;
    if (terminal_.takeResize()) refit();
    if (sameAsShown(text, graphics)) return;
    wanted_ = buildFrame(text, graphics, options_);
    if (fits_) draw();
  }

  void waitEvents(rt::InputSink& sink, int timeoutMs) override {
    const uint64_t deadline = steadyMilliseconds() + static_cast<uint64_t>(std::max(timeoutMs, 0));
    for (;;) {
      int remaining = -1;
      if (timeoutMs >= 0) {
        const uint64_t now = steadyMilliseconds();
        remaining = now >= deadline ? 0 : static_cast<int>(deadline - now);
      }
      if (pump(sink, remaining) || remaining == 0) return;
    }
  }

  void pollEvents(rt::InputSink& sink) override { pump(sink, 0); }

  void sleep(int milliseconds) override {
    if (milliseconds <= 0) return;
    timespec left{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
  }

  uint64_t milliseconds() override { return steadyMilliseconds(); }
  bool interactive() const override { return true; }

 private:
  // True when this exact screen state is already what the terminal shows.
  bool sameAsShown(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) {
    const bool same = !presented_.changed(text, graphics);
    return same;
  }

  // The images that changed, then the text.
  void draw() {
    std::string out;
    if (lastGraphics_ != nullptr) out = images_.update(wanted_, lastGraphics_->pixels());
    terminal_.write(out + drawChanges(wanted_, shown_));
  }

  // Draws everything again after the window changed size, or shows the
  // notice while it is too small.
  void refit() {
    const TerminalSize size = terminal_.size();
    // A terminal that reports no size is taken to be large enough.
    fits_ = size.columns == 0 || (size.columns >= rt::kColumns && size.rows >= rt::kRows);
    // A sixel image on the terminal's last row scrolls the screen: that row
    // keeps the cell drawing when the game fills the terminal's height.
    options_.imageRows = setup_.drawing == GraphicsDrawing::Sixel && size.rows <= rt::kRows
                             ? rt::kRows - 1
                             : rt::kRows;
    const std::string forgotten = images_.forget();
    if (!fits_) {
      terminal_.write(forgotten + enlargeNotice(size.columns, size.rows));
      return;
    }
    if (lastText_ != nullptr) wanted_ = buildFrame(*lastText_, *lastGraphics_, options_);
    shown_ = blankFrame();
    terminal_.write(forgotten + clearScreen());
    draw();
  }

  // Waits up to `timeoutMs` for one batch of input and delivers it; true when
  // something reached the sink.
  bool pump(rt::InputSink& sink, int timeoutMs) {
    if (terminal_.closeRequested()) {
      sink.closeRequested();
      return true;
    }
    if (terminal_.takeResize()) refit();
    pollfd fds[2] = {{terminal_.inputFd(), POLLIN, 0}, {terminal_.wakeFd(), POLLIN, 0}};
    if (poll(fds, 2, escapeAwareTimeout(timeoutMs)) < 0) return false;
    if (fds[1].revents != 0) terminal_.drainWake();
    bool delivered = false;
    if (fds[0].revents & POLLIN) {
      delivered = readInput(sink);
    } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      sink.closeRequested();
      return true;
    }
    if (parser_.escapePending() && steadyMilliseconds() >= escapeDeadline_) {
      delivered = deliver(parser_.flush(), sink) || delivered;
    }
    return delivered;
  }

  // A pending Escape shortens the wait to the end of its window.
  int escapeAwareTimeout(int timeoutMs) const {
    if (!parser_.escapePending()) return timeoutMs;
    const uint64_t now = steadyMilliseconds();
    const int window = now >= escapeDeadline_ ? 0 : static_cast<int>(escapeDeadline_ - now);
    return timeoutMs < 0 ? window : std::min(timeoutMs, window);
  }

  bool readInput(rt::InputSink& sink) {
    char buffer[4096];
    const ssize_t n = read(terminal_.inputFd(), buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) {
      sink.closeRequested();  // the terminal has gone
      return true;
    }
    const bool wasPending = parser_.escapePending();
    const bool delivered = deliver(parser_.feed(std::string_view(buffer, n)), sink);
    if (parser_.escapePending() && !wasPending) {
      escapeDeadline_ = steadyMilliseconds() + kEscapeWindowMs;
    }
    return delivered;
  }

  // While the notice stands, keys and text are read and dropped.
  bool deliver(const std::vector<TerminalInput>& inputs, rt::InputSink& sink) {
    bool delivered = false;
    for (const TerminalInput& input : inputs) {
      if (!fits_ && input.kind != TerminalInput::Kind::Redraw) continue;
      switch (input.kind) {
        case TerminalInput::Kind::Key:
          sink.keyCode(input.code);
          delivered = true;
          break;
        case TerminalInput::Kind::Text:
          sink.text(input.text);
          delivered = true;
          break;
        case TerminalInput::Kind::Redraw:
          refit();
          break;
      }
    }
    return delivered;
  }

  Terminal terminal_;
  GraphicsSetup setup_;
  ImageLayer images_;
  FrameOptions options_;
  const rt::TextScreen* lastText_ = nullptr;
  const rt::GraphicsPlane* lastGraphics_ = nullptr;
  TerminalInputParser parser_;
  TerminalFrame wanted_ = blankFrame();
  TerminalFrame shown_ = blankFrame();
  ScreenChange presented_;
  bool fits_ = true;
  uint64_t escapeDeadline_ = 0;
};

}  // namespace

std::unique_ptr<rt::Frontend> makeTtyFrontend(TtyGraphics graphics) {
  return std::make_unique<TtyFrontend>(graphics);
}

}  // namespace kestrun::fe
