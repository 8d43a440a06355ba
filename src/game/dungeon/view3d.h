#pragma once

namespace kestrun::game {

struct Game;

// Evaluates the view slot SysWord(ViewSlot) (depth x 5 + column, 0..19) from the
// party's square and facing (GameState(FloorAndFacing), GameState(Square)) and FloorMap: View3D(k)
// gets the boundary's kind (0 door, 1 wall of the one-side or hidden kind, 2 open, 3 wall) and
// View3D(20 + k) the kind of the square beyond it, 30 when the light (GameState(LightEffect)) or
// the second light source (GameState(TimedEffect)) reaches it.
void CALC(Game& g);

// Draws the first-person view: ends the effects whose caster can no longer
// act, evaluates all twenty slots with CALC, draws walls, doors and dark
// squares as far as race sight and the light reach, then the status labels of
// row 0 and, when SysWord(DisplayMode) = 1, the message frame. The caller clears the
// view area first.
void MAP3D(Game& g);

// The effects check of MAP3D: for every party member unable to act, ends the
// light (GameState(LightEffect)), protection (GameState(ProtectionEffect), clearing ArmourModifier
// of every member) or identification (GameState(IdentifyEffect)) he cast. Returns the best dark
// vision (RaceTable(race, DarkVision)) among the able members.
int endEffectsOfFallenCasters(Game& g);

// Row 0: "照明" "防御" "識別" "浮遊" "透明" in colour 6 for the running
// effects LightEffect or TimedEffect, ProtectionEffect, IdentifyEffect, LevitationEffect,
// InvisibilityEffect; four blanks for each inactive one.
void showEffectLabels(Game& g);

// Blacks out the view area with five grey boxes (a dark square without
// enough light), the same places the view draws its walls in.
void blackOutView(Game& g);

}  // namespace kestrun::game
