#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

struct PngWriter {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

Raster renderRaster(const FloorPlan& plan, std::string& problem) {
  static rt::Font font;
  if (!font.loaded() && !font.loadDefault()) {
    problem = "no Unifont glyphs found (" + rt::Font::defaultPaths().front() +
              "); install the Debian package \"unifont\"";
    return {};
  }
  const PictureSize size = pictureSize(plan);
  Raster raster{size.width, size.height,
                std::vector<uint32_t>(static_cast<size_t>(size.width) * size.height, 0)};
  RasterCanvas canvas(raster, font);
  drawPlan(plan, canvas);
  return raster;
}

std::string writePng(const std::string& path, const Raster& raster) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot write " + path + ": " + std::strerror(errno);
  PngWriter w;
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (w.png) w.info = png_create_info_struct(w.png);
  if (!w.png || !w.info) return "cannot write " + path + ": out of memory";
  std::vector<png_byte> row(static_cast<size_t>(raster.width) * 3);
  if (setjmp(png_jmpbuf(w.png))) return "cannot write " + path;
  png_init_io(w.png, file.get());
  png_set_IHDR(w.png, w.info, raster.width, raster.height, 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(w.png, w.info);
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      const uint32_t c = raster.pixels[static_cast<size_t>(y) * raster.width + x];
      row[3 * x] = static_cast<png_byte>(c >> 16);
      row[3 * x + 1] = static_cast<png_byte>(c >> 8);
      row[3 * x + 2] = static_cast<png_byte>(c);
    }
    png_write_row(w.png, row.data());
  }
  png_write_end(w.png, nullptr);
  if (std::fflush(file.get()) != 0) return "cannot write " + path + ": " + std::strerror(errno);
  return {};
}

}  // namespace kestrun::forge::plan
