#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/entry_input.h"
#include "frontends/frontends.h"
#include "frontends/pad/pad_panel.h"
#include "frontends/screen_change.h"
#include "frontends/screen_entries.h"
#include "frontends/sdl/sdl_keys.h"
#include "runtime/composite.h"
#include "runtime/graphics.h"
#include "runtime/keyboard.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

constexpr int kWidth = rt::kPlaneWidth;
constexpr int kHeight = rt::kPlaneHeight;

struct SdlDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

[[noreturn]] void cannotOpenWindow() {
  throw FrontendError(std::string("cannot open a window: ") + SDL_GetError() +
                      "; use --frontend tty or headless");
}

// SDL falls back to drivers that draw into memory when no display works; a
// window nobody can see is only wanted when asked for by name.
bool hasScreen() {
  const char* name = SDL_GetCurrentVideoDriver();
  const std::string_view driver = name != nullptr ? name : "";
  const bool invisible = driver == "offscreen" || driver == "dummy";
  return !invisible || std::getenv("SDL_VIDEODRIVER") != nullptr;
}

// Keeps SDL's video (and with it the event queue and the handlers that turn
// SIGINT and SIGTERM into a quit event) for the window's lifetime.
class VideoSubsystem {
 public:
  VideoSubsystem() {
    // A game waiting for a key should not keep the screen awake.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A 640 x 432 image that changes only between key presses needs no GPU;
    // the software renderer spares the memory of a graphics driver.
    // SDL_RENDER_DRIVER in the environment still picks another one.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) cannotOpenWindow();
    // Controllers are welcome but not needed: the window opens without them.
    controllers_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!hasScreen()) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      throw FrontendError(
          "cannot open a window: no display (neither DISPLAY nor WAYLAND_DISPLAY works); use "
          "--frontend tty or headless");
    }
  }
  ~VideoSubsystem() {
    if (keptUntilExit_) return;
    if (controllers_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  void keepUntilExit() { keptUntilExit_ = true; }
  VideoSubsystem(const VideoSubsystem&) = delete;
  VideoSubsystem& operator=(const VideoSubsystem&) = delete;

 private:
  bool keptUntilExit_ = false;
  bool controllers_ = false;
};

// How far a stick must lean to count as a direction, and how far back it
// must come before it counts again.
constexpr Sint16 kStickPressed = 20000;
constexpr Sint16 kStickReleased = 12000;

std::optional<EntryInput::Button> controllerButton(Uint8 button) {
  using B = EntryInput::Button;
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return B::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return B::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return B::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return B::Right;
    case SDL_CONTROLLER_BUTTON_A:
      return B::Press;
    case SDL_CONTROLLER_BUTTON_B:
      return B::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return B::Camp;
    case SDL_CONTROLLER_BUTTON_X:
      return B::Door;
    case SDL_CONTROLLER_BUTTON_Y:
      return B::Enter;
    default:
      return std::nullopt;
  }
}

// The largest whole factor at which the image fits the usable desktop.
int fittingScale() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / kWidth, usable.h / kHeight));
}

// Text from the window system, without control characters.
bool isPrintable(const char* utf8) {
  for (const char* p = utf8; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return *utf8 != '\0';
}

// A screenshot name not yet taken in `dir`.
std::string freeScreenshotPath(const std::filesystem::path& dir) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::string name = screenshotName(local);
  std::filesystem::path path = dir / name;
  for (int n = 2; std::filesystem::exists(path); ++n) {
    path = dir / (name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".png");
  }
  return path.string();
}

class SdlFrontend final : public rt::Frontend {
 public:
  SdlFrontend(const WindowOptions& options, const rt::Font& font)
      : font_(font),
        screenshotDir_(options.screenshotDir),
        frame_(static_cast<size_t>(kWidth) * kHeight, 0),
        padShown_(options.showPad) {
    openWindow(options);
    createRenderer();
    createTexture();
    createPadTexture();
    SDL_StartTextInput();
    render();
  }

  // The window goes with the process: destroying it here races the wake-up
  // messages SDL sends it over a second X connection, and a late one then
  // ends the process with an X error instead of its own exit status.
  ~SdlFrontend() override {
    SDL_HideWindow(window_.get());
    texture_.reset();
    padTexture_.reset();
    renderer_.reset();
    (void)window_.release();
    video_.keepUntilExit();
  }
  SdlFrontend(const SdlFrontend&) = delete;
  SdlFrontend& operator=(const SdlFrontend&) = delete;

  void present(const rt::TextScreen& text, const rt::GraphicsPlane& graphics) override {
    if (!presented_.changed(text, graphics)) return;
    rt::composite(text, graphics, &font_, frame_);
    entryInput_.screenChanged(findScreenEntries(text));
    SDL_UpdateTexture(texture_.get(), nullptr, frame_.data(), kWidth * 4);
    render();
  }

  void waitEvents(rt::InputSink& sink, int timeoutMs) override {
    const uint64_t start = SDL_GetTicks64();
    for (;;) {
      SDL_Event event;
      int got = 0;
      if (timeoutMs < 0) {
        got = SDL_WaitEvent(&event);
      } else {
        const uint64_t elapsed = SDL_GetTicks64() - start;
        if (elapsed >= static_cast<uint64_t>(timeoutMs)) return;
        got = SDL_WaitEventTimeout(&event, timeoutMs - static_cast<int>(elapsed));
      }
      if (got == 0) {
        if (timeoutMs < 0) return;  // the queue failed; waiting again would spin
        continue;
      }
      const bool delivered = handle(event, sink);
      if (drain(sink) || delivered) return;
    }
  }

  void pollEvents(rt::InputSink& sink) override { drain(sink); }

  void sleep(int milliseconds) override {
    if (milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
  }

  uint64_t milliseconds() override { return SDL_GetTicks64(); }
  bool interactive() const override { return true; }

 private:
  void openWindow(const WindowOptions& options) {
    const int scale = options.scale > 0 ? options.scale : fittingScale();
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_.reset(SDL_CreateWindow("KESTRUN", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kWidth * scale, kHeight * scale, flags));
    if (!window_) cannotOpenWindow();
    SDL_SetWindowMinimumSize(window_.get(), kWidth, kHeight);
  }

  void createRenderer() {
    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!renderer_) cannotOpenWindow();
    // Whole-pixel scaling with black bars keeps every pixel of the font sharp.
    SDL_RenderSetLogicalSize(renderer_.get(), kWidth, kHeight);
    SDL_RenderSetIntegerScale(renderer_.get(), SDL_TRUE);
  }

  void createPadTexture() {
    padTexture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                        SDL_TEXTUREACCESS_STREAMING, pad_.width(), pad_.height()));
    if (!padTexture_) cannotOpenWindow();
  }

  void createTexture() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight));
    if (!texture_) cannotOpenWindow();
    SDL_UpdateTexture(texture_.get(), nullptr, frame_.data(), kWidth * 4);
  }

  // The image alone, or with the pad beside, below or over it: the window is
  // scaled from a logical size that holds both.
  void placeImageAndPad() {
    if (!padShown_) {
      placement_ = {kWidth, kHeight, {0, 0, kWidth, kHeight}, {}, false};
    } else {
      int width = 0;
      int height = 0;
      SDL_GetRendererOutputSize(renderer_.get(), &width, &height);
      placement_ = pad::placePad(width, height, kWidth, kHeight, pad_.width(), pad_.height());
    }
    SDL_RenderSetLogicalSize(renderer_.get(), placement_.logicalWidth, placement_.logicalHeight);
  }

  void render() {
    placeImageAndPad();
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    const SDL_Rect image = sdlRect(placement_.image);
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &image);
    drawHighlight();
    if (padShown_) drawPad();
    SDL_RenderPresent(renderer_.get());
  }

  static SDL_Rect sdlRect(const pad::Rect& r) { return {r.x, r.y, r.width, r.height}; }

  void drawPad() {
    const std::vector<uint32_t> pixels = pad_.draw(font_, controllerOnPad_);
    SDL_UpdateTexture(padTexture_.get(), nullptr, pixels.data(), pad_.width() * 4);
    const SDL_Rect where = sdlRect(placement_.pad);
    SDL_RenderCopy(renderer_.get(), padTexture_.get(), nullptr, &where);
    placeInputMethod();
  }

  // The input method's window goes beside the name field while it is typed in.
  void placeInputMethod() {
    if (!pad_.fieldFocused()) return;
    const pad::Rect field = pad_.fieldRect();
    int x = 0;
    int y = 0;
    SDL_RenderLogicalToWindow(renderer_.get(), static_cast<float>(placement_.pad.x + field.x),
                              static_cast<float>(placement_.pad.y + field.y), &x, &y);
    SDL_Rect where{x, y, field.width, field.height};
    SDL_SetTextInputRect(&where);
  }

  // A frame around the entry the controller's A button would press.
  void drawHighlight() {
    const auto entry = entryInput_.highlighted();
    if (!entry || controllerOnPad_) return;
    const SDL_Rect frame{placement_.image.x + entry->column * rt::kCellWidth - 2,
                         placement_.image.y + entry->row * rt::kCellHeight,
                         entry->width * rt::kCellWidth + 4, rt::kCellHeight};
    SDL_SetRenderDrawColor(renderer_.get(), 0xFF, 0xFF, 0x00, 255);
    SDL_RenderDrawRect(renderer_.get(), &frame);
  }

  bool sendKey(std::optional<uint8_t> code, rt::InputSink& sink) {
    if (!code) return false;
    sink.keyCode(*code);
    return true;
  }

  // What a pad's place gives, sent as the keyboard would send it.
  bool sendPress(const pad::Press& press, rt::InputSink& sink) {
    if (!press.text.empty()) sink.text(press.text);
    if (press.key) sink.keyCode(*press.key);
    render();
    return !press.text.empty() || press.key.has_value();
  }

  void showPad(bool shown) {
    padShown_ = shown;
    controllerOnPad_ = controllerOnPad_ && shown;
    if (!shown) pad_.leaveField();
    render();
  }

  // Left button or a tap: the pad's button or the screen's entry under it;
  // right button: Escape. A double click shows or hides the pad; so does
  // the first touch of a touch screen.
  bool handleClick(const SDL_MouseButtonEvent& click, rt::InputSink& sink) {
    if (click.button == SDL_BUTTON_RIGHT) return sendKey(rt::key::Escape, sink);
    if (click.button == SDL_BUTTON_MIDDLE) return sendKey(rt::key::Enter, sink);
    if (click.button != SDL_BUTTON_LEFT) return false;
    if (click.which == SDL_TOUCH_MOUSEID && !touched_) {
      touched_ = true;
      if (!padShown_) showPad(true);
    }
    const pad::Rect& padRect = placement_.pad;
    if (padShown_ && padRect.contains(click.x, click.y)) {
      const auto place = pad_.placeAt(click.x - padRect.x, click.y - padRect.y);
      return place && sendPress(pad_.press(*place), sink);
    }
    if (pad_.fieldFocused()) {
      pad_.leaveField();
      render();
    }
    const pad::Rect& image = placement_.image;
    if (!image.contains(click.x, click.y)) return false;
    if (click.clicks == 2) {
      showPad(!padShown_);
      return false;
    }
    return sendKey(entryInput_.click((click.x - image.x) / rt::kCellWidth,
                                     (click.y - image.y) / rt::kCellHeight),
                   sink);
  }

  // While the controller is on the pad, the d-pad moves over its buttons and
  // A presses them; Back takes the controller to the pad and back.
  bool handlePadButton(Uint8 button, rt::InputSink& sink) {
    switch (button) {
      case SDL_CONTROLLER_BUTTON_DPAD_UP:
        pad_.moveHighlight(0, -1);
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        pad_.moveHighlight(0, 1);
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        pad_.moveHighlight(-1, 0);
        break;
      case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        pad_.moveHighlight(1, 0);
        break;
      case SDL_CONTROLLER_BUTTON_A:
        return sendPress(pad_.press(pad_.highlighted()), sink);
      default:
        return false;
    }
    render();
    return false;
  }

  bool handleButton(Uint8 button, rt::InputSink& sink) {
    if (button == SDL_CONTROLLER_BUTTON_BACK) {
      controllerOnPad_ = !controllerOnPad_;
      showPad(controllerOnPad_);
      return false;
    }
    if (controllerOnPad_ &&
        (button == SDL_CONTROLLER_BUTTON_A ||
         (button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT))) {
      return handlePadButton(button, sink);
    }
    const auto pressed = controllerButton(button);
    if (!pressed) return false;
    const auto code = entryInput_.button(*pressed);
    render();  // the highlight moved, or appeared
    return sendKey(code, sink);
  }

  // A stick leaning far enough is a d-pad press, once until it comes back.
  bool handleStick(const SDL_ControllerAxisEvent& motion, rt::InputSink& sink) {
    const bool across = motion.axis == SDL_CONTROLLER_AXIS_LEFTX;
    if (!across && motion.axis != SDL_CONTROLLER_AXIS_LEFTY) return false;
    int& leaning = across ? stickX_ : stickY_;
    if (std::abs(motion.value) < kStickReleased) leaning = 0;
    if (leaning != 0 || std::abs(motion.value) < kStickPressed) return false;
    leaning = motion.value > 0 ? 1 : -1;
    if (across) {
      return handleButton(
          leaning > 0 ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT : SDL_CONTROLLER_BUTTON_DPAD_LEFT, sink);
    }
    return handleButton(
        leaning > 0 ? SDL_CONTROLLER_BUTTON_DPAD_DOWN : SDL_CONTROLLER_BUTTON_DPAD_UP, sink);
  }

  // Controllers plugged in before or while the game runs.
  void openController(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) {
      controllers_.push_back(controller);
    }
  }

  bool drain(rt::InputSink& sink) {
    bool delivered = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) delivered = handle(event, sink) || delivered;
    return delivered;
  }

  // True when the event reached the sink.
  bool handle(const SDL_Event& event, rt::InputSink& sink) {
    switch (event.type) {
      case SDL_QUIT:
        sink.closeRequested();
        return true;
      case SDL_KEYDOWN:
        return handleKey(event.key, sink);
      case SDL_MOUSEBUTTONDOWN:
        return handleClick(event.button, sink);
      case SDL_CONTROLLERBUTTONDOWN:
        return handleButton(event.cbutton.button, sink);
      case SDL_CONTROLLERAXISMOTION:
        return handleStick(event.caxis, sink);
      case SDL_CONTROLLERDEVICEADDED:
        openController(event.cdevice.which);
        return false;
      case SDL_TEXTINPUT:
        if (!isPrintable(event.text.text)) return false;
        if (pad_.fieldFocused()) {
          pad_.type(event.text.text);
          pad_.compose("");
          render();
          return false;
        }
        sink.text(event.text.text);
        return true;
      case SDL_TEXTEDITING:
        if (!pad_.fieldFocused()) return false;
        pad_.compose(event.edit.text);
        render();
        return false;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          render();
        }
        return false;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        createTexture();
        createPadTexture();
        render();
        return false;
      default:
        return false;
    }
  }

  bool handleKey(const SDL_KeyboardEvent& key, rt::InputSink& sink) {
    const SDL_Keycode sym = key.keysym.sym;
    const uint16_t modifiers = key.keysym.mod;
    if (isFullscreenToggle(sym, modifiers)) {
      if (key.repeat == 0) toggleFullscreen();
      return false;
    }
    if (sym == SDLK_F12) {
      if (key.repeat == 0) saveScreenshot();
      return false;
    }
    if (pad_.fieldFocused()) return typeInField(sym, sink);
    const auto code = consoleKeyCode(sym, modifiers);
    if (!code) return false;
    sink.keyCode(*code);
    return true;
  }

  // Keys while the pad's name field has the focus edit the name; Enter sends
  // it, Escape leaves the field.
  bool typeInField(SDL_Keycode sym, rt::InputSink& sink) {
    if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) return sendPress(pad_.submitField(), sink);
    if (sym == SDLK_BACKSPACE) pad_.erase();
    if (sym == SDLK_ESCAPE) pad_.leaveField();
    render();
    return false;
  }

  void toggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(window_.get(), full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    render();
  }

  void saveScreenshot() {
    const std::string path = freeScreenshotPath(screenshotDir_);
    if (!savePng(path, frame_.data(), kWidth, kHeight)) {
      std::fprintf(stderr, "kestrun: cannot save %s: %s\n", path.c_str(), SDL_GetError());
    }
  }

  const rt::Font& font_;
  std::filesystem::path screenshotDir_;
  std::vector<uint32_t> frame_;
  VideoSubsystem video_;
  std::unique_ptr<SDL_Window, SdlDeleter> window_;
  std::unique_ptr<SDL_Renderer, SdlDeleter> renderer_;
  std::unique_ptr<SDL_Texture, SdlDeleter> texture_;
  std::unique_ptr<SDL_Texture, SdlDeleter> padTexture_;
  ScreenChange presented_;
  EntryInput entryInput_;
  pad::Panel pad_;
  pad::Placement placement_{kWidth, kHeight, {0, 0, kWidth, kHeight}, {}, false};
  bool padShown_;
  bool controllerOnPad_ = false;
  bool touched_ = false;
  std::vector<SDL_GameController*> controllers_;
  int stickX_ = 0;
  int stickY_ = 0;
};

}  // namespace

}  // namespace kestrun::fe

// The entry of the window front end's module (sdl_module.cpp loads it).
extern "C" kestrun::rt::Frontend* kestrun_make_sdl_frontend(
    const kestrun::fe::WindowOptions& options, const kestrun::rt::Font& font) {
  return new kestrun::fe::SdlFrontend(options, font);
}
