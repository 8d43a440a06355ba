#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/frontends.h"
#include "frontends/tty/tty_frame.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

// The pixels one terminal cell has on the screen.
struct CellPixels {
  int width = rt::kCellWidth;
  int height = rt::kCellHeight;
  bool operator==(const CellPixels&) const = default;
};

// What a terminal says of itself when asked (terminalQueries()).
struct TerminalReplies {
  bool complete = false;  // the device attributes came: nothing more will
  bool sixel = false;     // attribute 4 among the primary device attributes
  bool kitty = false;     // the kitty graphics query was answered OK
  CellPixels cell{0, 0};  // 0 when the terminal did not say
  std::string rest;       // bytes after the replies: keys typed meanwhile
};

// The kitty graphics query, the cell size query, and last the primary device
// attributes, which every terminal answers: its reply ends the others.
std::string_view terminalQueries();
TerminalReplies parseTerminalReplies(std::string_view bytes);

// The drawing a terminal gets: the protocol asked for, or the one it answered
// to (kitty before sixel), else cells.
GraphicsDrawing chooseDrawing(TtyGraphics asked, const TerminalReplies& replies);

// A run of cells on one row: the unit images are sent in.
struct Tile {
  int column = 0;
  int row = 0;
  int columns = 0;
};

// A sixel image of the tile's cells, scaled to the terminal's cell size.
// Only the cells marked in `mask` (one flag per cell of the tile) are
// painted; the others stay transparent, so text there is kept. At most 16
// colour registers: further colours take the nearest of the commonest.
std::string sixelImage(std::span<const uint32_t> plane, Tile tile, CellPixels cell,
                       const std::vector<bool>& mask);
// A kitty graphics command that puts the tile's pixels beneath the text at
// the cursor, as image `id` (replacing what that id showed).
std::string kittyImage(std::span<const uint32_t> plane, Tile tile, int id);
// Removes image `id` (an all-black tile needs none).
std::string kittyDelete(int id);
// Removes every image this program placed.
std::string kittyDeleteAll();

// The images a terminal shows over the graphics plane, by tiles of eight
// cells of one row. update() sends only the tiles whose pixels (or, with
// sixel, whose image cells) changed since they were last sent.
class ImageLayer {
 public:
  ImageLayer(GraphicsDrawing drawing, CellPixels cell);
  std::string update(const TerminalFrame& wanted, std::span<const uint32_t> plane);
  // The terminal was cleared: every tile goes again at the next update.
  std::string forget();

 private:
  bool tileChanged(Tile tile, const TerminalFrame& wanted, std::span<const uint32_t> plane) const;
  void remember(Tile tile, const TerminalFrame& wanted, std::span<const uint32_t> plane);
  std::string send(Tile tile, const TerminalFrame& wanted, std::span<const uint32_t> plane);

  GraphicsDrawing drawing_;
  CellPixels cell_;
  std::vector<uint32_t> sentPixels_;
  std::vector<bool> sentImageCells_;
  std::vector<bool> sentTiles_;  // false: never sent since the last clear
};

}  // namespace kestrun::fe
