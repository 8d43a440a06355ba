#include "game/dungeon/view3d.h"

#include <algorithm>
#include <string>

#include "game/character/party_members.h"
#include "game/dungeon/floor_squares.h"
#include "game/dungeon/view_drawing.h"
#include "game/dungeon/view_slots.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/errors.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

// The square just beyond a slot's boundary as the view keeps it: its kind,
// or lit when the light or the second light source reaches the slot.
float seenSquare(const Game& g, int slot, int kind) {
  const float light = g.GameState(LightEffect);
  const bool lightReaches = slot <= 5 * rt::MOD(light, 10) - 1;
  if (kind == kDarkSquare && digit(light, 1) >= 2 && lightReaches) return kLitSquare;
  const float second = g.GameState(TimedEffect);
  if (second >= 20000 && slot <= 5 * digit(second, 3) - 1) return kLitSquare;
  return static_cast<float>(kind);
}

void evaluateAllSlots(Game& g) {
  for (int slot = 0; slot < kSlots; ++slot) {
    g.SysWord(ViewSlot) = static_cast<float>(slot);
    CALC(g);
  }
}

// Nearest depth first; in each depth the side walls, the wall ahead, then the
// walls ahead of the neighbours.
void drawView(Game& g, int darkVision) {
  constexpr int kDrawOrder[] = {kLeftSide, kRightSide, kAhead, kLeftAhead, kRightAhead};
  const ViewSight sight(g.View3D, sightDepth(darkVision, g.GameState(LightEffect)));
  rt::GraphicsPlane& plane = g.con.graphics();
  for (int depth = 0; depth < 4; ++depth) {
    for (int column : kDrawOrder) {
      const int slot = slotAt(depth, column);
      const Seen seen = sight.seen(slot);
      if (seen != Seen::Not) drawSlot(plane, sight, slot, seen);
    }
  }
}

// Display mode 1 keeps a frame below the view for the dungeon's messages.
void drawMessageFrame(Game& g) {
  const double bottom = 18 * static_cast<double>(g.Setting(PartySize));
  rt::GraphicsPlane& plane = g.con.graphics();
  plane.LINE(63, 287, 638, bottom + 286, 0, rt::BoxMode::Filled);
  plane.LINE(62, 286, 639, bottom + 287, 13, rt::BoxMode::Outline);
}

void endProtection(Game& g, int members) {
  g.GameState(ProtectionEffect) = 0;
  for (int p = 1; p <= members; ++p) g.CharRec(memberSlot(g, p), ArmourModifier) = 0;
}

}  // namespace

void CALC(Game& g) {
  const int slot = rt::toInt32(g.SysWord(ViewSlot));
  if (slot < 0 || slot >= kSlots) rt::raise(rt::err::SubscriptOutOfRange);
  const int column = columnOf(slot);
  const int facing = partyFacing(g);
  Place square = stepFrom(partySquare(g), facing, depthOf(slot));
  if (column == kLeftAhead) square = stepFrom(square, turnedLeft(facing));
  if (column == kRightAhead) square = stepFrom(square, turnedRight(facing));
  int seen = facing;
  if (column == kLeftSide) seen = turnedLeft(facing);
  if (column == kRightSide) seen = turnedRight(facing);
  g.View3D(slot) = static_cast<float>(boundaryKind(seen, boundaryCode(g, square, seen)));
  g.View3D(kSquareOffset + slot) = seenSquare(g, slot, squareKind(g, stepFrom(square, seen)));
}

int endEffectsOfFallenCasters(Game& g) {
  int darkVision = 0;
  const int members = partySize(g);
  for (int i = 1; i <= members; ++i) {
    const int n = memberSlot(g, i);
    if (hasSoundStatus(g.CharRec(n, Status))) {
      darkVision = std::max(darkVision, rt::toInt32(g.RaceTable(raceOf(g, n), DarkVision)));
      continue;
    }
    // A word of 0 is no effect at all, even when the fallen member is slot 0.
    auto castByFallen = [&](int word) {
      return g.GameState(word) > 0 && casterOf(g.GameState(word)) == n;
    };
    if (castByFallen(LightEffect)) g.GameState(LightEffect) = 0;
    if (castByFallen(ProtectionEffect)) endProtection(g, members);
    if (castByFallen(IdentifyEffect)) g.GameState(IdentifyEffect) = 0;
  }
  return darkVision;
}

void showEffectLabels(Game& g) {
  struct Label {
    int column;
    const std::string& text;
    bool active;
  };
  const Label labels[] = {
      {20, "照明"_sj, g.GameState(LightEffect) > 0 || g.GameState(TimedEffect) > 0},
      {29, "防御"_sj, g.GameState(ProtectionEffect) > 0},
      {38, "識別"_sj, g.GameState(IdentifyEffect) > 0},
      {47, "浮遊"_sj, g.GameState(LevitationEffect) > 0},
      {56, "透明"_sj, g.GameState(InvisibilityEffect) > 0},
  };
  g.con.COLOR(6);
  for (const Label& label : labels) {
    g.con.LOCATE(label.column, 0);
    g.con.PRINT(label.active ? label.text : rt::SPACE(4));
  }
}

void MAP3D(Game& g) {
  const int darkVision = endEffectsOfFallenCasters(g);
  evaluateAllSlots(g);
  drawView(g, darkVision);
  showEffectLabels(g);
  if (g.SysWord(DisplayMode) == 1) drawMessageFrame(g);
}

void blackOutView(Game& g) {
  fillViewDark(g.con.graphics());
}

}  // namespace kestrun::game
