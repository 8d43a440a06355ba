#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrun::fe {

struct TerminalSize {
  int columns = 0;  // 0 when the terminal does not say
  int rows = 0;
  int pixelWidth = 0;  // of the text area; 0 when the terminal does not say
  int pixelHeight = 0;
};

// True when the character encoding of the locale is UTF-8. With no locale
// named in the environment, C.UTF-8 is assumed to be usable.
bool hasUtf8Locale();

// The controlling terminal in the mode a game needs: keys one by one without
// echo, the alternate screen, no cursor. Ctrl+C and the other ending signals
// ask the game to close; a second one ends at once. Ctrl+Z suspends with the
// terminal restored. Everything is restored on destruction and at exit.
// Only one may exist at a time.
class Terminal {
 public:
  Terminal();  // throws FrontendError
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // Writes all the bytes in one go; a terminal that has gone away is ignored.
  void write(std::string_view bytes);
  TerminalSize size() const;
  // Writes `queries` and collects what the terminal answers until `complete`
  // says the answers are all there or `timeoutMs` passes.
  std::string ask(std::string_view queries, const std::function<bool(std::string_view)>& complete,
                  int timeoutMs);

  int inputFd() const;
  // Readable when a signal has arrived.
  int wakeFd() const;
  void drainWake();

  bool closeRequested() const;
  // True once after each change of the window size (or a resume after Ctrl+Z).
  bool takeResize();
};

}  // namespace kestrun::fe
