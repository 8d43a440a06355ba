#include "game/state/floor_file.h"

#include "game/state/record_io.h"
#include "game/state/scramble.h"
#include "runtime/strings.h"

namespace kestrun::game {

namespace f = format::floor;
using format::fixedOffset;
using format::gridOffset;

namespace {

double textOffset(double seed, int i, int j) {
  const auto& m = f::kText;
  return rt::MOD(seed, i + m.M) + m.D + rt::MOD((i + 3) * j, m.P);
}
double headerOffset(double seed, int i) {
  return rt::MOD(seed, i + 2) + f::kHeaderD + 3 * i;
}

// The order in which each layer's 400 numbers are stored.
enum class Walk { XDownYUp, XDownYDown, XUpYDown, XUpYUp };

template <typename Visit>
void walk(Walk order, Visit visit) {
  const bool xUp = order == Walk::XUpYDown || order == Walk::XUpYUp;
  const bool yUp = order == Walk::XDownYUp || order == Walk::XUpYUp;
  for (int a = 0; a < 20; ++a) {
    const int x = xUp ? a : 19 - a;
    for (int b = 0; b < 20; ++b) visit(x, yUp ? b : 19 - b);
  }
}

void readLayer(rt::FileTable& files, int n, FloorTables& fl, int layer, Walk order) {
  walk(order, [&](int x, int y) { fl.FloorMap(x, y, layer) = readSingle(files, n); });
}

void writeLayer(rt::FileTable& files, int n, const FloorTables& fl, int layer, Walk order,
                double seed) {
  walk(order, [&](int x, int y) {
    writeNumber(files, n, fl.FloorMap(x, y, layer) + gridOffset(f::kLayer[layer], seed, x, y));
  });
}

void unscrambleLayer(FloorTables& fl, int layer, double seed) {
  walk(Walk::XUpYUp, [&](int x, int y) {
    fl.FloorMap(x, y, layer) =
        rt::toSingle(fl.FloorMap(x, y, layer) - gridOffset(f::kLayer[layer], seed, x, y));
  });
}

}  // namespace

std::string floorFileName(const std::string& letter, int floor) {
  return letter + "-" + rt::HEX(floor) + "F.DAT";
}

void readFloor(rt::FileTable& files, int n, FloorTables& fl, FloorSeal& seal,
               Table<float, 5, 29>& textCodes) {
  readLayer(files, n, fl, 1, Walk::XDownYUp);
  seal.seed = readSingle(files, n);
  seal.scenarioId = readSingle(files, n);
  seal.floorNumber = readSingle(files, n);
  readLayer(files, n, fl, 2, Walk::XDownYDown);
  for (int i = 0; i < 5; ++i) {
    for (int j = 1; j <= kFloorTextBytes; ++j) textCodes(i, j) = readSingle(files, n);
  }
  readLayer(files, n, fl, 3, Walk::XUpYDown);
  for (int i = 0; i < 4; ++i) fl.FloorHeader(i) = readSingle(files, n);
  readLayer(files, n, fl, 0, Walk::XUpYUp);
}

void unscrambleFloor(FloorTables& fl, FloorSeal& seal, Table<float, 5, 29>& textCodes) {
  const double seed = seal.seed;
  unscrambleLayer(fl, 0, seed);
  unscrambleLayer(fl, 1, seed);
  seal.scenarioId = rt::toSingle(seal.scenarioId - fixedOffset(f::kScenarioId, seed));
  seal.floorNumber = rt::toSingle(seal.floorNumber - fixedOffset(f::kFloorNumber, seed));
  unscrambleLayer(fl, 2, seed);
  for (int i = 0; i < 4; ++i) {
    fl.FloorHeader(i) = rt::toSingle(fl.FloorHeader(i) - headerOffset(seed, i));
  }
  unscrambleLayer(fl, 3, seed);
  for (int i = 0; i < 5; ++i) {
    std::string text;
    for (int j = 1; j <= kFloorTextBytes; ++j)
      text += rt::CHR(textCodes(i, j) - textOffset(seed, i, j));
    fl.FloorText(i) = text;
  }
}

void writeFloor(rt::FileTable& files, int n, const FloorTables& fl, const FloorSeal& plain) {
  const double seed = plain.seed;
  writeLayer(files, n, fl, 1, Walk::XDownYUp, seed);
  writeNumber(files, n, seed);
  writeNumber(files, n, plain.scenarioId + fixedOffset(f::kScenarioId, seed));
  writeNumber(files, n, plain.floorNumber + fixedOffset(f::kFloorNumber, seed));
  writeLayer(files, n, fl, 2, Walk::XDownYDown, seed);
  for (int i = 0; i < 5; ++i) {
    std::string text = fl.FloorText(i).substr(0, kFloorTextBytes);
    text.resize(kFloorTextBytes, ' ');
    for (int j = 1; j <= kFloorTextBytes; ++j) {
      writeNumber(files, n, static_cast<uint8_t>(text[j - 1]) + textOffset(seed, i, j));
    }
  }
  writeLayer(files, n, fl, 3, Walk::XUpYDown, seed);
  for (int i = 0; i < 4; ++i) writeNumber(files, n, fl.FloorHeader(i) + headerOffset(seed, i));
  writeLayer(files, n, fl, 0, Walk::XUpYUp, seed);
}

}  // namespace kestrun::game
