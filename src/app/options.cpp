#include "app/options.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/roster_place.h"
#include "runtime/keyscript.h"

namespace kestrun::app {

namespace {

constexpr int kUsageError = 2;

int usageError(const std::string& message) {
  std::cerr << "kestrun: " << message << "\n";
  return kUsageError;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The user's path, made absolute against the directory the program was
// started in, so that --dir does not move it.
std::string fromStartDir(const std::filesystem::path& startDir, const std::string& path) {
  if (path.empty()) return path;
  return (startDir / path).lexically_normal().string();
}

// Where the characters of the --dir folder (or the current one) live.
std::string rosterPlaceHelp(const std::string& dir) {
  const std::string folder = dir.empty() ? "." : dir;
  if (!std::filesystem::is_directory(folder)) return "Characters: no folder " + folder + ".";
  return describeRosterPlace(findRosterPlace(folder, currentUserFolders()));
}

}  // namespace

ParseResult parseCommandLine(int argc, char** argv) {
  CLI::App cli{
      "KESTRUN plays scenarios of a party-based, first-person dungeon role-playing game.\n"
      "Run it in the directory that holds the scenario files (or name it with --dir),\n"
      "then type the scenario's letter at the title screen. Relative paths of the files\n"
      "it reads and writes (keys, dumps, traces) are taken from where it was started.",
      "kestrun"};
  Options o;
  std::string keysText;
  std::string keysFile;
  std::optional<int64_t> seed;
  cli.add_option("--dir", o.dir, "Directory holding the scenario files (default: current)")
      ->type_name("DIR");
  cli.add_option("--frontend", o.frontend,
                 "sdl (a window), tty (this terminal) or headless (no screen, for tests);\n"
                 "default: sdl with a display, else tty");
  cli.add_option("--seed", seed, "Seed the random generator with N instead of the clock's seconds");
  cli.add_option("--keys", keysText,
                 "Keys typed ahead: text, newline or {Enter}, {Up} {Down} {Left} {Right}\n"
                 "{Esc} {Home} {Ins} {Del} {Bs}, {{ for a literal {");
  cli.add_option("--keys-file", keysFile, "Read the typed-ahead keys from FILE")->type_name("FILE");
  cli.add_option("--dump-screen", o.dumpScreen,
                 "At exit, write the text screen and its colours to FILE")
      ->type_name("FILE");
  cli.add_option("--dump-png", o.dumpPng, "At exit, write the 640 x 432 screen image to FILE (PNG)")
      ->type_name("FILE");
  cli.add_option("--trace", o.trace,
                 "At every wait for input and every timed pause, add the text screen to\n"
                 "FILE after a line \"=== N key\", \"=== N line\" or \"=== N pause\"")
      ->type_name("FILE");
  cli.add_option("--trace-png", o.tracePng,
                 "Write the 640 x 432 image of every trace frame as DIR/N.png\n"
                 "(N numbered as in --trace; with or without --trace)")
      ->type_name("DIR");
  cli.add_option("--scale", o.scale, "Window scale factor (sdl; default: as large as fits)")
      ->check(CLI::Range(1, 16));
  cli.add_option("--tty-graphics", o.ttyGraphics,
                 "How the terminal shows the pictures (tty): auto asks the terminal;\n"
                 "sixel or kitty draw them as an image beneath the text; cells draws\n"
                 "them with braille dots in the cells that hold no text (default: auto)")
      ->check(CLI::IsMember({"auto", "sixel", "kitty", "cells"}))
      ->type_name("MODE");
  cli.add_flag("--fullscreen", o.fullscreen, "Start in full screen (sdl; Alt+Enter toggles)");
  cli.add_flag("--pad", o.showPad,
               "Show the on-screen pad from the start (sdl; else a double click, the\n"
               "first touch or a controller's Back button shows it)");
  cli.set_version_flag("--version", std::string("kestrun ") + KESTRUN_VERSION);

  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << cli.help() << rosterPlaceHelp(o.dir) << "\n";
    return {std::nullopt, 0};
  } catch (const CLI::CallForVersion&) {
    std::cout << "kestrun " << KESTRUN_VERSION << "\n";
    return {std::nullopt, 0};
  } catch (const CLI::ParseError& e) {
    return {std::nullopt, usageError(e.what())};
  }

  if (!o.frontend.empty() && o.frontend != "sdl" && o.frontend != "tty" &&
      o.frontend != "headless") {
    return {std::nullopt,
            usageError("unknown front end \"" + o.frontend + "\" (choose sdl, tty or headless)")};
  }
  if (seed) {
    if (*seed < INT32_MIN || *seed > INT32_MAX) {
      return {std::nullopt, usageError("--seed must fit in 32 bits")};
    }
    o.seed = static_cast<int32_t>(*seed);
  }
  std::error_code noCurrentDir;
  const std::filesystem::path startDir = std::filesystem::current_path(noCurrentDir);
  if (noCurrentDir) return {std::nullopt, usageError("the current directory is gone")};
  o.startDir = startDir.string();
  for (std::string* path : {&o.dumpScreen, &o.dumpPng, &o.trace, &o.tracePng}) {
    *path = fromStartDir(startDir, *path);
  }
  if (!o.dir.empty() && !std::filesystem::is_directory(o.dir)) {
    return {std::nullopt, usageError("--dir: no such directory: " + o.dir)};
  }
  std::string script = keysText;
  if (!keysFile.empty()) {
    auto text = readFile(keysFile);
    if (!text) return {std::nullopt, usageError("--keys-file: cannot read " + keysFile)};
    script += *text;
  }
  try {
    o.keys = rt::parseKeyScript(script);
  } catch (const rt::KeyScriptError& e) {
    return {std::nullopt, usageError(e.what())};
  }
  return {o, 0};
}

}  // namespace kestrun::app
