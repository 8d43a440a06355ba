#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "floor_plan.h"

// The pictures of a floor plan: text for the terminal (UTF-8 box drawing),
// SVG and PNG. SVG and PNG are drawn by the same code on a canvas.
namespace kestrun::forge::plan {

std::string renderText(const FloorPlan& plan);

using Rgb = uint32_t;  // 0xRRGGBB

// What the plan drawer needs of a picture. Text is placed by its top-left
// corner on a grid of 8 x 16 pixels per half-width character (a full-width
// one takes two).
class Canvas {
 public:
  virtual ~Canvas() = default;
  // A horizontal or vertical line `width` pixels thick, centred on the points.
  virtual void line(int x1, int y1, int x2, int y2, Rgb colour, int width, bool dashed) = 0;
  virtual void box(int x, int y, int w, int h, Rgb colour) = 0;
  virtual void triangle(const int (&xs)[3], const int (&ys)[3], Rgb colour) = 0;
  virtual void text(int x, int y, const std::string& utf8, Rgb colour) = 0;
};

// The picture's size in pixels for a plan.
struct PictureSize {
  int width;
  int height;
};
PictureSize pictureSize(const FloorPlan& plan);
void drawPlan(const FloorPlan& plan, Canvas& canvas);

std::string renderSvg(const FloorPlan& plan);

// The composite picture as 0xRRGGBB pixels, row by row, drawn with the game's
// own glyphs.
struct Raster {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};
Raster renderRaster(const FloorPlan& plan);

// Writes a PNG file; returns what went wrong in a sentence, or nothing.
std::string writePng(const std::string& path, const Raster& raster);

// The width of a UTF-8 text in half-width columns, as the canvas counts them.
int textColumns(const std::string& utf8);

}  // namespace kestrun::forge::plan
