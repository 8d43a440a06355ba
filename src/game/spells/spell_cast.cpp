#include "game/spells/spell_cast.h"

#include "game/character/message_timing.h"
#include "game/character/screen_lines.h"
#include "game/spells/catalogue.h"
#include "game/spells/miracle.h"
#include "game/spells/spell_effects.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMiracle = 15;
constexpr int kUnsealed = 0;
constexpr int kSealed = 1;
constexpr int kStolen = 2;

void clearBattleMessages(Game& g) {
  for (int row = 8; row <= 14; ++row) blankColumns(g, 9, row, 70);
}

void announce(Game& g, const SpellCast& cast) {
  rt::Console& con = g.con;
  con.COLOR(cast.byMonster ? 3 : 5);
  printAt(g, 24, cast.inBattle ? 8 : 14, casterName(g, cast));
  con.PRINT(" は "_sj);
  con.PRINT(g.SpellName(cast.spell));
  con.PRINT(" を唱えた"_sj);
  TMWAIT(g);
}

// What keeps the caster's spells from working in battle.
int sealOnCaster(const Game& g, const SpellCast& cast) {
  if (!cast.inBattle) return kUnsealed;
  if (cast.byMonster) {
    return digit(g.BattleMonsters(cast.casterGroup, cast.casterPlace, MonsterSealed), 0);
  }
  const int row = battleRowOf(g, cast.caster);
  if (row >= 0 && g.BattleParty(row, SpellsSealed) == 1) return kStolen;
  return kUnsealed;
}

bool isBattleOnlyHolyKind(const SpellCast& cast) {
  return cast.kind == kHolySpells && cast.effect >= 5 && cast.effect <= 11;
}

void raiseMiracle(Game& g, const SpellCast& cast) {
  g.SysWord(MiracleEffect) = static_cast<float>(cast.target);
  g.SysWord(MiracleTarget) = 0;
  MIRACLE(g);
}

// A monster's spell only ever works against the party; a member's helps
// the party or works against the monsters of the battle.
void dispatch(Game& g, const SpellCast& cast) {
  if (cast.byMonster) {
    castMemberEffect(g, cast);
    return;
  }
  if (cast.effect == 14) {
    if (cast.kind == kHolySpells) {
      castReturnToTown(g, cast);
    } else {
      castTeleport(g, cast);
    }
    return;
  }
  if (!castPartyEffect(g, cast) && cast.inBattle) castMonsterEffect(g, cast);
}

}  // namespace

void SPL(Game& g) {
  const SpellCast cast = decodeCast(g);
  if (cast.inBattle) clearBattleMessages(g);
  announce(g, cast);
  switch (sealOnCaster(g, cast)) {
    case kSealed:
      sayLine(g, cast, {"しかし呪文は封じられている"_sj});
      return;
    case kStolen:
      sayLine(g, cast, {"しかし呪文は失われている"_sj});
      return;
    default:
      break;
  }
  if (cast.effect == kMiracle) {
    raiseMiracle(g, cast);
    return;
  }
  if (!cast.inBattle && isBattleOnlyHolyKind(cast)) return;
  dispatch(g, cast);
  g.con.COLOR(6);
}

}  // namespace kestrun::game
