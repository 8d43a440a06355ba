#include "frontends/tty/tty_image.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <utility>

#include "runtime/graphics.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

constexpr int kTileColumns = 8;
constexpr size_t kSixelRegisters = 16;
constexpr size_t kKittyChunk = 4096;
constexpr int kKittyQueryId = 31;

std::vector<int> numbersOf(std::string_view params) {
  std::vector<int> values;
  while (!params.empty()) {
    const size_t end = std::min(params.find(';'), params.size());
    int value = 0;
    std::from_chars(params.data(), params.data() + end, value);
    values.push_back(value);
    params.remove_prefix(std::min(end + 1, params.size()));
  }
  return values;
}

// The parameters of the first "ESC [ <intro> ... <final>" in `bytes`, and
// where it ends.
std::optional<std::pair<std::string_view, size_t>> findSequence(std::string_view bytes,
                                                                std::string_view intro,
                                                                char final) {
  const std::string start = std::string("\x1b[") + std::string(intro);
  for (size_t at = bytes.find(start); at != std::string_view::npos;
       at = bytes.find(start, at + 1)) {
    size_t end = at + start.size();
    while (end < bytes.size() && ((bytes[end] >= '0' && bytes[end] <= '9') || bytes[end] == ';')) {
      ++end;
    }
    if (end < bytes.size() && bytes[end] == final) {
      return std::pair{bytes.substr(at + start.size(), end - at - start.size()), end + 1};
    }
  }
  return std::nullopt;
}

uint32_t sourcePixel(std::span<const uint32_t> plane, Tile tile, CellPixels cell, int ox, int oy) {
  const int x = tile.column * rt::kCellWidth + ox * rt::kCellWidth / cell.width;
  const int y = tile.row * rt::kCellHeight + oy * rt::kCellHeight / cell.height;
  return plane[static_cast<size_t>(y) * rt::kPlaneWidth + x] & 0xFFFFFF;
}

// The tile's colours as register numbers (-1: transparent), and the colour
// of each register.
struct IndexedTile {
  std::vector<int> registers;
  std::vector<uint32_t> palette;
};

IndexedTile indexTile(std::span<const uint32_t> plane, Tile tile, CellPixels cell, int width,
                      const std::vector<bool>& mask) {
  std::vector<uint32_t> rgb(static_cast<size_t>(width) * cell.height, 0);
  std::map<uint32_t, int> counts;
  for (int oy = 0; oy < cell.height; ++oy) {
    for (int ox = 0; ox < width; ++ox) {
      if (!mask[static_cast<size_t>(ox / cell.width)]) continue;
      const uint32_t colour = sourcePixel(plane, tile, cell, ox, oy);
      rgb[static_cast<size_t>(oy) * width + ox] = colour;
      ++counts[colour];
    }
  }
  std::vector<std::pair<int, uint32_t>> byCount;
  for (const auto& [colour, count] : counts) byCount.push_back({-count, colour});
  std::sort(byCount.begin(), byCount.end());
  IndexedTile indexed;
  for (size_t i = 0; i < std::min(byCount.size(), kSixelRegisters); ++i) {
    indexed.palette.push_back(byCount[i].second);
  }
  std::map<uint32_t, int> registerOf;
  for (const auto& counted : counts) {
    const uint32_t colour = counted.first;
    const auto nearest = std::min_element(
        indexed.palette.begin(), indexed.palette.end(), [colour](uint32_t a, uint32_t b) {
          return colourDistance(colour, a) < colourDistance(colour, b);
        });
    registerOf[colour] = static_cast<int>(nearest - indexed.palette.begin());
  }
  indexed.registers.assign(rgb.size(), -1);
  for (int oy = 0; oy < cell.height; ++oy) {
    for (int ox = 0; ox < width; ++ox) {
      if (!mask[static_cast<size_t>(ox / cell.width)]) continue;
      const size_t i = static_cast<size_t>(oy) * width + ox;
      indexed.registers[i] = registerOf[rgb[i]];
    }
  }
  return indexed;
}

int percentOf(uint32_t rgb, int shift) {
  return (colourChannel(rgb, shift) * 100 + 127) / 255;
}

// One colour's row of sixels, run-length coded, without its trailing blanks.
std::string sixelRun(const std::vector<uint8_t>& sixels) {
  size_t end = sixels.size();
  while (end > 0 && sixels[end - 1] == 0) --end;
  std::string out;
  for (size_t x = 0; x < end;) {
    size_t run = 1;
    while (x + run < end && sixels[x + run] == sixels[x]) ++run;
    const char ch = static_cast<char>('?' + sixels[x]);
    if (run > 3) {
      out += '!' + std::to_string(run) + ch;
    } else {
      out.append(run, ch);
    }
    x += run;
  }
  return out;
}

// Writes bits least significant first, as deflate streams are packed.
class BitWriter {
 public:
  void bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) push((value >> i) & 1);
  }
  // A Huffman code goes most significant bit first.
  void code(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) push((value >> i) & 1);
  }
  std::vector<uint8_t> finish() {
    if (used_ > 0) out_.push_back(current_);
    return std::move(out_);
  }

 private:
  void push(uint32_t bit) {
    current_ = static_cast<uint8_t>(current_ | bit << used_);
    if (++used_ == 8) {
      out_.push_back(current_);
      current_ = 0;
      used_ = 0;
    }
  }
  std::vector<uint8_t> out_;
  uint8_t current_ = 0;
  int used_ = 0;
};

// A symbol of the fixed literal/length code.
void fixedSymbol(BitWriter& out, int symbol) {
  if (symbol < 144) {
    out.code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    out.code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    out.code(symbol - 256, 7);
  } else {
    out.code(0xC0 + symbol - 280, 8);
  }
}

// A copy of `length` (3..258) bytes from one pixel back.
void pixelRepeat(BitWriter& out, int length) {
  static constexpr int kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int index = 28;
  while (kBase[index] > length) --index;
  fixedSymbol(out, 257 + index);
  out.bits(static_cast<uint32_t>(length - kBase[index]), kExtra[index]);
  out.code(2, 5);  // distance 3: one pixel of three bytes back
}

// A zlib stream of `data` in one block of the fixed code, whose only matches
// repeat the previous pixel: the runs of one colour that fill the pictures.
std::vector<uint8_t> zlibRuns(const std::vector<uint8_t>& data) {
  BitWriter out;
  out.bits(0x78, 8);
  out.bits(0x01, 8);
  out.bits(1, 1);  // the last block
  out.bits(1, 2);  // fixed Huffman codes
  for (size_t i = 0; i < data.size();) {
    size_t run = 0;
    while (i >= 3 && i + run < data.size() && run < 258 && data[i + run] == data[i + run - 3]) {
      ++run;
    }
    if (run >= 3) {
      pixelRepeat(out, static_cast<int>(run));
      i += run;
    } else {
      fixedSymbol(out, data[i++]);
    }
  }
  fixedSymbol(out, 256);
  std::vector<uint8_t> stream = out.finish();
  uint32_t a = 1;
  uint32_t b = 0;
  for (const uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  const uint32_t adler = b << 16 | a;
  for (const int shift : {24, 16, 8, 0}) stream.push_back(static_cast<uint8_t>(adler >> shift));
  return stream;
}

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t a = bytes[i];
    const uint32_t b = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    const uint32_t c = i + 2 < bytes.size() ? bytes[i + 2] : 0;
    const uint32_t triple = a << 16 | b << 8 | c;
    out += kBase64[(triple >> 18) & 63];
    out += kBase64[(triple >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(triple >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[triple & 63] : '=';
  }
  return out;
}

std::string cursorTo(Tile tile) {
  return "\x1b[" + std::to_string(tile.row + 1) + ';' + std::to_string(tile.column + 1) + 'H';
}

int tileIndex(Tile tile) {
  return tile.row * (rt::kColumns / kTileColumns) + tile.column / kTileColumns;
}

bool tileIsBlack(std::span<const uint32_t> plane, Tile tile) {
  for (int y = tile.row * rt::kCellHeight; y < (tile.row + 1) * rt::kCellHeight; ++y) {
    for (int x = tile.column * rt::kCellWidth; x < (tile.column + tile.columns) * rt::kCellWidth;
         ++x) {
      if ((plane[static_cast<size_t>(y) * rt::kPlaneWidth + x] & 0xFFFFFF) != 0) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<TtyGraphics> ttyGraphicsNamed(std::string_view name) {
  if (name == "auto") return TtyGraphics::Auto;
  if (name == "sixel") return TtyGraphics::Sixel;
  if (name == "kitty") return TtyGraphics::Kitty;
  if (name == "cells") return TtyGraphics::Cells;
  return std::nullopt;
}

std::string_view terminalQueries() {
  return "\x1b_Gi=31,s=1,v=1,a=q,t=d,f=24;AAAA\x1b\\\x1b[16t\x1b[c";
}

TerminalReplies parseTerminalReplies(std::string_view bytes) {
  TerminalReplies replies;
  const std::string kittyOk = "\x1b_Gi=" + std::to_string(kKittyQueryId) + ";OK";
  replies.kitty = bytes.find(kittyOk) != std::string_view::npos;
  if (const auto size = findSequence(bytes, "6;", 't')) {
    const std::vector<int> values = numbersOf(size->first);
    if (values.size() == 2 && values[0] > 0 && values[1] > 0) replies.cell = {values[1], values[0]};
  }
  if (const auto attributes = findSequence(bytes, "?", 'c')) {
    replies.complete = true;
    const std::vector<int> values = numbersOf(attributes->first);
    replies.sixel = std::find(values.begin() + std::min<size_t>(1, values.size()), values.end(),
                              4) != values.end();
    replies.rest = std::string(bytes.substr(attributes->second));
  }
  return replies;
}

GraphicsDrawing chooseDrawing(TtyGraphics asked, const TerminalReplies& replies) {
  switch (asked) {
    case TtyGraphics::Sixel:
      return GraphicsDrawing::Sixel;
    case TtyGraphics::Kitty:
      return GraphicsDrawing::Kitty;
    case TtyGraphics::Cells:
      return GraphicsDrawing::Cells;
    case TtyGraphics::Auto:
      break;
  }
  if (replies.kitty) return GraphicsDrawing::Kitty;
  if (replies.sixel) return GraphicsDrawing::Sixel;
  return GraphicsDrawing::Cells;
}

std::string sixelImage(std::span<const uint32_t> plane, Tile tile, CellPixels cell,
                       const std::vector<bool>& mask) {
  const int width = tile.columns * cell.width;
  const IndexedTile indexed = indexTile(plane, tile, cell, width, mask);
  // P2 = 1: pixels no sixel sets keep what the terminal showed there.
  std::string out = "\x1bP0;1;0q\"1;1;" + std::to_string(width) + ';' + std::to_string(cell.height);
  for (size_t r = 0; r < indexed.palette.size(); ++r) {
    const uint32_t rgb = indexed.palette[r];
    out += '#' + std::to_string(r) + ";2;" + std::to_string(percentOf(rgb, 16)) + ';' +
           std::to_string(percentOf(rgb, 8)) + ';' + std::to_string(percentOf(rgb, 0));
  }
  for (int top = 0; top < cell.height; top += 6) {
    if (top > 0) out += '-';
    for (size_t r = 0; r < indexed.palette.size(); ++r) {
      std::vector<uint8_t> sixels(static_cast<size_t>(width), 0);
      for (int dy = 0; dy < 6 && top + dy < cell.height; ++dy) {
        for (int x = 0; x < width; ++x) {
          if (indexed.registers[static_cast<size_t>(top + dy) * width + x] == static_cast<int>(r)) {
            sixels[static_cast<size_t>(x)] |= static_cast<uint8_t>(1 << dy);
          }
        }
      }
      const std::string run = sixelRun(sixels);
      if (!run.empty()) out += '#' + std::to_string(r) + run + '$';
    }
  }
  return out + "\x1b\\";
}

std::string kittyImage(std::span<const uint32_t> plane, Tile tile, int id) {
  const int width = tile.columns * rt::kCellWidth;
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(width) * rt::kCellHeight * 3);
  for (int y = tile.row * rt::kCellHeight; y < (tile.row + 1) * rt::kCellHeight; ++y) {
    for (int x = tile.column * rt::kCellWidth; x < tile.column * rt::kCellWidth + width; ++x) {
      const uint32_t pixel = plane[static_cast<size_t>(y) * rt::kPlaneWidth + x];
      rgb.push_back(static_cast<uint8_t>(pixel >> 16));
      rgb.push_back(static_cast<uint8_t>(pixel >> 8));
      rgb.push_back(static_cast<uint8_t>(pixel));
    }
  }
  const std::string data = base64(zlibRuns(rgb));
  // Compressed (o = z), placed beneath the text (z = -1), scaled to its
  // cells, the cursor left where it was; no reply wanted (q = 2).
  std::string out;
  for (size_t at = 0; at < data.size(); at += kKittyChunk) {
    const bool more = at + kKittyChunk < data.size();
    out += "\x1b_G";
    if (at == 0) {
      out += "a=T,f=24,o=z,s=" + std::to_string(width) + ",v=" + std::to_string(rt::kCellHeight) +
             ",i=" + std::to_string(id) + ",p=1,c=" + std::to_string(tile.columns) +
             ",r=1,C=1,z=-1,q=2,";
    }
    out += std::string("m=") + (more ? "1" : "0") + ';' + data.substr(at, kKittyChunk) + "\x1b\\";
  }
  return out;
}

std::string kittyDelete(int id) {
  return "\x1b_Ga=d,d=I,i=" + std::to_string(id) + ",q=2\x1b\\";
}

std::string kittyDeleteAll() {
  return "\x1b_Ga=d,d=A,q=2\x1b\\";
}

ImageLayer::ImageLayer(GraphicsDrawing drawing, CellPixels cell)
    : drawing_(drawing),
      cell_(cell),
      sentPixels_(static_cast<size_t>(rt::kPlaneWidth) * rt::kPlaneHeight, 0),
      sentImageCells_(static_cast<size_t>(rt::kColumns) * rt::kRows, false),
      sentTiles_(static_cast<size_t>(rt::kColumns / kTileColumns) * rt::kRows, false) {}

std::string ImageLayer::update(const TerminalFrame& wanted, std::span<const uint32_t> plane) {
  std::string out;
  if (drawing_ == GraphicsDrawing::Cells) return out;
  for (int row = 0; row < rt::kRows; ++row) {
    for (int column = 0; column < rt::kColumns; column += kTileColumns) {
      const Tile tile{column, row, kTileColumns};
      if (!tileChanged(tile, wanted, plane)) continue;
      out += send(tile, wanted, plane);
      remember(tile, wanted, plane);
    }
  }
  return out;
}

std::string ImageLayer::forget() {
  std::fill(sentTiles_.begin(), sentTiles_.end(), false);
  std::fill(sentImageCells_.begin(), sentImageCells_.end(), false);
  std::fill(sentPixels_.begin(), sentPixels_.end(), 0);
  return drawing_ == GraphicsDrawing::Kitty ? kittyDeleteAll() : std::string();
}

bool ImageLayer::tileChanged(Tile tile, const TerminalFrame& wanted,
                             std::span<const uint32_t> plane) const {
  const bool sixel = drawing_ == GraphicsDrawing::Sixel;
  bool anyImage = false;
  for (int c = tile.column; c < tile.column + tile.columns; ++c) {
    const size_t i = static_cast<size_t>(tile.row) * rt::kColumns + c;
    if (sixel && wanted[i].image != sentImageCells_[i]) return true;
    anyImage = anyImage || wanted[i].image;
  }
  if (!sentTiles_[static_cast<size_t>(tileIndex(tile))]) {
    return sixel ? anyImage : !tileIsBlack(plane, tile);
  }
  for (int y = tile.row * rt::kCellHeight; y < (tile.row + 1) * rt::kCellHeight; ++y) {
    for (int c = tile.column; c < tile.column + tile.columns; ++c) {
      if (sixel && !wanted[static_cast<size_t>(tile.row) * rt::kColumns + c].image) continue;
      const size_t from = static_cast<size_t>(y) * rt::kPlaneWidth + c * rt::kCellWidth;
      if (!std::equal(plane.begin() + from, plane.begin() + from + rt::kCellWidth,
                      sentPixels_.begin() + from)) {
        return true;
      }
    }
  }
  return false;
}

void ImageLayer::remember(Tile tile, const TerminalFrame& wanted, std::span<const uint32_t> plane) {
  for (int y = tile.row * rt::kCellHeight; y < (tile.row + 1) * rt::kCellHeight; ++y) {
    const size_t from = static_cast<size_t>(y) * rt::kPlaneWidth + tile.column * rt::kCellWidth;
    std::copy_n(plane.begin() + from, tile.columns * rt::kCellWidth, sentPixels_.begin() + from);
  }
  for (int c = tile.column; c < tile.column + tile.columns; ++c) {
    const size_t i = static_cast<size_t>(tile.row) * rt::kColumns + c;
    sentImageCells_[i] = wanted[i].image;
  }
  sentTiles_[static_cast<size_t>(tileIndex(tile))] = true;
}

std::string ImageLayer::send(Tile tile, const TerminalFrame& wanted,
                             std::span<const uint32_t> plane) {
  const int id = tileIndex(tile) + 1;
  if (drawing_ == GraphicsDrawing::Kitty) {
    if (tileIsBlack(plane, tile)) return kittyDelete(id);
    return cursorTo(tile) + kittyImage(plane, tile, id);
  }
  std::vector<bool> mask;
  for (int c = tile.column; c < tile.column + tile.columns; ++c) {
    mask.push_back(wanted[static_cast<size_t>(tile.row) * rt::kColumns + c].image);
  }
  if (std::find(mask.begin(), mask.end(), true) == mask.end()) return {};
  return cursorTo(tile) + sixelImage(plane, tile, cell_, mask);
}

}  // namespace kestrun::fe
