#include "game/party/spell_actions.h"

#include <optional>

#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/sheet.h"
#include "game/character/status_panel.h"
#include "game/party/item_actions.h"
#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/spells/miracle.h"
#include "game/spells/spell_cast.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMiracle = 15;
constexpr int kMovesParty = 14;
constexpr int kLevelRestore = 18;
constexpr int kNoSpellSquare = 5;
constexpr float kInRock = 8000;
constexpr float kIntoTheSky = 9000;

bool inTown(const Game& g) {
  return g.GameState(FloorAndFacing) < 100;
}

// Spells that only work against monsters are kept for battle.
bool isBattleSpell(int kind, int effect) {
  if (kind == kHolySpells) return (effect >= 4 && effect <= 12) || effect == 17;
  return effect < kMovesParty;
}

// What may be cast in town: a caster's healing, curing, level restoring and
// miracles; from an item only the healing and the miracle.
bool isAllowedInTown(int kind, int effect, bool fromItem) {
  if (kind == kMagicSpells) return effect == kMiracle;
  if (fromItem) return effect < 3 || effect > 17;
  return effect == 1 || effect == 2 || effect == kMiracle || effect == kLevelRestore;
}

bool mayCastHere(const Game& g, int spell, bool fromItem) {
  const int kind = spellKindOf(spell);
  const int effect = spellEffect(g, spell);
  if (isBattleSpell(kind, effect)) return false;
  return !inTown(g) || isAllowedInTown(kind, effect, fromItem);
}

// A floor that blocks spells, or a no-spell square, swallows an ordinary
// spell (not a miracle).
bool spellsAreBlocked(const Game& g) {
  if (inTown(g)) return false;
  const int x = rt::toInt32(rt::INT(g.GameState(Square) / 100));
  const int y = rt::MOD(g.GameState(Square), 100);
  return g.FloorHeader(SpellsBlocked) == 1 ||
         rt::MOD(g.FloorMap(x, y, SquareLayer), 100) == kNoSpellSquare;
}

// The member a spell is meant for, chosen from the status panel; nothing
// when the player goes back.
std::optional<int> askSpellTarget(Game& g) {
  rt::Console& con = g.con;
  blankLines(g, 13, 23);
  const float panelRow = g.SysWord(PanelRow);
  g.SysWord(PanelRow) = 13;
  HYOJI(g);
  g.SysWord(PanelRow) = panelRow;
  const int members = partySize(g);
  con.COLOR(7);
  for (int p = 1; p <= members; ++p) {
    con.LOCATE(9, 13 + p);
    con.PRINT_USING("##", {static_cast<int16_t>(p)});
  }
  con.COLOR(6);
  printAt(g, 23, 22, "呪文の対象はだれにしますか ?    "_sj);
  con.LOCATE(39, 23);
  con.PRINT_USING("@#@",
                  {std::string("Hit 0 - "), static_cast<int16_t>(members), std::string(" Key")});
  for (;;) {
    const std::optional<int> key = digitKey(con.waitKey(), members);
    if (!key) continue;
    if (*key == 0) return std::nullopt;
    return memberSlot(g, *key);
  }
}

// SysWord(SpellCasterTarget) for the spell: the party, the caster himself, or a member
// the player names; false when he goes back.
bool chooseTarget(Game& g, int actor, int spell) {
  const int effect = spellEffect(g, spell);
  const double scope = g.SpellTable(spell, SpellScope);
  const bool holy = spellKindOf(spell) == kHolySpells;
  int target = 0;
  if (!holy || (effect != kLevelRestore && (effect > 5 || scope == 3))) {
    target = 0;
  } else if (effect < 6 && scope == 1) {
    target = actor;
  } else {
    const std::optional<int> chosen = askSpellTarget(g);
    if (!chosen) return false;
    target = *chosen;
  }
  g.SysWord(SpellCasterTarget) = static_cast<float>(actor * 100 + target);
  return true;
}

// Outside battle the miracles against monsters, and the armour of battle,
// have nobody to act on.
bool isBattleMiracle(int effect) {
  return effect == 1 || effect == 2 || effect == 6;
}

// A miracle is no spell of the floor's: a floor or square that swallows
// spells lets it work.
void performMiracle(Game& g, int actor, int position) {
  const int effect = rt::toInt32(g.SysWord(MiracleEffect));
  if (isBattleMiracle(effect)) return;
  blankLines(g, 13, 23);
  g.SysWord(SpellCasterTarget) = static_cast<float>(actor * 100);
  g.SysWord(MiracleTarget) = static_cast<float>(position);
  MIRACLE(g);
}

void castWithSpl(Game& g, int spell) {
  if (spellsAreBlocked(g)) return;
  // The spell's words have the lower screen to themselves.
  blankLines(g, 13, 23);
  g.SysWord(SpellCode) = static_cast<float>(spell);
  SPL(g);
}

void sayThrownIntoTheSky(Game& g) {
  if (g.SysWord(Outcome) != kIntoTheSky) return;
  printAt(g, 27, 9, "空中に飛び出してしまった !"_sj);
  TMWAIT(g);
  g.con.WAIT(100);
}

// The least experience of the level the caster now has.
void dropToLevelStart(Game& g, int actor) {
  const int level = levelOf(g, actor);
  double floor = 0;
  if (level > 1) {
    const float record = g.CharRec(actor, LevelAndFloor);
    g.CharRec(actor, LevelAndFloor) = record - 1;
    g.SysWord(ActingSlot) = static_cast<float>(actor);
    LVCALC(g);
    g.CharRec(actor, LevelAndFloor) = record;
    floor = g.WorkLong(NextLevelExperience);
  }
  int32_t& experience = g.CharLong(actor, Experience);
  if (experience > floor) experience = rt::toInt32(floor);
}

void payAfterCast(Game& g, int actor, int spell) {
  const float flags = g.SpellTable(spell, SpellKindAndListing);
  if (digit(flags, 4) % 2 == 1) dropToLevelStart(g, actor);
  if (flags >= 20000) setSpellKnown(g, actor, spell, false);
}

// Which of his spells the caster casts: 0 when he goes back.
int askSpell(Game& g, int actor) {
  rt::Console& con = g.con;
  blankLines(g, 22, 23);
  g.SysWord(SpellMenuRow) = 23;
  g.SysWord(SpellListRow) = 14;
  SPS(g);
  const float kind = g.SysWord(SpellKindChosen);
  const int count = rt::toInt32(g.SysWord(SpellEntries));
  printAt(g, 25, 23, "1 -");
  con.PRINT(static_cast<int16_t>(count));
  con.PRINT("     0 で戻る"_sj);
  for (;;) {
    con.COLOR(7);
    const double answer = askNumber(g, 19, 22, "どの呪文を唱えますか ?  "_sj);
    con.COLOR(6);
    if (answer == 0) {
      blankLines(g, 13, 23);
      return 0;
    }
    if (answer < 1 || answer > count) continue;
    g.SysWord(ActingSlot) = static_cast<float>(actor);
    g.SysWord(SpellKindChosen) = kind;
    g.SysWord(SpellEntry) = static_cast<float>(rt::INT(answer));
    SPK(g);
    const int spell = rt::toInt32(g.SysWord(SpellEntry));
    if (spell != 0 && mayCastHere(g, spell, false)) return spell;
  }
}

void pay(Game& g, int actor, int spell) {
  g.SysWord(ActingSlot) = static_cast<float>(actor);
  g.SysWord(SpellCode) = static_cast<float>(spell);
  SPU(g);
}

// An item is used from its slot: worn, unless it is of the kind used
// without being worn. 0 when the player goes back.
int askItemToUse(Game& g, int actor, bool mustBeWorn) {
  showItemChoice(g, actor, "1 - ");
  for (;;) {
    const int slot = askItemSlot(g, actor, 21, "どのアイテムを使いますか ?  "_sj);
    if (slot == 0) return 0;
    const float value = itemSlot(g, actor, slot);
    const bool unworn = itemKind(g, itemNumber(value)) == UsedWithoutEquippingKind;
    if (isWorn(value) || (unworn && !mustBeWorn)) return slot;
    refuse(g, 21, 22, "このアイテムは装備していないと使えません"_sj);
  }
}

// With `chance` percent the item turns into its remains, unless the spell
// itself has already taken it from its slot.
void mayBreak(Game& g, int actor, int slot, float used, double chance) {
  if (partyPositionOf(g, actor) == 0 || itemSlot(g, actor, slot) != used) return;
  if (!(g.con.random().RND(1) * 100 < chance)) return;
  const float outcome = g.SysWord(Outcome);
  g.SysWord(ActingSlot) = static_cast<float>(actor);
  g.SysWord(BreakingSlot) = static_cast<float>(slot);
  ITBR(g);
  g.SysWord(Outcome) = outcome;
  g.SysWord(ActingSlot) = static_cast<float>(actor);
  IHYJ(g);
}

// A spell raised by an item: no cost, nothing forgotten. False when the
// item was not used after all: its spell is refused here, or the player
// went back at the target question.
bool castFromItem(Game& g, int actor, int spell) {
  if (!mayCastHere(g, spell, true)) return false;
  if (spellEffect(g, spell) == kMiracle) {
    g.SysWord(MiracleSpell) = static_cast<float>(spell);
    blankLines(g, 13, 23);
    MRCH(g);
    performMiracle(g, actor, 0);
    return true;
  }
  if (!chooseTarget(g, actor, spell)) return false;
  castWithSpl(g, spell);
  if (spellEffect(g, spell) == kMovesParty) sayThrownIntoTheSky(g);
  return true;
}

}  // namespace

void castSpell(Game& g, int actor) {
  const int spell = askSpell(g, actor);
  if (spell == 0) return;
  const int effect = spellEffect(g, spell);
  if (effect == kMiracle) {
    g.SysWord(MiracleSpell) = static_cast<float>(spell);
    blankLines(g, 13, 23);
    MRCH(g);
    pay(g, actor, spell);
    performMiracle(g, actor, 0);
  } else {
    if (!chooseTarget(g, actor, spell)) return;
    pay(g, actor, spell);
    castWithSpl(g, spell);
  }
  payAfterCast(g, actor, spell);
  if (effect == kMovesParty) sayThrownIntoTheSky(g);
}

void useItem(Game& g, int actor) {
  const int slot = askItemToUse(g, actor, false);
  if (slot == 0) return;
  const float used = itemSlot(g, actor, slot);
  const double field = g.ItemTable(itemNumber(used), ItemSpell);
  const int spell = rt::MOD(field, 100);
  if (spell == 0) return;
  if (!castFromItem(g, actor, spell)) return;
  mayBreak(g, actor, slot, used, rt::INT(field / 100));
}

void useItemPower(Game& g, int actor) {
  const int slot = askItemToUse(g, actor, true);
  if (slot == 0) return;
  const float used = itemSlot(g, actor, slot);
  const double field = g.ItemTable(itemNumber(used), ItemPowerField);
  const int power = rt::MOD(field, 100);
  if (power == 0) return;
  g.SysWord(MiracleEffect) = static_cast<float>(power);
  // A power for one member works on its wearer.
  const bool forAll = isBattleMiracle(power) || (power == 9 && inTown(g));
  performMiracle(g, actor, forAll ? 0 : partyPositionOf(g, actor));
  mayBreak(g, actor, slot, used, rt::INT(field / 100));
}

bool partyHasMoved(const Game& g, int actor, bool wasInDungeon) {
  const float outcome = g.SysWord(Outcome);
  if (outcome == kInRock || outcome == kIntoTheSky) return true;
  if (wasInDungeon && inTown(g)) return true;
  return partyPositionOf(g, actor) == 0;
}

}  // namespace kestrun::game
