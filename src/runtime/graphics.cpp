#include "runtime/graphics.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <new>

#include "runtime/errors.h"
#include "runtime/font.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::rt {

namespace {

constexpr std::array<uint32_t, 16> kGraphicsColours = {
    0x000000, 0x808080, 0x000080, 0x0000FF, 0x800000, 0xFF0000, 0x800080, 0xFF00FF,
    0x008000, 0x00FF00, 0x008080, 0x00FFFF, 0x808000, 0xFFFF00, 0xC0C0C0, 0xFFFFFF};

// A colour argument as RGB; numbers outside 0..15 are error 5.
uint32_t colourArgument(double colour, std::source_location where) {
  const int32_t number = toInt32(colour, where);
  if (number < 0 || number > 15) raise(err::IllegalArgument, where);
  return kGraphicsColours[number];
}

struct Point {
  int x;
  int y;
};

Point pointArgument(double x, double y, std::source_location where) {
  return {toInt16(x, where), toInt16(y, where)};
}

bool onPlane(int x, int y) {
  return x >= 0 && x < kPlaneWidth && y >= 0 && y < kPlaneHeight;
}

// The pixels a PAINT may fill when the fill colour is itself a border: a
// filled pixel is a border at once, so nothing else needs recording.
class FillBoundedRegion {
 public:
  FillBoundedRegion(const uint32_t* pixels, std::span<const uint32_t> borders)
      : pixels_(pixels), borders_(borders) {}
  bool fillable(size_t i) const {
    const uint32_t rgb = pixels_[i];
    if (rgb == borders_[0]) return false;
    for (size_t b = 1; b < borders_.size(); ++b) {
      if (rgb == borders_[b]) return false;
    }
    return true;
  }
  void markFilled(size_t) {}

 private:
  const uint32_t* pixels_;
  std::span<const uint32_t> borders_;
};

// Otherwise the pixels already filled are recorded, as pixels of the fill
// colour may still be fillable.
class RecordedRegion {
 public:
  RecordedRegion(const uint32_t* pixels, std::span<const uint32_t> borders)
      : bounds_(pixels, borders), filled_(static_cast<size_t>(kPlaneWidth) * kPlaneHeight, 0) {}
  bool fillable(size_t i) const { return !filled_[i] && bounds_.fillable(i); }
  void markFilled(size_t i) { filled_[i] = 1; }

 private:
  FillBoundedRegion bounds_;
  std::vector<uint8_t> filled_;
};

// Scan-line filling that remembers, for every run it fills, the run of the
// row it came from: only the parts of a new run that stick out beyond it are
// looked at again in that row, so each pixel is tested about twice.
template <typename Region>
class FloodFill {
 public:
  FloodFill(uint32_t* pixels, uint32_t fill, Region& region)
      : pixels_(pixels), fill_(fill), region_(region) {}

  void from(Point start) {
    push(start.y, start.x, start.x, 1);
    push(start.y + 1, start.x, start.x, -1);
    while (!pending_.empty()) {
      const Parent parent = pending_.back();
      pending_.pop_back();
      fillRow(parent);
    }
  }

 private:
  // Row y + dy is to be filled below or above the run left..right of row y.
  struct Parent {
    int y;
    int left;
    int right;
    int dy;
  };

  void push(int y, int left, int right, int dy) {
    if (y + dy >= 0 && y + dy < kPlaneHeight) pending_.push_back({y, left, right, dy});
  }
  size_t at(int x, int y) const { return static_cast<size_t>(y) * kPlaneWidth + x; }
  bool fillable(int x, int y) const { return region_.fillable(at(x, y)); }
  void paint(int x, int y) {
    region_.markFilled(at(x, y));
    pixels_[at(x, y)] = fill_;
  }

  void fillRow(const Parent& parent) {
    const int y = parent.y + parent.dy;
    int x = parent.left;
    while (x >= 0 && fillable(x, y)) paint(x--, y);
    if (x < parent.left) {
      const int left = x + 1;
      if (left < parent.left) push(y, left, parent.left - 1, -parent.dy);
      x = fillRunFrom(parent, y, parent.left + 1, left);
    } else {
      x = nextFillable(parent, y, x + 1);
    }
    while (x <= parent.right) x = fillRunFrom(parent, y, x, x);
  }

  // Fills the run that goes on from x, seeds the rows next to it and returns
  // where the next run within the parent starts.
  int fillRunFrom(const Parent& parent, int y, int x, int left) {
    while (x < kPlaneWidth && fillable(x, y)) paint(x++, y);
    push(y, left, x - 1, parent.dy);
    if (x > parent.right + 1) push(y, parent.right + 1, x - 1, -parent.dy);
    return nextFillable(parent, y, x + 1);
  }

  int nextFillable(const Parent& parent, int y, int x) const {
    while (x <= parent.right && !fillable(x, y)) ++x;
    return x;
  }

  uint32_t* pixels_;
  uint32_t fill_;
  Region& region_;
  std::vector<Parent> pending_;
};

}  // namespace

uint32_t graphicsColourRgb(uint8_t colour) {
  return colour < kGraphicsColours.size() ? kGraphicsColours[colour] : 0;
}

PlanePixels::PlanePixels() : data_(static_cast<uint32_t*>(std::calloc(kCount, sizeof(uint32_t)))) {
  if (!data_) throw std::bad_alloc();
}

PlanePixels::PlanePixels(const PlanePixels& other) : PlanePixels() {
  std::copy(other.begin(), other.end(), begin());
}

PlanePixels& PlanePixels::operator=(const PlanePixels& other) {
  if (this != &other) std::copy(other.begin(), other.end(), begin());
  return *this;
}

void PlanePixels::Release::operator()(uint32_t* pixels) const {
  std::free(pixels);
}

void GraphicsPlane::clear() {
  // Screens often clear a plane nothing has been drawn on since its last
  // clear; it is 1.1 MB, so such a clear is skipped.
  if (version_ == blankVersion_) return;
  std::fill(pixels_.begin(), pixels_.end(), 0);
  blankVersion_ = ++version_;
}

void GraphicsPlane::set(int x, int y, uint32_t rgb) {
  if (onPlane(x, y)) pixels_[y * kPlaneWidth + x] = rgb;
}

void GraphicsPlane::fillRectangle(int x1, int y1, int x2, int y2, uint32_t rgb) {
  const int left = std::max(std::min(x1, x2), 0);
  const int right = std::min(std::max(x1, x2), kPlaneWidth - 1);
  const int top = std::max(std::min(y1, y2), 0);
  const int bottom = std::min(std::max(y1, y2), kPlaneHeight - 1);
  if (left > right) return;
  for (int y = top; y <= bottom; ++y) {
    auto row = pixels_.begin() + y * kPlaneWidth;
    std::fill(row + left, row + right + 1, rgb);
  }
}

void GraphicsPlane::drawLine(int x1, int y1, int x2, int y2, uint32_t rgb) {
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int stepX = x1 < x2 ? 1 : -1;
  const int stepY = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  for (int x = x1, y = y1;;) {
    set(x, y, rgb);
    if (x == x2 && y == y2) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

void GraphicsPlane::LINE(double x1, double y1, double x2, double y2, double colour, BoxMode mode,
                         std::source_location where) {
  const Point from = pointArgument(x1, y1, where);
  const Point to = pointArgument(x2, y2, where);
  const uint32_t rgb = colourArgument(colour, where);
  // Screens blank their areas with black boxes; on a blank plane that would
  // only touch its pages.
  if (rgb == 0 && version_ == blankVersion_) return;
  switch (mode) {
    case BoxMode::Line:
      drawLine(from.x, from.y, to.x, to.y, rgb);
      break;
    case BoxMode::Outline:
      fillRectangle(from.x, from.y, to.x, from.y, rgb);
      fillRectangle(from.x, to.y, to.x, to.y, rgb);
      fillRectangle(from.x, from.y, from.x, to.y, rgb);
      fillRectangle(to.x, from.y, to.x, to.y, rgb);
      break;
    case BoxMode::Filled:
      fillRectangle(from.x, from.y, to.x, to.y, rgb);
      break;
  }
  ++version_;
}

void GraphicsPlane::PAINT(double x, double y, double fillColour,
                          std::span<const double> borderColours, std::source_location where) {
  const Point start = pointArgument(x, y, where);
  const uint32_t fill = colourArgument(fillColour, where);
  std::vector<uint32_t> borders;
  for (double border : borderColours) borders.push_back(colourArgument(border, where));
  // Without border colours the fill colour bounds the area, as in BASIC.
  if (borders.empty()) borders.push_back(fill);
  if (!onPlane(start.x, start.y)) return;

  const bool fillIsBorder = std::find(borders.begin(), borders.end(), fill) != borders.end();
  const size_t startIndex = static_cast<size_t>(start.y) * kPlaneWidth + start.x;
  auto fillFrom = [&](auto& region) {
    if (region.fillable(startIndex)) FloodFill(pixels_.data(), fill, region).from(start);
  };
  if (fillIsBorder) {
    FillBoundedRegion region(pixels_.data(), borders);
    fillFrom(region);
  } else {
    RecordedRegion region(pixels_.data(), borders);
    fillFrom(region);
  }
  ++version_;
}

void GraphicsPlane::PSET(double x, double y, double colour, std::source_location where) {
  const Point point = pointArgument(x, y, where);
  set(point.x, point.y, colourArgument(colour, where));
  ++version_;
}

void GraphicsPlane::drawText(double x, double y, std::string_view sjis, double colour,
                             const Font& font, std::source_location where) {
  const Point origin = pointArgument(x, y, where);
  const uint32_t rgb = colourArgument(colour, where);
  if (!font.loaded()) return;
  int penX = origin.x;
  for (size_t i = 0; i < sjis.size();) {
    const size_t length = charLength(sjis, i);
    uint16_t code = static_cast<uint8_t>(sjis[i]);
    if (length == 2) code = static_cast<uint16_t>(code << 8 | static_cast<uint8_t>(sjis[i + 1]));
    if (const Font::Glyph* glyph = font.glyph(code)) {
      drawGlyph(*glyph, penX, origin.y, rgb, {pixels_.data(), pixels_.size()}, kPlaneWidth,
                kPlaneHeight);
    }
    penX += length == 2 ? 16 : 8;
    i += length;
  }
  ++version_;
}

void GraphicsPlane::blitStretched(const std::vector<uint32_t>& image, int imageWidth,
                                  int imageHeight, double x, double y, double width, double height,
                                  std::source_location where) {
  const Point origin = pointArgument(x, y, where);
  const Point size = pointArgument(width, height, where);
  if (imageWidth <= 0 || imageHeight <= 0 || size.x <= 0 || size.y <= 0) return;
  if (image.size() < static_cast<size_t>(imageWidth) * imageHeight) return;
  const int firstX = std::max(origin.x, 0);
  const int endX = std::min(origin.x + size.x, kPlaneWidth);
  const int firstY = std::max(origin.y, 0);
  const int endY = std::min(origin.y + size.y, kPlaneHeight);
  for (int py = firstY; py < endY; ++py) {
    // Sample each target pixel's centre in the source.
    const int64_t sourceY = (2 * int64_t{py - origin.y} + 1) * imageHeight / (2 * int64_t{size.y});
    const uint32_t* sourceRow = image.data() + sourceY * imageWidth;
    for (int px = firstX; px < endX; ++px) {
      const int64_t sourceX = (2 * int64_t{px - origin.x} + 1) * imageWidth / (2 * int64_t{size.x});
      pixels_[py * kPlaneWidth + px] = sourceRow[sourceX] & 0xFFFFFF;
    }
  }
  ++version_;
}

}  // namespace kestrun::rt
