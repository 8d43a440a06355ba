#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "frontends/frontends.h"
#include "frontends/sdl/sdl_keys.h"
#include "runtime/keyboard.h"

namespace kestrun::fe {
namespace {

TEST(SdlKeys, SpecialKeysBecomeConsoleCodes) {
  using namespace rt::key;
  const auto code = [](SDL_Keycode key, uint16_t mod = KMOD_NONE) {
    return consoleKeyCode(key, mod);
  };
  EXPECT_EQ(code(SDLK_RIGHT), Right);
  EXPECT_EQ(code(SDLK_LEFT), Left);
  EXPECT_EQ(code(SDLK_UP), Up);
  EXPECT_EQ(code(SDLK_DOWN), Down);
  EXPECT_EQ(code(SDLK_RETURN), Enter);
  EXPECT_EQ(code(SDLK_KP_ENTER), Enter);
  EXPECT_EQ(code(SDLK_ESCAPE), Escape);
  EXPECT_EQ(code(SDLK_HOME), Home);
  EXPECT_EQ(code(SDLK_HOME, KMOD_LSHIFT), ShiftHome);
  EXPECT_EQ(code(SDLK_CLEAR), ShiftHome);
  EXPECT_EQ(code(SDLK_INSERT), Insert);
  EXPECT_EQ(code(SDLK_DELETE), Delete);
  EXPECT_EQ(code(SDLK_BACKSPACE), Backspace);
  // Characters come as text; Ctrl+C and function keys give no code at all.
  EXPECT_EQ(code(SDLK_a), std::nullopt);
  EXPECT_EQ(code(SDLK_c, KMOD_LCTRL), std::nullopt);
  EXPECT_EQ(code(SDLK_F1), std::nullopt);
  EXPECT_EQ(code(SDLK_END), std::nullopt);
}

TEST(SdlKeys, KeypadEditsOnlyWithoutNumLock) {
  using namespace rt::key;
  EXPECT_EQ(consoleKeyCode(SDLK_KP_8, KMOD_NONE), Up);
  EXPECT_EQ(consoleKeyCode(SDLK_KP_6, KMOD_NONE), Right);
  EXPECT_EQ(consoleKeyCode(SDLK_KP_7, KMOD_NONE), Home);
  EXPECT_EQ(consoleKeyCode(SDLK_KP_PERIOD, KMOD_NONE), Delete);
  // With Num Lock the digits arrive as text.
  EXPECT_EQ(consoleKeyCode(SDLK_KP_8, KMOD_NUM), std::nullopt);
  EXPECT_EQ(consoleKeyCode(SDLK_KP_ENTER, KMOD_NUM), Enter);
}

TEST(SdlKeys, AltEnterTogglesFullScreen) {
  EXPECT_TRUE(isFullscreenToggle(SDLK_RETURN, KMOD_LALT));
  EXPECT_TRUE(isFullscreenToggle(SDLK_KP_ENTER, KMOD_RALT | KMOD_NUM));
  EXPECT_FALSE(isFullscreenToggle(SDLK_RETURN, KMOD_NONE));
  EXPECT_FALSE(isFullscreenToggle(SDLK_RETURN, KMOD_LCTRL));
  EXPECT_FALSE(isFullscreenToggle(SDLK_a, KMOD_LALT));
}

TEST(Screenshot, NamedByTimeAndSavedPixelForPixel) {
  std::tm time{};
  time.tm_year = 2024 - 1900;
  time.tm_mon = 2;
  time.tm_mday = 5;
  time.tm_hour = 7;
  time.tm_min = 8;
  time.tm_sec = 9;
  EXPECT_EQ(screenshotName(time), "kestrun-20240305-070809.png");

  const int width = 640;
  const int height = 432;
  std::vector<uint32_t> pixels(width * height, 0);
  pixels[0] = 0xFF0000;
  pixels[1] = 0x00FF00;
  pixels[width] = 0x0000FF;
  pixels[width * height - 1] = 0x123456;
  const auto path = std::filesystem::temp_directory_path() / "kestrun-screenshot-test.png";
  ASSERT_TRUE(savePng(path.string(), pixels.data(), width, height));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.string().c_str())) << image.message;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
  EXPECT_EQ(image.width, static_cast<uint32_t>(width));
  EXPECT_EQ(image.height, static_cast<uint32_t>(height));
  const auto at = [&rgb, width](int x, int y) {
    const uint8_t* p = rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
  };
  EXPECT_EQ(at(0, 0), 0xFF0000u);
  EXPECT_EQ(at(1, 0), 0x00FF00u);
  EXPECT_EQ(at(0, 1), 0x0000FFu);
  EXPECT_EQ(at(width - 1, height - 1), 0x123456u);
  EXPECT_EQ(at(5, 5), 0u);
  std::filesystem::remove(path);
  EXPECT_FALSE(savePng("/nonexistent-directory/x.png", pixels.data(), width, height));
}

}  // namespace
}  // namespace kestrun::fe
