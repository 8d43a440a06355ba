// main() of the game in a browser page. The page (page.js) has put the
// scenario's files in /scenario and the saved rosters, kept in the browser's
// storage, in /saves before this starts.
#include <emscripten.h>
#include <unistd.h>

#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "app/roster_check.h"
#include "app/roster_place.h"
#include "frontends/pad/pad.h"
#include "frontends/web/web_frontend.h"
#include "game/state/game.h"
#include "game/town/main_line.h"
#include "runtime/keyscript.h"

// The value of an option of the page's address (?seed=, ?keys=) or of the
// page itself (the saves folder), or null; the caller frees it.
// clang-format off: the JavaScript in these bodies is not C++.
EM_JS(char*, kestrun_page_option, (const char* name), {
  const value = Module.kestrun.option(UTF8ToString(name));
  if (value == null) return 0;
  const size = lengthBytesUTF8(value) + 1;
  const copy = _malloc(size);
  stringToUTF8(value, copy, size);
  return copy;
});

// A sentence for the player beside the canvas.
EM_JS(void, kestrun_tell_player, (const char* message),
      { Module.kestrun.tell(UTF8ToString(message)); });

// Returns once every roster the game has written is in the browser's storage.
EM_ASYNC_JS(void, kestrun_saves_settled, (), { await Module.kestrun.savesSettled(); });
// clang-format on

namespace {

using namespace kestrun;

constexpr const char* kScenarioFolder = "/scenario";

std::optional<std::string> pageOption(const char* name) {
  char* value = kestrun_page_option(name);
  if (value == nullptr) return std::nullopt;
  std::string text(value);
  std::free(value);
  return text;
}

std::optional<int32_t> seedOption() {
  const auto text = pageOption("seed");
  if (!text) return std::nullopt;
  int32_t seed = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seed);
  if (error != std::errc() || end != text->data() + text->size()) {
    kestrun_tell_player("?seed= must be a whole number that fits in 32 bits; the clock seeds.");
    return std::nullopt;
  }
  return seed;
}

std::vector<uint8_t> keysOption() {
  const auto text = pageOption("keys");
  if (!text) return {};
  try {
    return rt::parseKeyScript(*text);
  } catch (const rt::KeyScriptError& e) {
    kestrun_tell_player((std::string("?keys= is not a key script: ") + e.what()).c_str());
    return {};
  }
}

// One session from the title to the end of the program (the town's key 0,
// the camp's suspend); an unhandled error stays on screen until the page is
// reloaded, as a window stays until it is closed.
void runSession(rt::Frontend& frontend, const rt::Font& font, const app::RosterPlace& place,
                std::vector<uint8_t> keys, std::optional<int32_t> seed) {
  rt::Console con(frontend, font);
  app::placeRosters(con.files(), place);
  con.setScript(std::move(keys));
  auto g = std::make_unique<game::Game>(con);
  g->seedOverride = seed;
  try {
    try {
      game::runMainLine(*g);
    } catch (const rt::RuntimeError& error) {
      con.files().closeAll();
      con.reportError(error);
      con.waitForClose(1);
    }
  } catch (const rt::ProgramEnd&) {
  }
  con.files().closeAll();
}

}  // namespace

extern "C" {

// The on-screen pad, for the page to draw.
EMSCRIPTEN_KEEPALIVE const char* kestrun_pad_layout() {
  static const std::string json = fe::pad::toJson(fe::pad::layout());
  return json.c_str();
}

// Why the roster file at `path` may not become the saved roster of the
// scenario `letter` ("" when it may).
EMSCRIPTEN_KEEPALIVE const char* kestrun_roster_problem(const char* letter, const char* path) {
  static std::string problem;
  const std::string scenario = std::string(kScenarioFolder) + "/" + letter + "-S.DAT";
  problem = app::rosterProblem(scenario, path);
  return problem.c_str();
}
}

int main() {
  std::optional<int32_t> seed = seedOption();
  std::vector<uint8_t> keys = keysOption();
  const rt::Font& font = rt::Font::builtIn();
  if (chdir(kScenarioFolder) != 0) {
    kestrun_tell_player("The scenario's files are missing.");
    return 1;
  }
  // The page names the folder of its own store in the browser.
  const std::string saves = pageOption("saves").value_or("/saves");
  const app::RosterPlace place{kScenarioFolder, saves, true, {}};
  if (const std::string problem = app::prepareRosterPlace(place); !problem.empty()) {
    kestrun_tell_player(("The characters cannot be kept: " + problem).c_str());
  }
  auto frontend = fe::makeWebFrontend(font);
  // The game ends where a window would close; the page starts it again at
  // the title once its roster is safely stored.
  for (;;) {
    runSession(*frontend, font, place, std::move(keys), seed);
    keys.clear();
    seed.reset();
    kestrun_saves_settled();
  }
}
