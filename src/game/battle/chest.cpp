#include "game/battle/chest.h"

#include <functional>
#include <optional>
#include <string>

#include "game/battle/battle_common.h"
#include "game/battle/chest_parts.h"
#include "game/battle/treasure_rules.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/position.h"
#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

// The chest after a victory: found or not, its trap drawn, the party's
// choices at it, and the gold.
namespace kestrun::game {

using namespace rt::literals;
using namespace treasure_rules;

namespace {

constexpr int kGuardian = 4;
constexpr int kNoSpellSquare = 5;
constexpr int kFirstHolySpell = 1;
constexpr int kFirstMagicSpell = 41;
constexpr int kIdentifyEffect = 17;
constexpr int kRemoveEffect = 18;
constexpr int kMaxKeysDropped = 50;

enum Choice { kLeave = 0, kOpen = 1, kDisarm = 2, kInspect = 3, kIdentify = 4, kRemove = 5 };

// Where an attempt at the chest leads.
enum class Next { Menu, Contents, CalledMonsters };

struct ChestSpells {
  int identify = 0;  // 0: the scenario has no such spell
  int remove = 0;
};

void pauseBriefly(Game& g) {
  g.con.WAIT(20);
}

// The first spell of the range, usable in the field (kind 1), with the
// effect.
int firstSpellWithEffect(const Game& g, int first, int effect) {
  for (int s = first; s < first + 40; ++s) {
    if (rt::MOD(g.SpellTable(s, SpellKindAndListing), 10) == 1 && spellEffect(g, s) == effect)
      return s;
  }
  return 0;
}

bool spellsWork(const Game& g) {
  return g.FloorHeader(SpellsBlocked) != 1 && squareCode(g) != kNoSpellSquare;
}

const std::string& trapName(const Game& g, int trap) {
  return g.TrapName(trap);
}

// --- whether there is a chest -------------------------------------------

// The treasure class the chest's trap is drawn from, or nothing when the
// monsters leave no chest.
std::optional<int> chestClass(const Game& g, const Chest& chest) {
  int k = 0;
  if (chest.kind != kGuardian) {
    const bool byDoor = g.SysWord(DoorKeyUsed) != 0 && chest.kind >= 3;
    k = treasureClass(g, chest.monster, byDoor ? MonsterTreasure : MonsterGold);
    if (k < kFirstChestClass) return std::nullopt;
  }
  const int code = squareCode(g);
  if ((code == 10 || code == 15 || code == 20) && squareParameter(g, WestBoundary) == 0)
    return std::nullopt;
  return k;
}

void discardWaitingKeys(Game& g) {
  for (int k = 0; k < kMaxKeysDropped && !g.con.INKEY().empty(); ++k) {
  }
}

void announceChest(Game& g) {
  blankArea(g, 4, 0, 15, 75);
  for (int p = 1; p <= partySize(g); ++p) g.SysWord(FirstTrapTried + p - 1) = 0;
  discardWaitingKeys(g);
  clearGroupFrame(g);
  g.con.COLOR(6);
  sayAt(g, 29, 4, {"宝箱が見つかりました"_sj});
}

// --- the menu -------------------------------------------------------------

int highestChoice(const ChestSpells& spells) {
  return 3 + (spells.identify != 0) + (spells.remove != 0);
}

void showMenu(Game& g, const ChestSpells& spells) {
  rt::Console& con = g.con;
  blankArea(g, 4, 0, 15, 75);
  con.COLOR(7);
  for (int p = 1; p <= partySize(g); ++p) {
    con.LOCATE(10, 15 + p);
    con.PRINT_USING("#", {static_cast<float>(p)});
  }
  con.COLOR(6);
  printAt(g, 29, 4, "宝箱をどうしますか ?"_sj);
  printAt(g, 29, 6, "０　その場に放置する"_sj);
  printAt(g, 29, 7, "１　強引に開ける"_sj);
  printAt(g, 29, 8, "２　罠を解除する"_sj);
  printAt(g, 29, 9, "３　罠の判別を試みる"_sj);
  if (spells.identify != 0) printAt(g, 29, 10, "４　判別の呪文を唱える"_sj);
  if (spells.remove != 0) {
    printAt(g, 29, 11, spells.identify != 0 ? "５"_sj : "４"_sj);
    printAt(g, 33, 11, "解除の呪文を唱える"_sj);
  }
}

Choice askChoice(Game& g, const ChestSpells& spells) {
  const int highest = highestChoice(spells);
  for (;;) {
    g.con.LOCATE(32, 13);
    g.con.PRINT("Hit 0 -");
    g.con.PRINT(static_cast<float>(highest));
    g.con.PRINT("Key");
    g.KeyAnswer = g.con.waitKey();
    const std::optional<int> key = digitKey(g.KeyAnswer, highest);
    if (!key) continue;
    if (*key == kIdentify && spells.identify == 0) return kRemove;
    return static_cast<Choice>(*key);
  }
}

// --- who tries ---------------------------------------------------------------

struct Question {
  const std::string& text;
  int keyColumn;
  // A further reason to turn the member at a position away.
  std::function<bool(int)> refuses;
};

// The member who tries, or 0 to go back to the menu.
int chooseMember(Game& g, const Question& q) {
  const int size = partySize(g);
  int p = 1;
  if (size == 1) {
    if (!isAbleToAct(g, memberSlot(g, 1)) || (q.refuses && q.refuses(1))) return 0;
  } else {
    for (;;) {
      g.con.LOCATE(q.keyColumn, 9);
      g.con.PRINT("Hit 1 -");
      g.con.PRINT(static_cast<float>(size));
      g.con.PRINT("Key      0 で戻る"_sj);
      printAt(g, 24, 7, q.text);
      g.KeyAnswer = g.con.waitKey();
      const std::optional<int> key = digitKey(g.KeyAnswer, size);
      if (!key) continue;
      if (*key == 0) return 0;
      if (!isAbleToAct(g, memberSlot(g, *key)) || (q.refuses && q.refuses(*key))) continue;
      p = *key;
      break;
    }
  }
  blankColumns(g, 24, 7, 50);
  blankColumns(g, 29, 9, 40);
  return p;
}

// A caster of `spell` needs to know it and to have the points for it.
std::function<bool(int)> unableToCast(Game& g, int spell) {
  return [&g, spell](int p) {
    const int c = memberSlot(g, p);
    return !knowsSpell(g, c, spell) || !hasPointsFor(g, c, spell);
  };
}

void paySpell(Game& g, int p, int spell) {
  g.SysWord(ActingSlot) = static_cast<float>(memberSlot(g, p));
  g.SysWord(SpellCode) = static_cast<float>(spell);
  SPU(g);
}

// --- what the party learns of the trap -------------------------------------

void report(Game& g, int trap) {
  g.con.LOCATE(24, 6);
  if (trap == kNoTrap) {
    g.con.PRINT("罠は仕掛けられていない"_sj);
  } else {
    g.con.PRINT("罠は "_sj);
    g.con.PRINT(trapName(g, trap));
    g.con.PRINT(" です"_sj);
  }
}

// The report beside the member's place on the panel, in the colour of the
// way it was learned.
Next noteReport(Game& g, int p, Choice how, int trap) {
  g.con.COLOR(3 + static_cast<int>(how));
  const std::string note = trap == kNoTrap ? "罠は無い"_sj : rt::LEFT(trapName(g, trap), 12);
  printAt(g, 67, 15 + p, note);
  g.con.COLOR(6);
  TMWAIT(g);
  return Next::Menu;
}

Next reportAndNote(Game& g, int p, Choice how, int trap, bool truthful) {
  const int reported = truthful ? trap : drawReportedTrap(g, g.con.random());
  report(g, reported);
  return noteReport(g, p, how, reported);
}

// --- the attempts ------------------------------------------------------------

Next springOn(Game& g, const Chest& chest, int p, int column, int row) {
  g.con.LOCATE(column, row);
  g.con.PRINT(trapName(g, chest.trap));
  g.con.PRINT(" の罠が作動してしまった !"_sj);
  pauseBriefly(g);
  TMWAIT(g);
  springTrap(g, chest.trap, p);
  return g.SysWord(BattleChain) == 1 ? Next::CalledMonsters : Next::Contents;
}

Next sayNoTrap(Game& g, int column, int row) {
  sayAt(g, column, row, {"宝箱に罠は無かった"_sj});
  return Next::Contents;
}

Next open(Game& g, const Chest& chest) {
  const int p = chooseMember(g, {"誰が宝箱を開けますか ?"_sj, 29, nullptr});
  if (p == 0) return Next::Menu;
  if (chest.trap == kNoTrap) return sayNoTrap(g, 24, 6);
  return springOn(g, chest, p, 24, 6);
}

void blankTrapList(Game& g) {
  blankArea(g, 4, 0, 15, 70);
}

// The trap the disarmer names from the list of the scenario's traps, or
// nothing when he goes back.
std::optional<int> nameTrap(Game& g, int p) {
  blankTrapList(g);
  std::vector<int> traps;
  for (int t = 0; t < kChestTraps; ++t) {
    if (!trapExists(g, t)) continue;
    traps.push_back(t);
    g.con.LOCATE(13, static_cast<double>(traps.size()) - 1);
    g.con.PRINT_USING("##@@", {static_cast<float>(traps.size()), std::string(" "), g.TrapName(t)});
  }
  const int count = static_cast<int>(traps.size());
  printAt(g, 41, 9, g.CharName(memberSlot(g, p)) + " は"_sj);
  g.con.LOCATE(45, 13);
  g.con.PRINT("0 -");
  g.con.PRINT(static_cast<float>(count));
  g.con.PRINT("     0 で戻る"_sj);
  double answer = -1;
  while (answer < 0 || answer >= count + 1) {
    blankColumns(g, 39, 11, 41);
    g.con.LOCATE(39, 11);
    g.KeyAnswer = g.con.inputString("どの罠を解除しますか ?  "_sj);
    answer = answerValue(g.KeyAnswer);
  }
  blankTrapList(g);
  const int k = rt::toInt32(rt::INT(answer));
  if (k == 0) return std::nullopt;
  return traps[k - 1];
}

Next disarm(Game& g, const Chest& chest) {
  const int p = chooseMember(g, {"誰が罠を解除しますか ?"_sj, 28, nullptr});
  if (p == 0) return Next::Menu;
  const std::optional<int> named = nameTrap(g, p);
  if (!named) return Next::Menu;
  if (chest.trap == kNoTrap) return sayNoTrap(g, 26, 9);
  const int c = memberSlot(g, p);
  if (*named == chest.trap) {
    const double scaleDraw = randomDraw(g) * (g.SysWord(StatScale) * 50);
    const double difficulty = rt::MOD(g.TrapTable(chest.trap, TrapDifficulty), 10);
    if (beatsTrap(battleStat(g, p, Dexterity), trapSkillFactor(g, c), scaleDraw, difficulty,
                  4 * difficultyWeight(g.Setting(AgeingAndChest)))) {
      sayAt(g, 26, 9, {"罠の解除に成功した"_sj});
      return Next::Contents;
    }
    sayAt(g, 26, 9, {"罠は解除できなかった"_sj});
    return Next::Menu;
  }
  if (battleStat(g, p, Luck) > randomDraw(g) * (g.SysWord(StatScale) * 5 + 10)) {
    sayAt(g, 26, 9, {"罠は解除できなかった"_sj});
    return Next::Menu;
  }
  sayAt(g, 26, 9, {"罠は "_sj, trapName(g, chest.trap), " だった"_sj});
  return springOn(g, chest, p, 26, 9);
}

Next inspect(Game& g, const Chest& chest) {
  const auto inspectedAlready = [&g](int p) { return g.SysWord(FirstTrapTried + p - 1) == 1; };
  const int p = chooseMember(g, {"誰が罠の判別をしますか ?"_sj, 29, inspectedAlready});
  if (p == 0) return Next::Menu;
  g.SysWord(FirstTrapTried + p - 1) = 1;
  const double difficulty =
      chest.trap == kNoTrap ? 1 : rt::MOD(g.TrapTable(chest.trap, TrapDifficulty), 10);
  const double scaleDraw = randomDraw(g) * (g.SysWord(StatScale) * 50);
  const bool fails = missesTrap(battleStat(g, p, Dexterity), trapSkillFactor(g, memberSlot(g, p)),
                                scaleDraw, difficulty, difficultyWeight(g.Setting(WeaponReach)));
  return reportAndNote(g, p, kInspect, chest.trap, !fails);
}

Next castIdentify(Game& g, const Chest& chest, int spell) {
  const int p = chooseMember(g, {"誰が判別の呪文を唱えますか ?"_sj, 29, unableToCast(g, spell)});
  if (p == 0) return Next::Menu;
  paySpell(g, p, spell);
  if (!spellsWork(g)) return Next::Menu;
  const bool truthful = g.SpellTable(spell, SpellScope) > randomDraw(g) * 100;
  return reportAndNote(g, p, kIdentify, chest.trap, truthful);
}

Next castRemove(Game& g, int spell) {
  const int p = chooseMember(g, {"誰が解除の呪文を唱えますか ?"_sj, 29, unableToCast(g, spell)});
  if (p == 0) return Next::Menu;
  paySpell(g, p, spell);
  blankColumns(g, 24, 7, 50);
  blankColumns(g, 26, 9, 43);
  const bool misses = g.SpellTable(spell, SpellScope) < randomDraw(g) * 100;
  if (misses || !spellsWork(g)) {
    sayAt(g, 26, 9, {"罠は解除できなかった"_sj});
    return Next::Menu;
  }
  sayAt(g, 26, 9, {"罠の解除に成功した"_sj});
  return Next::Contents;
}

Next tryChoice(Game& g, const Chest& chest, const ChestSpells& spells, Choice choice) {
  switch (choice) {
    case kOpen:
      return open(g, chest);
    case kDisarm:
      return disarm(g, chest);
    case kInspect:
      return inspect(g, chest);
    case kIdentify:
      return castIdentify(g, chest, spells.identify);
    case kRemove:
      return castRemove(g, spells.remove);
    case kLeave:
      break;
  }
  return Next::Menu;
}

// The party's attempts until the chest is opened or left.
Next workAtChest(Game& g, const Chest& chest) {
  const ChestSpells spells{firstSpellWithEffect(g, kFirstHolySpell, kIdentifyEffect),
                           firstSpellWithEffect(g, kFirstMagicSpell, kRemoveEffect)};
  for (;;) {
    showMenu(g, spells);
    const Choice choice = askChoice(g, spells);
    if (choice == kLeave) return Next::Menu;
    blankArea(g, 4, 2, 13, 75);
    const Next next = tryChoice(g, chest, spells, choice);
    if (next != Next::Menu) return next;
  }
}

void leaveChest(Game& g) {
  blankArea(g, 4, 0, 12, 75);
  for (int p = 1; p <= partySize(g); ++p) blankColumns(g, 10, 15 + p, 1);
}

void handOutContents(Game& g, const Chest& chest) {
  handOutItems(g, chest);
  handOutGold(g, chest);
}

}  // namespace

void chestAndGold(Game& g) {
  Chest chest;
  chest.members = rt::toInt32(rt::INT(g.SysWord(BattleKind) / 10));
  chest.kind = rt::MOD(g.SysWord(BattleKind), 10);
  g.SysWord(BattleKind) = static_cast<float>(chest.kind);
  chest.monster = rt::toInt32(rt::INT(g.GroupKills(LeadGroup) / 100));
  if (g.SysWord(BattleChain) == 1) {
    g.SysWord(BattleChain) = 0;
    handOutContents(g, chest);
  } else if (const std::optional<int> k = chestClass(g, chest)) {
    chest.trap = drawChestTrap(g, g.con.random(), *k);
    announceChest(g);
    if (workAtChest(g, chest) == Next::Contents) handOutContents(g, chest);
  } else {
    handOutGold(g, chest);
  }
  leaveChest(g);
}

}  // namespace kestrun::game
