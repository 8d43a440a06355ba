#include "runtime/bitmap.h"

#include <bit>
#include <cstdlib>

namespace kestrun::rt {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr int64_t kMaxSide = 16384;
// Run-length data can describe a huge picture in a few bytes; decoding one
// would take gigabytes, so pictures are limited to what a screen can use.
constexpr int64_t kMaxPixels = int64_t{4096} * 4096;
// Indexed pictures are decoded into one byte per pixel; colour tables hold
// at most this many colours.
constexpr size_t kMaxColours = 256;

constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
constexpr uint32_t kBitFields = 3;

uint32_t littleEndian(std::span<const uint8_t> bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | bytes[at + i];
  return value;
}

// Where a channel lies in a 16- or 32-bit pixel.
struct ChannelMasks {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  uint32_t alpha = 0;
  bool operator==(const ChannelMasks&) const = default;
};

// What the headers say, in the terms the checks and the decoder need.
struct BitmapLayout {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top-down
  uint32_t bitCount = 0;
  uint32_t compression = kUncompressed;
  uint32_t imageSize = 0;  // 0 is allowed for uncompressed data
  uint32_t coloursUsed = 0;
  ChannelMasks masks;
  uint64_t paletteEnd = 0;  // offset just past the colour table
  uint64_t pixelOffset = 0;
};

std::optional<BitmapLayout> readCoreHeader(std::span<const uint8_t> bytes) {
  constexpr size_t at = kFileHeaderSize;
  BitmapLayout layout;
  layout.headerSize = kCoreHeaderSize;
  layout.width = littleEndian(bytes, at + 4, 2);
  layout.height = littleEndian(bytes, at + 6, 2);
  if (littleEndian(bytes, at + 8, 2) != 1) return std::nullopt;
  layout.bitCount = littleEndian(bytes, at + 10, 2);
  if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 &&
      layout.bitCount != 24) {
    return std::nullopt;
  }
  const uint64_t colours = layout.bitCount <= 8 ? uint64_t{1} << layout.bitCount : 0;
  layout.paletteEnd = at + kCoreHeaderSize + colours * 3;
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

// The channel masks of a 16- or 32-bit picture: the usual ones unless the
// headers give their own (after a plain info header, or inside a larger one,
// which from v3 on also holds the alpha mask).
ChannelMasks readMasks(std::span<const uint8_t> bytes, const BitmapLayout& layout) {
  constexpr size_t at = kFileHeaderSize + 40;
  if (layout.compression == kBitFields) {
    return {littleEndian(bytes, at, 4), littleEndian(bytes, at + 4, 4),
            littleEndian(bytes, at + 8, 4),
            layout.headerSize >= 56 ? littleEndian(bytes, at + 12, 4) : 0};
  }
  if (layout.bitCount == 16) return {0x7C00, 0x03E0, 0x001F, 0};
  return {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
}

std::optional<BitmapLayout> readInfoHeader(std::span<const uint8_t> bytes, uint32_t headerSize) {
  constexpr size_t at = kFileHeaderSize;
  BitmapLayout layout;
  layout.headerSize = headerSize;
  layout.width = static_cast<int32_t>(littleEndian(bytes, at + 4, 4));
  layout.height = static_cast<int32_t>(littleEndian(bytes, at + 8, 4));
  if (littleEndian(bytes, at + 12, 2) != 1) return std::nullopt;
  layout.bitCount = littleEndian(bytes, at + 14, 2);
  layout.compression = littleEndian(bytes, at + 16, 4);
  layout.imageSize = littleEndian(bytes, at + 20, 4);
  layout.coloursUsed = littleEndian(bytes, at + 32, 4);
  const uint32_t b = layout.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return std::nullopt;
  if (!compressionFits(layout.compression, b, layout.height)) return std::nullopt;
  const uint64_t paletteLimit = b <= 8 ? uint64_t{1} << b : kMaxColours;
  if (layout.coloursUsed > paletteLimit) return std::nullopt;
  const uint64_t colours =
      layout.coloursUsed != 0 ? layout.coloursUsed : (b <= 8 ? paletteLimit : 0);
  // The three channel masks follow a plain info header; larger headers hold them.
  const uint64_t masks = layout.compression == kBitFields && headerSize == 40 ? 12 : 0;
  layout.paletteEnd = at + headerSize + masks + colours * 4;
  if (layout.paletteEnd <= bytes.size() && (b == 16 || b == 32))
    layout.masks = readMasks(bytes, layout);
  return layout;
}

std::optional<BitmapLayout> readHeaders(std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
    return std::nullopt;
  }
  const uint32_t headerSize = littleEndian(bytes, kFileHeaderSize, 4);
  if (bytes.size() < kFileHeaderSize + headerSize) return std::nullopt;
  std::optional<BitmapLayout> layout;
  switch (headerSize) {
    case kCoreHeaderSize:
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

bool isRunLength(const BitmapLayout& layout) {
  return layout.compression == kRunLength8 || layout.compression == kRunLength4;
}

uint64_t rowSize(const BitmapLayout& layout) {
  return (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
}

// Bytes the pixel data needs: exact for uncompressed rows, the declared size
// for run-length data (at least one byte).
uint64_t pixelDataSize(const BitmapLayout& layout) {
  if (isRunLength(layout)) return layout.imageSize != 0 ? layout.imageSize : 1;
  return rowSize(layout) * static_cast<uint64_t>(std::abs(layout.height));
}

std::optional<BitmapLayout> soundLayout(std::span<const uint8_t> bytes) {
  const std::optional<BitmapLayout> layout = readHeaders(bytes);
  if (!layout) return std::nullopt;
  const int64_t height = std::abs(layout->height);
  if (layout->width <= 0 || layout->width > kMaxSide || height == 0 || height > kMaxSide ||
      layout->width * height > kMaxPixels) {
    return std::nullopt;
  }
  if (layout->paletteEnd > bytes.size() || layout->pixelOffset < layout->paletteEnd) {
    return std::nullopt;
  }
  if (layout->pixelOffset + pixelDataSize(*layout) > bytes.size()) return std::nullopt;
  return layout;
}

// The colour table of an indexed picture, as many colours as the headers
// declare (all of 256 when they declare none, whatever the bit count).
std::vector<uint32_t> readColourTable(std::span<const uint8_t> bytes, const BitmapLayout& layout) {
  const size_t entrySize = layout.headerSize == kCoreHeaderSize ? 3 : 4;
  const size_t count = layout.coloursUsed != 0 ? layout.coloursUsed : kMaxColours;
  const size_t start = kFileHeaderSize + layout.headerSize;
  // Colours the headers declare beyond the file's end are never reached by
  // a pixel of a sound file; they stay white.
  std::vector<uint32_t> colours(count, 0xFFFFFF);
  for (size_t i = 0; i < count && start + (i + 1) * entrySize <= bytes.size(); ++i) {
    const size_t at = start + i * entrySize;
    colours[i] = uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 1]} << 8 | bytes[at];
  }
  return colours;
}

// The colour index of pixel x of an uncompressed row of 1, 4 or 8 bits.
uint8_t indexAt(const uint8_t* row, int64_t x, uint32_t bitCount) {
  switch (bitCount) {
    case 1:
      return row[x / 8] >> (7 - x % 8) & 1;
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    default:
      return row[x];
  }
}

// The image row a stored row of uncompressed data holds.
int64_t imageRow(const BitmapLayout& layout, int64_t storedRow) {
  return layout.height < 0 ? storedRow : layout.height - 1 - storedRow;
}

std::optional<Bitmap> decodeIndexedRows(std::span<const uint8_t> bytes, const BitmapLayout& layout,
                                        Bitmap bitmap) {
  const std::vector<uint32_t> colours = readColourTable(bytes, layout);
  const uint64_t stride = rowSize(layout);
  for (int64_t stored = 0; stored < bitmap.height; ++stored) {
    const uint8_t* row = bytes.data() + layout.pixelOffset + stored * stride;
    uint32_t* out = bitmap.pixels.data() + imageRow(layout, stored) * bitmap.width;
    for (int64_t x = 0; x < bitmap.width; ++x) {
      const uint8_t index = indexAt(row, x, layout.bitCount);
      // A pixel outside the colour table makes the file unreadable.
      if (index >= colours.size()) return std::nullopt;
      out[x] = colours[index];
    }
  }
  return bitmap;
}

// Run-length data, decoded the way the files were made to be read: into rows
// of one byte per pixel, each padded to four bytes and laid out bottom row
// last, where a run that passes the end of its row goes on in the next row
// down, and a move above the top row leaves what follows unseen. Nullopt when
// the data ends before its end mark.
class RunLengthDecoder {
 public:
  RunLengthDecoder(std::span<const uint8_t> bytes, const BitmapLayout& layout)
      : bytes_(bytes),
        at_(layout.pixelOffset),
        nibbles_(layout.compression == kRunLength4),
        pitch_((layout.width + 3) & ~int64_t{3}),
        indexes_(static_cast<size_t>(pitch_ * layout.height), 0),
        rowStart_(pitch_ * (layout.height - 1)) {}

  bool decode() {
    for (;;) {
      uint8_t count = 0;
      uint8_t value = 0;
      if (!next(count) || !next(value)) return false;
      if (count != 0) {
        putRun(count, value);
        continue;
      }
      switch (value) {
        case 0:  // end of row
          offset_ = 0;
          rowStart_ -= pitch_;
          break;
        case 1:  // end of picture
          return true;
        case 2: {  // move right and up
          uint8_t right = 0;
          uint8_t up = 0;
          if (!next(right)) return false;
          offset_ += right;
          if (!next(up)) return false;
          rowStart_ -= up * pitch_;
          break;
        }
        default:
          if (!putLiteral(value)) return false;
      }
    }
  }

  uint8_t index(int64_t x, int64_t y) const { return indexes_[y * pitch_ + x]; }

 private:
  bool next(uint8_t& byte) {
    if (at_ >= bytes_.size()) return false;
    byte = bytes_[at_++];
    return true;
  }
  void put(uint8_t index) {
    const int64_t spot = rowStart_ + offset_++;
    if (spot >= 0 && spot < static_cast<int64_t>(indexes_.size())) indexes_[spot] = index;
  }
  // `count` pixels of one index, or alternating the two nibbles of `value`.
  void putRun(uint8_t count, uint8_t value) {
    for (int i = 0; i < count; ++i)
      put(nibbles_ ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
  }
  // `count` pixels stored as they are, padded to a whole number of 16-bit words.
  bool putLiteral(uint8_t count) {
    const size_t size = nibbles_ ? (count + 1) / 2 : count;
    uint8_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (!nibbles_) {
        if (!next(value)) return false;
        put(value);
      } else if (i % 2 == 0) {
        if (!next(value)) return false;
        put(value >> 4);
      } else {
        put(value & 0x0F);
      }
    }
    uint8_t padding = 0;
    return size % 2 == 0 || next(padding);
  }

  std::span<const uint8_t> bytes_;
  size_t at_;
  bool nibbles_;
  int64_t pitch_;
  std::vector<uint8_t> indexes_;
  int64_t rowStart_;
  int64_t offset_ = 0;
};

std::optional<Bitmap> decodeRunLength(std::span<const uint8_t> bytes, const BitmapLayout& layout,
                                      Bitmap bitmap) {
  RunLengthDecoder decoder(bytes, layout);
  if (!decoder.decode()) return std::nullopt;
  const std::vector<uint32_t> colours = readColourTable(bytes, layout);
  for (int64_t y = 0; y < bitmap.height; ++y) {
    for (int64_t x = 0; x < bitmap.width; ++x) {
      // An index past the colour table shows black.
      const uint8_t index = decoder.index(x, y);
      bitmap.pixels[y * bitmap.width + x] = index < colours.size() ? colours[index] : 0;
    }
  }
  return bitmap;
}

// A channel of a 16- or 32-bit pixel widened (or narrowed) to 8 bits.
uint32_t channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t value = (pixel & mask) >> shift;
  if (bits >= 8) return value >> (bits - 8);
  // Spread over 0..255, rounding down.
  const uint32_t largest = (uint32_t{1} << bits) - 1;
  return value * 255 / largest;
}

// The pixel layouts 16- and 32-bit pictures may have; their own masks name one.
struct DirectFormat {
  uint32_t bitCount;
  ChannelMasks declared;
  ChannelMasks used;
};

constexpr ChannelMasks kRgb565{0xF800, 0x07E0, 0x001F, 0};

// The six-bit green of the common 16-bit layout steps by four and a little,
// reaching 254, as the pictures made for it were always shown.
uint32_t greenOf565(uint32_t pixel) {
  const uint32_t value = (pixel & kRgb565.green) >> 5;
  return value * 4 + value / 24;
}

std::optional<ChannelMasks> knownMasks(uint32_t bitCount, const ChannelMasks& declared) {
  static constexpr ChannelMasks kRgb888{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  static constexpr DirectFormat kFormats[] = {
      {16, {0, 0, 0, 0}, kRgb565},
      {16, {0x7C00, 0x03E0, 0x001F, 0}, {0x7C00, 0x03E0, 0x001F, 0}},
      {16, {0x001F, 0x03E0, 0x7C00, 0}, {0x001F, 0x03E0, 0x7C00, 0}},
      {16, {0x7C00, 0x03E0, 0x001F, 0x8000}, {0x7C00, 0x03E0, 0x001F, 0x8000}},
      {16, {0x001F, 0x03E0, 0x7C00, 0x8000}, {0x001F, 0x03E0, 0x7C00, 0x8000}},
      {16, {0xF800, 0x07C0, 0x003E, 0x0001}, {0xF800, 0x07C0, 0x003E, 0x0001}},
      {16, {0x003E, 0x07C0, 0xF800, 0x0001}, {0x003E, 0x07C0, 0xF800, 0x0001}},
      {16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x0F00, 0x00F0, 0x000F, 0xF000}},
      {16, {0xF000, 0x0F00, 0x00F0, 0x000F}, {0xF000, 0x0F00, 0x00F0, 0x000F}},
      {16, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x000F, 0x00F0, 0x0F00, 0xF000}},
      {16, {0x00F0, 0x0F00, 0xF000, 0x000F}, {0x00F0, 0x0F00, 0xF000, 0x000F}},
      {16, kRgb565, kRgb565},
      {16, {0x001F, 0x07E0, 0xF800, 0}, {0x001F, 0x07E0, 0xF800, 0}},
      {16, {0x003F, 0x07C0, 0xF800, 0}, kRgb565},
      {32, {0, 0, 0, 0}, kRgb888},
      {32, kRgb888, kRgb888},
      {32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0}},
      {32, {0x000000FF, 0x0000FF00, 0x00FF0000, 0}, {0x000000FF, 0x0000FF00, 0x00FF0000, 0}},
      {32, {0x0000FF00, 0x00FF0000, 0xFF000000, 0}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0}},
      {32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, kRgb888},
      {32,
       {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
       {0xFF000000, 0x00FF0000, 0x0000FF00, 0}},
      {32,
       {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},
       {0x000000FF, 0x0000FF00, 0x00FF0000, 0}},
      {32,
       {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
       {0x0000FF00, 0x00FF0000, 0xFF000000, 0}},
      {32,
       {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
       {0x3FF00000, 0x000FFC00, 0x000003FF, 0}},
  };
  for (const DirectFormat& format : kFormats) {
    if (format.bitCount != bitCount) continue;
    // Zero red masks name the default layout whatever the other masks say.
    if (format.declared.red == 0 ? declared.red == 0 : format.declared == declared)
      return format.used;
  }
  return std::nullopt;
}

std::optional<Bitmap> decodeDirectRows(std::span<const uint8_t> bytes, const BitmapLayout& layout,
                                       Bitmap bitmap) {
  ChannelMasks masks{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  if (layout.bitCount != 24) {
    const std::optional<ChannelMasks> known = knownMasks(layout.bitCount, layout.masks);
    if (!known) return std::nullopt;
    masks = *known;
  }
  const size_t pixelSize = layout.bitCount / 8;
  const uint64_t stride = rowSize(layout);
  for (int64_t stored = 0; stored < bitmap.height; ++stored) {
    const size_t rowAt = layout.pixelOffset + stored * stride;
    uint32_t* out = bitmap.pixels.data() + imageRow(layout, stored) * bitmap.width;
    for (int64_t x = 0; x < bitmap.width; ++x) {
      const uint32_t pixel = littleEndian(bytes, rowAt + x * pixelSize, pixelSize);
      const uint32_t green = masks == kRgb565 ? greenOf565(pixel) : channel(pixel, masks.green);
      out[x] = channel(pixel, masks.red) << 16 | green << 8 | channel(pixel, masks.blue);
    }
  }
  return bitmap;
}

}  // namespace

bool isSoundBitmap(std::span<const uint8_t> bytes) {
  return soundLayout(bytes).has_value();
}

std::optional<Bitmap> decodeBitmap(std::span<const uint8_t> bytes) {
  const std::optional<BitmapLayout> layout = soundLayout(bytes);
  if (!layout) return std::nullopt;
  Bitmap bitmap;
  bitmap.width = static_cast<int>(layout->width);
  bitmap.height = static_cast<int>(std::abs(layout->height));
  bitmap.pixels.assign(static_cast<size_t>(bitmap.width) * bitmap.height, 0);
  if (isRunLength(*layout)) return decodeRunLength(bytes, *layout, std::move(bitmap));
  if (layout->bitCount <= 8) return decodeIndexedRows(bytes, *layout, std::move(bitmap));
  return decodeDirectRows(bytes, *layout, std::move(bitmap));
}

}  // namespace kestrun::rt
