#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/options.h"
#include "frontends/frontends.h"
#include "game/state/game.h"
#include "game/town/main_line.h"
#include "runtime/composite.h"
#include "runtime/screendump.h"

namespace {

using namespace kestrun;

constexpr int kUsageError = 2;
constexpr int kRuntimeErrorStatus = 1;

std::string chooseFrontend(const app::Options& o) {
  if (!o.frontend.empty()) return o.frontend;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display && *display) || (wayland && *wayland)) return "sdl";
  if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) return "tty";
  return {};
}

std::unique_ptr<rt::Frontend> openFrontend(const std::string& name, const app::Options& o,
                                           const rt::Font& font) {
  if (name == "sdl") return fe::makeSdlFrontend({o.scale, o.fullscreen}, font);
  if (name == "tty") return fe::makeTtyFrontend();
  return fe::makeHeadlessFrontend();
}

// Writes the dumps the command line asked for at exit.
void writeDumps(const app::Options& o, rt::Console& con) {
  if (!o.dumpScreen.empty()) {
    std::ofstream out(o.dumpScreen, std::ios::binary);
    out << rt::screenDump(con.text());
    if (!out) std::cerr << "kestrun: cannot write " << o.dumpScreen << "\n";
  }
  if (!o.dumpPng.empty()) {
    std::vector<uint32_t> image(rt::kPlaneWidth * rt::kPlaneHeight);
    rt::composite(con.text(), con.graphics(), con.font().loaded() ? &con.font() : nullptr, image);
    if (!fe::savePng(o.dumpPng, image.data(), rt::kPlaneWidth, rt::kPlaneHeight)) {
      std::cerr << "kestrun: cannot write " << o.dumpPng << "\n";
    }
  }
}

void traceInputWait(const std::string& path, rt::Console& con, rt::InputWaitKind kind) {
  static int waits = 0;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << "=== " << ++waits << (kind == rt::InputWaitKind::Key ? " key\n" : " line\n")
      << rt::screenDump(con.text());
}

int runGame(const app::Options& o, rt::Frontend& frontend, const rt::Font& font) {
  rt::Console con(frontend, font);
  con.setScript(o.keys);
  if (!o.trace.empty()) {
    std::ofstream(o.trace, std::ios::trunc);
    con.setInputWaitHook([&](rt::InputWaitKind kind) { traceInputWait(o.trace, con, kind); });
  }
  game::Game g(con);
  g.seedOverride = o.seed;
  int status = 0;
  try {
    try {
      game::runMainLine(g);
    } catch (const rt::RuntimeError& error) {
      con.files().closeAll();
      con.reportError(error);
      con.waitForClose(kRuntimeErrorStatus);
    }
  } catch (const rt::ProgramEnd& end) {
    status = end.exitCode;
  }
  con.files().closeAll();
  writeDumps(o, con);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const app::ParseResult parsed = app::parseCommandLine(argc, argv);
  if (!parsed.options) return parsed.exitStatus;
  const app::Options& o = *parsed.options;

  if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) {
    std::cerr << "kestrun: --dir: cannot enter " << o.dir << "\n";
    return kUsageError;
  }
  const std::string frontendName = chooseFrontend(o);
  if (frontendName.empty()) {
    std::cerr << "kestrun: no display and no terminal; choose one with --frontend "
                 "(sdl, tty or headless)\n";
    return kUsageError;
  }

  rt::Font font;
  const bool needGlyphs = frontendName != "headless" || !o.dumpPng.empty();
  if (needGlyphs && !font.loadDefault()) {
    std::cerr << "kestrun: no Unifont glyphs found (" << rt::Font::defaultPaths().front()
              << "); install the Debian package \"unifont\"\n";
    if (frontendName == "sdl") return kUsageError;
  }

  try {
    auto frontend = openFrontend(frontendName, o, font);
    return runGame(o, *frontend, font);
  } catch (const fe::FrontendError& e) {
    std::cerr << "kestrun: " << e.what() << "\n";
    return kUsageError;
  }
}
