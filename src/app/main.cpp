#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/options.h"
#include "app/roster_place.h"
#include "app/session_output.h"
#include "app/signals.h"
#include "frontends/frontends.h"
#include "game/state/game.h"
#include "game/town/main_line.h"

namespace {

using namespace kestrun;

constexpr int kUsageError = 2;
constexpr int kRuntimeErrorStatus = 1;
// A dump, trace or picture the command line asked for that cannot be written.
constexpr int kOutputError = 2;

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
  if (name == "sdl") return fe::makeSdlFrontend({o.scale, o.fullscreen, o.startDir, o.showPad}, font);
  if (name == "tty") return fe::makeTtyFrontend(*fe::ttyGraphicsNamed(o.ttyGraphics));
  return fe::makeHeadlessFrontend();
}

// How a session ended: its exit status, the message of every file the
// command line asked for that could not be written, and the scripted keys
// the game never took.
struct SessionEnd {
  int status = 0;
  std::vector<std::string> failures;
  size_t keysLeft = 0;
};

// A script that outlives the game (it saved and ended, or stopped on an
// error) usually went astray; whoever wrote it learns how much was not typed.
void reportKeysLeft(const SessionEnd& end) {
  if (end.keysLeft == 0) return;
  std::cerr << "kestrun: the game ended with " << end.keysLeft << " scripted key"
            << (end.keysLeft == 1 ? "" : "s") << " left\n";
}

SessionEnd runGame(const app::Options& o, const app::RosterPlace& rosters, rt::Frontend& frontend,
                   const rt::Font& font, app::SessionOutput& output) {
  rt::Console con(frontend, font);
  app::placeRosters(con.files(), rosters);
  con.setScript(o.keys);
  if (output.recordsFrames()) {
    con.setWaitHook([&](rt::WaitKind kind) { output.frame(kind, con); });
  }
  game::Game g(con);
  g.seedOverride = o.seed;
  SessionEnd end;
  try {
    try {
      game::runMainLine(g);
    } catch (const rt::RuntimeError& error) {
      rt::logFatalError(error);
      con.files().closeAll();
      con.reportError(error);
      con.waitForClose(kRuntimeErrorStatus);
    }
  } catch (const rt::ProgramEnd& programEnd) {
    end.status = programEnd.exitCode;
  } catch (const app::OutputError& e) {
    end.failures.push_back(e.what());
  }
  con.files().closeAll();
  for (std::string& failure : output.writeExitDumps(con)) end.failures.push_back(failure);
  if (!frontend.interactive()) end.keysLeft = con.scriptKeysLeft();
  return end;
}

}  // namespace

int main(int argc, char** argv) {
  // A file that outgrows the size limit fails its write (a run-time error the
  // game reports) instead of killing the game with the roster half saved.
  std::signal(SIGXFSZ, SIG_IGN);
  const app::ParseResult parsed = app::parseCommandLine(argc, argv);
  if (!parsed.options) return parsed.exitStatus;
  const app::Options& o = *parsed.options;

  if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) {
    std::cerr << "kestrun: --dir: cannot enter " << o.dir << "\n";
    return kUsageError;
  }
  const app::RosterPlace rosters = app::findRosterPlace(".", app::currentUserFolders());
  if (const std::string problem = app::prepareRosterPlace(rosters); !problem.empty()) {
    std::cerr << "kestrun: " << problem << "\n";
    return kRuntimeErrorStatus;
  }
  const std::string frontendName = chooseFrontend(o);
  if (frontendName.empty()) {
    std::cerr << "kestrun: no display and no terminal; choose one with --frontend "
                 "(sdl, tty or headless)\n";
    return kUsageError;
  }

  app::SessionOutput output(o);
  const rt::Font& font = rt::Font::builtIn();

  try {
    output.open();
  } catch (const app::OutputError& e) {
    std::cerr << e.what() << "\n";
    return kOutputError;
  }
  SessionEnd end;
  try {
    auto frontend = app::closingOnSignals(openFrontend(frontendName, o, font));
    app::watchEndingSignals();
    end = runGame(o, rosters, *frontend, font, output);
  } catch (const fe::FrontendError& e) {
    std::cerr << "kestrun: " << e.what() << "\n";
    return kUsageError;
  }
  // Told once the terminal is back in its own mode, where the user can read it.
  for (const std::string& failure : end.failures) std::cerr << failure << "\n";
  if (end.failures.empty()) reportKeysLeft(end);
  return end.failures.empty() ? app::statusAfterSignals(end.status) : kOutputError;
}
