#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <source_location>
#include <string>
#include <string_view>
#include <variant>

#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/font.h"
#include "runtime/frontend.h"
#include "runtime/graphics.h"
#include "runtime/keyboard.h"
#include "runtime/numformat.h"
#include "runtime/picture.h"
#include "runtime/random.h"
#include "runtime/textscreen.h"

namespace kestrun::rt {

// How a line input shows its prompt: 0 only "? ", 1 the prompt as it is,
// 2 the prompt followed by "? ".
enum class PromptMode : uint8_t { QuestionOnly = 0, PromptOnly = 1, PromptAndQuestion = 2 };

// A target of line input: a string or a number variable.
using InputTarget = std::variant<std::string*, float*>;

// What the game does while the player looks at a frame, as the trace reports
// it: waits for a key, waits for a line, or pauses for a time (a timed key
// wait is a pause that a key cuts short).
enum class WaitKind : uint8_t { Key, Line, Pause };

// The console the game runs on: the text screen, the graphics plane, the
// keyboard, the files, the random generator and the picture object of the one
// main window, shown through a front end.
class Console final : private InputSink {
 public:
  using Loc = std::source_location;

  // `font` draws graphics text; the console does not own it.
  Console(Frontend& frontend, const Font& font);

  TextScreen& text() { return text_; }
  GraphicsPlane& graphics() { return graphics_; }
  FileTable& files() { return files_; }
  Random& random() { return random_; }
  Picture& picture() { return picture_; }
  KeyBuffer& keys() { return keys_; }
  const Font& font() const { return font_; }
  Frontend& frontend() { return frontend_; }

  // Keys typed ahead by a script: delivered one at a time, only when the game
  // waits for input.
  void setScript(std::vector<uint8_t> keys);
  // Scripted keys the game has not taken yet.
  size_t scriptKeysLeft() const { return script_.size(); }
  // Called at every wait for input and every timed pause, before the game
  // blocks (the trace).
  void setWaitHook(std::function<void(WaitKind)> hook) { waitHook_ = std::move(hook); }

  // LOCATE column, row: outside 0..79 / 0..23 is error 5.
  void LOCATE(double column, double row, Loc where = Loc::current());
  // COLOR foreground [, background]: colours above 15 are error 5.
  void COLOR(double foreground, Loc where = Loc::current());
  void COLOR(double foreground, double background, Loc where = Loc::current());
  // COLOR with every part: mode must be 0, 1, 4 or 5 (modes 0 and 1 show the
  // half-intensity colours).
  void COLOR(double foreground, double background, double border, double mode,
             Loc where = Loc::current());
  // CLS mode: 0 clears text and graphics (1 text only, 2 graphics only);
  // above 5 is error 5.
  void CLS(double mode = 0, Loc where = Loc::current());

  // PRINT item followed by its separator.
  void PRINT(const PrintItem& item, Sep sep = Sep::Semicolon, Loc where = Loc::current());
  // PRINT USING format; items (the separator applies after the last item).
  void PRINT_USING(std::string_view format, std::initializer_list<PrintItem> items,
                   Sep sep = Sep::Semicolon, Loc where = Loc::current());

  // INPUT prompt; targets: reads a line, splits it at commas, fills the
  // targets; asks again with "もう一度入力してください" when it does not fit.
  void INPUT(std::string_view prompt, PromptMode mode, std::initializer_list<InputTarget> targets,
             Loc where = Loc::current());
  // Line input into one string (the game's usual form, prompt mode 1).
  std::string inputString(std::string_view prompt, Loc where = Loc::current());

  // INKEY$: the next key as a one-byte string, or "" at once when none is
  // there. Window events are processed first.
  std::string INKEY();
  // The loop on INKEY$ = "": blocks (without using the processor) until a key
  // is there and returns it.
  std::string waitKey();
  // A key within `milliseconds`, or "" when none came (a timed pause).
  std::string waitKey(int milliseconds);
  // WAIT n: pauses n x 10 ms (0..65535, else error 5); events are not
  // processed meanwhile.
  void WAIT(double hundredths, Loc where = Loc::current());

  // Shows the current screen through the front end.
  void present();
  // The closing loop: the window stays open, showing the screen, until the
  // player closes it; then the program ends with `exitCode`.
  [[noreturn]] void waitForClose(int exitCode);
  // Writes an unhandled error's report into the text screen.
  void reportError(const RuntimeError& error);

 private:
  void keyCode(uint8_t code) override;
  void text(std::string_view utf8) override;
  void closeRequested() override;

  void beginWait(WaitKind kind);
  std::optional<uint8_t> nextKey(int timeoutMs);
  std::string readLine();
  bool fillTargets(const std::string& line, std::initializer_list<InputTarget> targets);
  void checkClosed();

  Frontend& frontend_;
  TextScreen text_;
  GraphicsPlane graphics_;
  FileTable files_;
  Random random_;
  Picture picture_;
  KeyBuffer keys_;
  const Font& font_;
  std::deque<uint8_t> script_;
  std::function<void(WaitKind)> waitHook_;
  bool closeRequested_ = false;
  uint8_t colourMode_ = 4;
};

}  // namespace kestrun::rt
