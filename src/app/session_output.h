#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/options.h"
#include "runtime/console.h"

namespace kestrun::app {

// A file the command line asked for that cannot be written; what() is the one
// line the user sees.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the command line asked to keep of a session: the screen as text at
// every wait and pause (--trace), the picture of each of those frames
// (--trace-png), and the screen at exit (--dump-screen, --dump-png).
class SessionOutput {
 public:
  explicit SessionOutput(const Options& options) : o_(options) {}

  // Starts an empty trace and makes the picture folder; throws OutputError.
  void open();
  // Records the frame the game shows while it waits or pauses; throws
  // OutputError.
  void frame(rt::WaitKind kind, rt::Console& con);
  // Writes the dumps at exit; returns the message of each one that failed.
  std::vector<std::string> writeExitDumps(rt::Console& con) const;

  bool recordsFrames() const { return !o_.trace.empty() || !o_.tracePng.empty(); }

 private:
  const Options& o_;
  std::ofstream trace_;
  int frames_ = 0;
};

}  // namespace kestrun::app
