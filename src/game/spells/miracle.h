#pragma once

#include <string>

namespace kestrun::game {

struct Game;

// Chooses the effect of the miracle spell SysWord(MiracleSpell) into SysWord(MiracleEffect): its
// mode (SpellTable column 3) 1 draws one at random from 1..range (column 4),
// 2 takes the range itself as the effect, 3 and up lets the player pick from
// an offer of column 5 effects (1..offer in order when the offer is the
// range).
void MRCH(Game& g);

// Performs miracle effect SysWord(MiracleEffect) (1..36; 37 and 38 the death and the loss
// of the member at position SysWord(MiracleTarget)) with caster SysWord(SpellCasterTarget) x 100. A
// member's effect goes to the member at position SysWord(MiracleTarget), or, when it is
// 0, to one the player chooses. Leaves 2500 in SysWord(Outcome) after the return
// to town.
void MIRACLE(Game& g);

// The words the offer shows for effect 1..36.
std::string miracleEffectText(const Game& g, int effect);

// One effect drawn from 1..range, drawn again while it raises a stat the
// scenario does not use or gives a class it does not have.
int drawMiracleEffect(Game& g, int range);

}  // namespace kestrun::game
