#include "runtime/picture.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>

#include "runtime/errors.h"
#include "runtime/file_names.h"
#include "runtime/graphics.h"

namespace kestrun::rt {

namespace {

constexpr size_t kMaxFileNameLength = 128;
constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kMaxSide = 16384;
// Run-length data can describe a huge picture in a few bytes; decoding one
// would take gigabytes, so pictures are limited to what a screen can use.
constexpr int64_t kMaxPixels = int64_t{4096} * 4096;

constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
constexpr uint32_t kBitFields = 3;

uint32_t littleEndian(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | bytes[at + i];
  return value;
}

// What the headers say, in the terms the size checks need.
struct BitmapLayout {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top-down
  uint32_t bitCount = 0;
  uint32_t compression = kUncompressed;
  uint32_t imageSize = 0;   // 0 is allowed for uncompressed data
  uint64_t paletteEnd = 0;  // offset just past the colour table
  uint64_t pixelOffset = 0;
};

std::optional<BitmapLayout> readCoreHeader(const std::vector<uint8_t>& bytes) {
  constexpr size_t at = kFileHeaderSize;
  BitmapLayout layout;
  layout.width = littleEndian(bytes, at + 4, 2);
  layout.height = littleEndian(bytes, at + 6, 2);
  if (littleEndian(bytes, at + 8, 2) != 1) return std::nullopt;
  layout.bitCount = littleEndian(bytes, at + 10, 2);
  if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 &&
      layout.bitCount != 24) {
    return std::nullopt;
  }
  const uint64_t colours = layout.bitCount <= 8 ? uint64_t{1} << layout.bitCount : 0;
  layout.paletteEnd = at + 12 + colours * 3;
  return layout;
}

bool compressionFits(uint32_t compression, uint32_t bitCount, int64_t height) {
  switch (compression) {
    case kUncompressed:
      return true;
    case kRunLength8:
      return bitCount == 8 && height > 0;
    case kRunLength4:
      return bitCount == 4 && height > 0;
    case kBitFields:
      return bitCount == 16 || bitCount == 32;
    default:
      return false;
  }
}

std::optional<BitmapLayout> readInfoHeader(const std::vector<uint8_t>& bytes, uint32_t headerSize) {
  constexpr size_t at = kFileHeaderSize;
  BitmapLayout layout;
  layout.width = static_cast<int32_t>(littleEndian(bytes, at + 4, 4));
  layout.height = static_cast<int32_t>(littleEndian(bytes, at + 8, 4));
  if (littleEndian(bytes, at + 12, 2) != 1) return std::nullopt;
  layout.bitCount = littleEndian(bytes, at + 14, 2);
  layout.compression = littleEndian(bytes, at + 16, 4);
  layout.imageSize = littleEndian(bytes, at + 20, 4);
  const uint32_t coloursUsed = littleEndian(bytes, at + 32, 4);
  const uint32_t b = layout.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return std::nullopt;
  if (!compressionFits(layout.compression, b, layout.height)) return std::nullopt;
  const uint64_t paletteLimit = b <= 8 ? uint64_t{1} << b : 256;
  if (coloursUsed > paletteLimit) return std::nullopt;
  const uint64_t colours = coloursUsed != 0 ? coloursUsed : (b <= 8 ? paletteLimit : 0);
  // The three channel masks follow a plain info header; larger headers hold them.
  const uint64_t masks = layout.compression == kBitFields && headerSize == 40 ? 12 : 0;
  layout.paletteEnd = at + headerSize + masks + colours * 4;
  return layout;
}

std::optional<BitmapLayout> readHeaders(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kFileHeaderSize + 12 || bytes[0] != 'B' || bytes[1] != 'M') {
    return std::nullopt;
  }
  const uint32_t headerSize = littleEndian(bytes, kFileHeaderSize, 4);
  if (bytes.size() < kFileHeaderSize + headerSize) return std::nullopt;
  std::optional<BitmapLayout> layout;
  switch (headerSize) {
    case 12:
      layout = readCoreHeader(bytes);
      break;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
      layout = readInfoHeader(bytes, headerSize);
      break;
    default:
      return std::nullopt;
  }
  if (layout) layout->pixelOffset = littleEndian(bytes, 10, 4);
  return layout;
}

// Bytes the pixel data needs: exact for uncompressed rows, the declared size
// for run-length data (at least one byte).
uint64_t pixelDataSize(const BitmapLayout& layout) {
  if (layout.compression == kRunLength8 || layout.compression == kRunLength4) {
    return layout.imageSize != 0 ? layout.imageSize : 1;
  }
  const uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  return rowBytes * static_cast<uint64_t>(std::abs(layout.height));
}

// The whole file, its name's letter case ignored when no file has the exact
// name; a missing one is error 63, one that cannot be read 75.
std::optional<std::vector<uint8_t>> readFile(const std::string& fileName, int& error) {
  std::FILE* file = std::fopen(withFoundCase(fileName).c_str(), "rb");
  if (!file) {
    error = errno == ENOENT || errno == ENOTDIR ? err::FileNotFound : err::AccessDenied;
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  struct stat status {};
  bool readable = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
  if (readable) {
    bytes.resize(static_cast<size_t>(status.st_size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    readable = !std::ferror(file);
  }
  std::fclose(file);
  if (!readable) {
    error = err::AccessDenied;
    return std::nullopt;
  }
  return bytes;
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The bitmap decoded to 0xRRGGBB pixels, row by row from the top.
SurfacePtr decodeBitmap(const std::vector<uint8_t>& bytes) {
  if (bytes.size() > INT_MAX) return nullptr;
  SurfacePtr decoded(
      SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1));
  if (!decoded) return nullptr;
  return SurfacePtr(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB888, 0));
}

std::vector<uint32_t> pixelsOf(const SDL_Surface& surface) {
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(surface.w) * surface.h);
  for (int y = 0; y < surface.h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(
        static_cast<const uint8_t*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch);
    for (int x = 0; x < surface.w; ++x) pixels.push_back(row[x] & 0xFFFFFF);
  }
  return pixels;
}

}  // namespace

bool isSoundBitmap(const std::vector<uint8_t>& bytes) {
  const std::optional<BitmapLayout> layout = readHeaders(bytes);
  if (!layout) return false;
  const int64_t height = std::abs(layout->height);
  if (layout->width <= 0 || layout->width > kMaxSide || height == 0 || height > kMaxSide ||
      layout->width * height > kMaxPixels) {
    return false;
  }
  if (layout->paletteEnd > bytes.size() || layout->pixelOffset < layout->paletteEnd) return false;
  return layout->pixelOffset + pixelDataSize(*layout) <= bytes.size();
}

void Picture::create(std::source_location where) {
  if (created_) raise(err::PictureAlreadyCreated, where);
  created_ = true;
}

void Picture::load(const std::string& fileName, std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  if (fileName.size() > kMaxFileNameLength) raise(err::IllegalArgument, where);
  try {
    int error = 0;
    const std::optional<std::vector<uint8_t>> bytes = readFile(fileName, error);
    if (!bytes) raise(error, where);
    if (!isSoundBitmap(*bytes)) raise(err::AccessDenied, where);
    const SurfacePtr surface = decodeBitmap(*bytes);
    if (!surface) raise(err::AccessDenied, where);
    pixels_ = pixelsOf(*surface);
    width_ = surface->w;
    height_ = surface->h;
  } catch (const std::bad_alloc&) {
    raise(err::OutOfMemory, where);
  }
}

void Picture::show(GraphicsPlane& plane, double x, double y, double width, double height,
                   std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  if (!loaded()) return;
  plane.blitStretched(pixels_, width_, height_, x, y, width, height, where);
}

void Picture::free(std::source_location where) {
  if (!created_) raise(err::PictureMissing, where);
  pixels_.clear();
  pixels_.shrink_to_fit();
  width_ = 0;
  height_ = 0;
}

}  // namespace kestrun::rt
