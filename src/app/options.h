#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrun::app {

// What the command line asked for. The paths of the files the session writes
// are absolute, taken from the directory the program was started in.
struct Options {
  std::string startDir;  // where the program was started
  std::string dir;
  std::string frontend;  // empty: chosen from the environment
  std::optional<int32_t> seed;
  std::vector<uint8_t> keys;
  std::string dumpScreen;
  std::string dumpPng;
  std::string trace;
  std::string tracePng;              // a folder: one picture per trace frame
  std::string ttyGraphics = "auto";  // auto, sixel, kitty or cells
  int scale = 0;
  bool showPad = false;
  bool fullscreen = false;
};

// The outcome of reading the command line: either options to run with, or an
// exit status (after --help, --version, or a usage error already reported).
struct ParseResult {
  std::optional<Options> options;
  int exitStatus = 0;
};

ParseResult parseCommandLine(int argc, char** argv);

}  // namespace kestrun::app
