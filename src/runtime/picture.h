#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <vector>

namespace kestrun::rt {

class GraphicsPlane;

// The picture object: created once, then loaded with a Windows bitmap, shown
// stretched on the graphics plane, and freed again after each use.
class Picture {
 public:
  // Creates the object; creating it twice is error 1001.
  void create(std::source_location where = std::source_location::current());
  // Loads a bitmap file, replacing what the object held. Not created: 1003;
  // a name over 128 characters: 5; a missing file: 63; a file that is not a
  // readable bitmap (truncated, lying about its size, over 4096 x 4096
  // pixels): 75.
  void load(const std::string& fileName,
            std::source_location where = std::source_location::current());
  // Draws the loaded picture stretched to width x height at (x, y); nothing
  // loaded draws nothing. Not created: 1003.
  void show(GraphicsPlane& plane, double x, double y, double width, double height,
            std::source_location where = std::source_location::current());
  // Releases the loaded content; the object stays and can be loaded again.
  void free(std::source_location where = std::source_location::current());

  bool created() const { return created_; }
  bool loaded() const { return width_ > 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }

 private:
  bool created_ = false;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;  // 0xRRGGBB, row by row from the top
};

}  // namespace kestrun::rt
