#include <benchmark/benchmark.h>

#include "frontends/frontends.h"
#include "game/character/upkeep.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/floor_squares.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_events.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "runtime/console.h"
#include "runtime/font.h"
#include "runtime/sjis.h"

namespace {

using namespace kestrun;
using namespace kestrun::game;
using namespace kestrun::rt::literals;

// A party of six, one of them poisoned and all carrying items that heal,
// walking round a walled ring of corridors with doors in it, lit far ahead.
struct Ring {
  Ring() {
    g.Setting(PartySize) = 6;
    g.Setting(ItemSlots) = 8;
    g.Setting(AlignmentsUsed) = 1;
    g.SysWord(StatScale) = 18;
    for (int i = 1; i <= 9; ++i) g.StatusName(i) = "正常"_sj;
    for (int a = 1; a <= 3; ++a) g.AlignmentLetter(a) = "Ｎ"_sj;
    for (int k = 0; k < 15; ++k) g.ClassName(k) = "ロード"_sj;
    for (int item = 0; item <= 120; ++item) g.ItemTable(item, ItemRegeneration) = 51;
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        const bool ring = x == 2 || x == 17 || y == 2 || y == 17;
        g.FloorMap(x, y, SquareLayer) = ring ? 0 : 1;
        g.FloorMap(x, y, WestBoundary) = ring && y % 5 == 0 ? 2 : (ring ? 0 : 1);
        g.FloorMap(x, y, SouthBoundary) = ring ? 0 : 1;
      }
    }
    g.GameState(MemberCount) = 6;
    for (int c = 0; c < 6; ++c) {
      g.GameState(c + 1) = static_cast<float>(c + 1);
      g.CharName(c) = "ADVENTURER" + std::to_string(c);
      g.CharRec(c, Status) = c == 2 ? 1001 : 1;
      g.CharRec(c, Identity) = 210;
      g.CharRec(c, HitPoints) = 100000;
      g.CharRec(c, MaxHitPoints) = 100000;
      for (int f = 0; f < 4; ++f) g.CharRec(c, FirstStatPair + f) = 1816;
      for (int slot = 0; slot < 8; ++slot) g.CharRec(c, FirstItemSlot + slot) = 10001;
    }
    g.RaceTable(0, DarkVision) = 2;
    g.GameState(FloorAndFacing) = 101;
    g.GameState(Square) = 202;
    g.GameState(LightEffect) = 2023;
  }
  std::unique_ptr<rt::Frontend> frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con{*frontend, font};
  Game g{con};
};

// One step of the exploration loop, without the key: the upkeep of the
// step, the move (turning at the ring's corners), the square seen, the
// square's events (which redraw the view and the panel) and the encounter
// checks.
void BM_ExplorationStep(benchmark::State& state) {
  Ring ring;
  Game& g = ring.g;
  for (auto _ : state) {
    rememberPosition(g);
    CCHEC(g);
    Place ahead = stepFrom(partySquare(g), partyFacing(g));
    if (squareKind(g, ahead) == 1) setFacing(g, (partyFacing(g) + 3) % 4);
    setSquare(g, stepFrom(partySquare(g), partyFacing(g)));
    markVisited(g, 1, partySquare(g));
    drawViewFrame(g);
    g.StepTaken = 1;
    benchmark::DoNotOptimize(runSquareEvents(g));
    g.CharRec(2, HitPoints) = 100000;
  }
}
BENCHMARK(BM_ExplorationStep)->Unit(benchmark::kMicrosecond);

}  // namespace
