// Plays the game in a window (scale 1) from SDL events instead of keys: at
// every wait for a key or a line the next event of the command line goes
// into SDL's own event queue, where the window front end takes it as it
// would take the player's. After the last event, the close box. Each wait's
// screen goes to the trace, as --trace writes it; the last screen's picture
// to TRACE.png.
//
//   kestrun_sdlplay DIR SEED TRACE EVENT...
//   EVENT: click:COLUMN,ROW (left button on that cell)  right  middle
//          doubleclick:COLUMN,ROW (the second click of a double click)
//          pad:LABEL (a click on the on-screen pad's button, or on its field)
//          button:a|b|x|y|start|back|up|down|left|right  stick:up|down|left|right
//          text:TEXT (typed text)
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "app/roster_place.h"
#include "frontends/frontends.h"
#include "frontends/pad/pad_panel.h"
#include "game/state/game.h"
#include "game/town/main_line.h"
#include "runtime/composite.h"
#include "runtime/console.h"
#include "runtime/errors.h"
#include "runtime/font.h"
#include "runtime/graphics.h"
#include "runtime/screendump.h"
#include "runtime/textscreen.h"

namespace {

using namespace kestrun;

// The game's window: the first one SDL made.
Uint32 gameWindowId() {
  for (Uint32 id = 1; id < 16; ++id) {
    if (SDL_GetWindowFromID(id) != nullptr) return id;
  }
  return 0;
}

bool pushMouse(int x, int y, Uint8 button, Uint8 clicks = 1) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = button;
  event.button.state = SDL_PRESSED;
  event.button.clicks = clicks;
  event.button.x = x;
  event.button.y = y;
  event.button.windowID = gameWindowId();
  return SDL_PushEvent(&event) == 1;
}

bool pushButton(const std::string& name) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERBUTTONDOWN;
  event.cbutton.state = SDL_PRESSED;
  event.cbutton.button =
      static_cast<Uint8>(SDL_GameControllerGetButtonFromString(name == "up"      ? "dpup"
                                                               : name == "down"  ? "dpdown"
                                                               : name == "left"  ? "dpleft"
                                                               : name == "right" ? "dpright"
                                                                                 : name.c_str()));
  if (event.cbutton.button == static_cast<Uint8>(SDL_CONTROLLER_BUTTON_INVALID)) return false;
  return SDL_PushEvent(&event) == 1;
}

bool pushStick(const std::string& way) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERAXISMOTION;
  const bool across = way == "left" || way == "right";
  event.caxis.axis = across ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY;
  event.caxis.value = (way == "left" || way == "up") ? -32000 : 32000;
  SDL_Event back = event;
  back.caxis.value = 0;
  return SDL_PushEvent(&event) == 1 && SDL_PushEvent(&back) == 1;
}

// A click on the pad's place of that label ("field" for the name field), as
// the window of scale 1 shows it: over the image's lower right corner.
bool pushPadClick(std::string_view label) {
  const fe::pad::Panel panel;
  const fe::pad::Layout& layout = fe::pad::layout();
  size_t place = layout.buttons.size();
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    if (layout.buttons[i].label == label) place = i;
  }
  if (label == layout.field.submit.label) place = layout.buttons.size() + 1;
  if (place == layout.buttons.size() && label != "field") return false;
  const fe::pad::Placement at =
      fe::pad::placePad(rt::kPlaneWidth, rt::kPlaneHeight, rt::kPlaneWidth, rt::kPlaneHeight,
                        panel.width(), panel.height());
  const fe::pad::Rect r = panel.placeRect(place);
  return pushMouse(at.pad.x + r.x + r.width / 2, at.pad.y + r.y + r.height / 2, SDL_BUTTON_LEFT);
}

bool pushEvent(const std::string& text) {
  int column = 0;
  int row = 0;
  if (std::sscanf(text.c_str(), "click:%d,%d", &column, &row) == 2) {
    return pushMouse(column * rt::kCellWidth + 4, row * rt::kCellHeight + 9, SDL_BUTTON_LEFT);
  }
  if (std::sscanf(text.c_str(), "doubleclick:%d,%d", &column, &row) == 2) {
    return pushMouse(column * rt::kCellWidth + 4, row * rt::kCellHeight + 9, SDL_BUTTON_LEFT, 2);
  }
  if (text.rfind("pad:", 0) == 0) return pushPadClick(std::string_view(text).substr(4));
  if (text.rfind("text:", 0) == 0) {
    // The title's scenario name: typed, as no entry offers it.
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text.c_str() + 5, sizeof event.text.text - 1);
    return SDL_PushEvent(&event) == 1;
  }
  if (text == "right") return pushMouse(320, 216, SDL_BUTTON_RIGHT);
  if (text == "middle") return pushMouse(320, 216, SDL_BUTTON_MIDDLE);
  if (text.rfind("button:", 0) == 0) return pushButton(text.substr(7));
  if (text.rfind("stick:", 0) == 0) return pushStick(text.substr(6));
  return false;
}

// Counts what reaches the console, so that an event that only moves the
// highlight lets the next one follow.
class CountingSink final : public rt::InputSink {
 public:
  explicit CountingSink(rt::InputSink& inner) : inner_(inner) {}
  void keyCode(uint8_t code) override {
    ++count;
    inner_.keyCode(code);
  }
  void text(std::string_view utf8) override {
    ++count;
    inner_.text(utf8);
  }
  void closeRequested() override {
    ++count;
    inner_.closeRequested();
  }
  int count = 0;

 private:
  rt::InputSink& inner_;
};

class EventPlayer final : public rt::Frontend {
 public:
  EventPlayer(rt::Frontend& window, std::deque<std::string> events)
      : window_(window), events_(std::move(events)) {}

  void present(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) override {
    window_.present(text, graphics);
  }
  // Every wait takes the next event at once, as the headless front end hands
  // out a script's keys: a timed wait (a message pause) one event, a wait for
  // a key as many as it takes until one reaches the game.
  void waitEvents(rt::InputSink& sink, int timeoutMs) override {
    if (timeoutMs >= 0) {
      pushNext();
      window_.waitEvents(sink, timeoutMs);
      return;
    }
    CountingSink counting(sink);
    while (counting.count == 0) {
      pushNext();
      window_.waitEvents(counting, kStepMs);
    }
  }
  void pollEvents(rt::InputSink& sink) override { window_.pollEvents(sink); }
  void sleep(int milliseconds) override { window_.sleep(milliseconds); }
  uint64_t milliseconds() override { return window_.milliseconds(); }
  bool interactive() const override { return true; }

 private:
  // The next event, or the close box after the last one.
  void pushNext() {
    if (events_.empty()) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
      return;
    }
    if (!pushEvent(events_.front())) {
      std::fprintf(stderr, "sdlplay: bad event %s\n", events_.front().c_str());
      std::exit(2);
    }
    events_.pop_front();
  }

  static constexpr int kStepMs = 100;
  rt::Frontend& window_;
  std::deque<std::string> events_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: kestrun_sdlplay DIR SEED TRACE EVENT...\n");
    return 2;
  }
  std::ofstream trace(argv[3], std::ios::binary);
  if (chdir(argv[1]) != 0 || !trace) return 2;
  const rt::Font& font = rt::Font::builtIn();
  auto window = fe::makeSdlFrontend({1, false, "."}, font);
  EventPlayer player(*window, std::deque<std::string>(argv + 4, argv + argc));
  rt::Console con(player, font);
  app::placeRosters(con.files(), app::findRosterPlace(".", app::currentUserFolders()));
  int frames = 0;
  con.setWaitHook([&](rt::WaitKind kind) {
    const char* heading = kind == rt::WaitKind::Key    ? " key\n"
                          : kind == rt::WaitKind::Line ? " line\n"
                                                       : " pause\n";
    trace << "=== " << ++frames << heading << rt::screenDump(con.text());
    trace.flush();
  });
  game::Game g(con);
  g.seedOverride = std::atoi(argv[2]);
  try {
    game::runMainLine(g);
  } catch (const rt::ProgramEnd&) {
  }
  con.files().closeAll();
  // The last screen's picture beside the trace, as --dump-png writes it.
  std::vector<uint32_t> picture(static_cast<size_t>(rt::kPlaneWidth) * rt::kPlaneHeight);
  rt::composite(con.text(), con.graphics(), &font, picture);
  fe::savePng(std::string(argv[3]) + ".png", picture.data(), rt::kPlaneWidth, rt::kPlaneHeight);
  return 0;
}
