#include <benchmark/benchmark.h>

#include "frontends/frontends.h"
#include "game/dungeon/view3d.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "runtime/console.h"
#include "runtime/font.h"

namespace {

using namespace kestrun;
using namespace kestrun::game;

// A party of six with the best dark vision and a light, in the middle of an
// open hall whose columns left and right of the party are dark: every depth
// is drawn, and the side openings are flood-filled.
struct OpenHall {
  OpenHall() {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        g.FloorMap(x, y, SquareLayer) = (x == 4 || x == 6) ? 6 : 0;
        g.FloorMap(x, y, WestBoundary) = y % 3 == 0 ? 2 : 0;
      }
    }
    g.FloorMap(5, 9, SouthBoundary) = 2;
    g.GameState(MemberCount) = 6;
    for (int p = 1; p <= 6; ++p) {
      g.GameState(p) = static_cast<float>(p);
      g.CharRec(p - 1, Status) = 1;
      g.CharRec(p - 1, HitPoints) = 10;
    }
    g.RaceTable(0, DarkVision) = 2;
    g.GameState(FloorAndFacing) = 100;
    g.GameState(Square) = 505;
    g.GameState(LightEffect) = 2013;
    g.GameState(ProtectionEffect) = 3001;
    g.SysWord(DisplayMode) = 1;
    g.Setting(PartySize) = 6;
  }
  std::unique_ptr<rt::Frontend> frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con{*frontend, font};
  Game g{con};
};

// The exploration loop clears the view area before each view; the clearing
// alone is measured beside it.
void clearView(Game& g) {
  g.con.graphics().LINE(6, 18, 633, 412, 0, rt::BoxMode::Filled);
}

void BM_ClearViewArea(benchmark::State& state) {
  OpenHall hall;
  for (auto _ : state) {
    clearView(hall.g);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClearViewArea)->Unit(benchmark::kMicrosecond);

void BM_ClearAndMAP3D(benchmark::State& state) {
  OpenHall hall;
  for (auto _ : state) {
    clearView(hall.g);
    MAP3D(hall.g);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClearAndMAP3D)->Unit(benchmark::kMicrosecond);

}  // namespace
