#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "frontends/frontends.h"
#include "plan_pictures.h"
#include "runtime/font.h"
#include "runtime/sjis.h"

namespace kestrun::forge::plan {

namespace {

constexpr int kDash = 4, kGap = 3;

// Draws into memory with the game's own glyphs.
class RasterCanvas : public Canvas {
 public:
  RasterCanvas(Raster& raster, const rt::Font& font) : r_(raster), font_(font) {}

  void line(int x1, int y1, int x2, int y2, Rgb colour, int width, bool dashed) override {
    const bool horizontal = y1 == y2;
    const int from = horizontal ? std::min(x1, x2) : std::min(y1, y2);
    const int to = horizontal ? std::max(x1, x2) : std::max(y1, y2);
    const int across = (horizontal ? y1 : x1) - width / 2;
    for (int at = from; at <= to; ++at) {
      if (dashed && (at - from) % (kDash + kGap) >= kDash) continue;
      for (int k = 0; k < width; ++k) {
        if (horizontal) {
          put(at, across + k, colour);
        } else {
          put(across + k, at, colour);
        }
      }
    }
  }

  void box(int x, int y, int w, int h, Rgb colour) override {
    for (int py = y; py < y + h; ++py) {
      for (int px = x; px < x + w; ++px) put(px, py, colour);
    }
  }

  // Every pixel whose centre lies inside the three edges (either winding).
  void triangle(const int (&xs)[3], const int (&ys)[3], Rgb colour) override {
    const int left = *std::min_element(xs, xs + 3), right = *std::max_element(xs, xs + 3);
    const int top = *std::min_element(ys, ys + 3), bottom = *std::max_element(ys, ys + 3);
    auto side = [&](int i, double px, double py) {
      const int j = (i + 1) % 3;
      return (xs[j] - xs[i]) * (py - ys[i]) - (ys[j] - ys[i]) * (px - xs[i]);
    };
    for (int py = top; py <= bottom; ++py) {
      for (int px = left; px <= right; ++px) {
        const double a = side(0, px + 0.5, py + 0.5), b = side(1, px + 0.5, py + 0.5),
                     c = side(2, px + 0.5, py + 0.5);
        if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0)) put(px, py, colour);
      }
    }
  }

  void text(int x, int y, const std::string& utf8, Rgb colour) override {
    const std::string sjis = rt::toShiftJis(utf8);
    for (size_t i = 0; i < sjis.size();) {
      const size_t length = rt::charLength(sjis, i);
      uint16_t code = static_cast<uint8_t>(sjis[i]);
      if (length == 2) code = static_cast<uint16_t>(code << 8 | static_cast<uint8_t>(sjis[i + 1]));
      if (const rt::Font::Glyph* glyph = font_.glyph(code)) {
        rt::drawGlyph(*glyph, x, y, colour, r_.pixels, r_.width, r_.height);
      }
      x += 8 * static_cast<int>(length);
      i += length;
    }
  }

 private:
  void put(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < r_.width && y < r_.height)
      r_.pixels[static_cast<size_t>(y) * r_.width + x] = colour;
  }

  Raster& r_;
  const rt::Font& font_;
};

}  // namespace

Raster renderRaster(const FloorPlan& plan) {
  const PictureSize size = pictureSize(plan);
  Raster raster{size.width, size.height,
                std::vector<uint32_t>(static_cast<size_t>(size.width) * size.height, 0)};
  RasterCanvas canvas(raster, rt::Font::builtIn());
  drawPlan(plan, canvas);
  return raster;
}

std::string writePng(const std::string& path, const Raster& raster) {
  errno = 0;
  if (fe::savePng(path, raster.pixels.data(), raster.width, raster.height)) return {};
  return "cannot write " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
}

}  // namespace kestrun::forge::plan
