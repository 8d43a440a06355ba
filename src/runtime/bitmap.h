#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrun::rt {

// A decoded picture: width x height pixels, 0xRRGGBB, row by row from the top.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Checks a Windows bitmap's headers against the file's size before it is
// decoded; false for anything truncated, inconsistent, of a kind the game
// does not read, or larger than 4096 x 4096 pixels.
bool isSoundBitmap(std::span<const uint8_t> bytes);

// Decodes a Windows bitmap file: 1, 4 and 8 bits with a colour table
// (uncompressed, or run-length coded at 4 and 8 bits), 16 and 32 bits with
// the usual channel masks, 24 bits; rows bottom-up or top-down; the core,
// info, v2, v3, v4 and v5 headers. Nullopt when the file is not sound or a
// pixel names a colour its table does not hold.
std::optional<Bitmap> decodeBitmap(std::span<const uint8_t> bytes);

}  // namespace kestrun::rt
