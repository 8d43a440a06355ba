#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <source_location>
#include <span>
#include <string_view>
#include <vector>

namespace kestrun::rt {

class Font;

inline constexpr int kPlaneWidth = 640;
inline constexpr int kPlaneHeight = 432;

// RGB (0xRRGGBB) of a graphics colour number 0..15 (its own table, not the
// text colours: 1 is grey, 13 yellow, 15 white).
uint32_t graphicsColourRgb(uint8_t colour);

// The plane's pixels, all black at first. They are taken already zeroed from
// the system, so that a session never touches the pages nothing is drawn on
// (a start pays for every page it touches).
class PlanePixels {
 public:
  static constexpr size_t kCount = static_cast<size_t>(kPlaneWidth) * kPlaneHeight;
  PlanePixels();
  PlanePixels(const PlanePixels& other);
  PlanePixels& operator=(const PlanePixels& other);
  PlanePixels(PlanePixels&&) noexcept = default;
  PlanePixels& operator=(PlanePixels&&) noexcept = default;
  ~PlanePixels() = default;

  uint32_t* data() { return data_.get(); }
  const uint32_t* data() const { return data_.get(); }
  uint32_t* begin() { return data(); }
  uint32_t* end() { return data() + kCount; }
  const uint32_t* begin() const { return data(); }
  const uint32_t* end() const { return data() + kCount; }
  size_t size() const { return kCount; }
  uint32_t& operator[](size_t i) { return data_[i]; }
  uint32_t operator[](size_t i) const { return data_[i]; }

 private:
  struct Release {
    void operator()(uint32_t* pixels) const;
  };
  std::unique_ptr<uint32_t[], Release> data_;
};

enum class BoxMode : uint8_t { Line = 0, Outline = 1, Filled = 2 };

// The 640 x 432 graphics plane beneath the text grid. Pixels are 0xRRGGBB.
// Drawing outside the plane is clipped; colours above 15 are error 5 and
// coordinates beyond the 16-bit device range error 6.
class GraphicsPlane {
 public:
  GraphicsPlane() = default;

  uint32_t pixel(int x, int y) const { return pixels_[y * kPlaneWidth + x]; }
  std::span<const uint32_t> pixels() const { return {pixels_.data(), pixels_.size()}; }
  // Writing through the span counts as a change of the plane.
  std::span<uint32_t> pixels() {
    ++version_;
    return {pixels_.data(), pixels_.size()};
  }

  void clear();
  // LINE (x1, y1)-(x2, y2), colour [, B | BF]: a line with both end points, a
  // box outline, or a filled box (edges included).
  void LINE(double x1, double y1, double x2, double y2, double colour, BoxMode mode = BoxMode::Line,
            std::source_location where = std::source_location::current());
  // PAINT (x, y), fill, borders: fills every pixel reachable from (x, y)
  // through pixels whose colour is none of the border colours.
  void PAINT(double x, double y, double fillColour, std::span<const double> borderColours,
             std::source_location where = std::source_location::current());
  // PSET (x, y), colour.
  void PSET(double x, double y, double colour,
            std::source_location where = std::source_location::current());
  // Graphics text: Shift-JIS text with its top-left corner at (x, y), drawn
  // with the font's glyphs in the colour; the background stays.
  void drawText(double x, double y, std::string_view sjis, double colour, const Font& font,
                std::source_location where = std::source_location::current());
  // Copies an RGB image stretched (nearest pixel) into the rectangle.
  void blitStretched(const std::vector<uint32_t>& image, int imageWidth, int imageHeight, double x,
                     double y, double width, double height,
                     std::source_location where = std::source_location::current());

  uint64_t version() const { return version_; }

 private:
  void set(int x, int y, uint32_t rgb);
  // Both take plane pixels, clip at the edges and include both corners / end points.
  void fillRectangle(int x1, int y1, int x2, int y2, uint32_t rgb);
  void drawLine(int x1, int y1, int x2, int y2, uint32_t rgb);
  PlanePixels pixels_;
  uint64_t version_ = 0;
  // The version at which the plane was last all black.
  uint64_t blankVersion_ = 0;
};

}  // namespace kestrun::rt
