#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrun::app {

// What the command line asked for.
struct Options {
  std::string dir;
  std::string frontend;  // empty: chosen from the environment
  std::optional<int32_t> seed;
  std::vector<uint8_t> keys;
  std::string dumpScreen;
  std::string dumpPng;
  std::string trace;
  int scale = 0;
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
