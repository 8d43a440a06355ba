#include "game/spells/catalogue.h"

#include <algorithm>
#include <array>
#include <string>

#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kLastHolySpell = 40;
constexpr int kLastSpell = 80;
constexpr int kHighestLevel = 9;

// When a spell of an effect kind can be cast.
enum class Timing { Always, InBattle, OutsideBattle };

struct EffectText {
  const char* text;
  Timing timing;
};

// Per effect kind 1..18: the holy text, then the magic text.
constexpr std::array<std::array<EffectText, 2>, 18> kEffectTexts{{
    {{{"ＨＰの回復", Timing::Always}, {"火炎でダメージを与える", Timing::InBattle}}},
    {{{"状態の回復", Timing::Always}, {"吹雪でダメージを与える", Timing::InBattle}}},
    {{{"味方のＡＣを下げる", Timing::Always}, {"爆発・電撃でダメージ", Timing::InBattle}}},
    {{{"味方の能力値を増す(一回の戦闘)", Timing::Always},
      {"能力値の放射でダメージ", Timing::InBattle}}},
    {{{"攻撃の命中率を増す", Timing::InBattle}, {"敵を確実に消滅させる", Timing::InBattle}}},
    {{{"敵にダメージを与える", Timing::InBattle}, {"敵を死亡させる", Timing::InBattle}}},
    {{{"敵のＨＰを奪って回復", Timing::InBattle}, {"敵の状態を変える", Timing::InBattle}}},
    {{{"敵を麻痺させる", Timing::InBattle}, {"敵の特殊能力を無くす", Timing::InBattle}}},
    {{{"敵を死亡させる", Timing::InBattle}, {"敵のＡＣを増加させる", Timing::InBattle}}},
    {{{"敵の呪文能力を無くす", Timing::InBattle}, {"味方のＡＣを減少する", Timing::InBattle}}},
    {{{"敵の呪文の残りを奪う", Timing::InBattle},
      {"味方の能力値を増す(一回の戦闘)", Timing::Always}}},
    {{{"敵の呪文抵抗力を減す", Timing::InBattle}, {"味方の武器の力を増す", Timing::InBattle}}},
    {{{"敵の正体を知る", Timing::Always}, {"敵の呪文から守る", Timing::InBattle}}},
    {{{"街にテレポートで戻る", Timing::Always}, {"テレポートする", Timing::Always}}},
    {{{"奇跡を起こす", Timing::Always}, {"奇跡を起こす", Timing::Always}}},
    {{{"迷宮内を明るくする", Timing::Always}, {"特殊な移動をする", Timing::OutsideBattle}}},
    {{{"罠の種類を判別する", Timing::OutsideBattle}, {"位置を確認する", Timing::OutsideBattle}}},
    {{{"失ったレベルの回復", Timing::OutsideBattle},
      {"宝箱の罠を解除する", Timing::OutsideBattle}}},
}};

std::string effectDescription(const Game& g, int spell) {
  const int effect = spellEffect(g, spell);
  if (effect < 1 || effect > static_cast<int>(kEffectTexts.size())) return {};
  const EffectText& e = kEffectTexts[effect - 1][spellKindOf(spell)];
  std::string text = rt::toShiftJis(e.text);
  if (e.timing == Timing::InBattle) text += "(戦闘中)"_sj;
  if (e.timing == Timing::OutsideBattle) text += "(非戦闘時)"_sj;
  return text;
}

// Spell view: holy spells from the left, magic spells from column 40, twenty
// to a column.
void showSpellColumns(Game& g, const std::vector<int>& spells, int firstNumber, int leftColumn) {
  for (int m = 1; m <= static_cast<int>(spells.size()); ++m) {
    g.con.LOCATE((m - 1) / 20 * 20 + leftColumn, (m - 1) % 20);
    g.con.COLOR(7);
    g.con.PRINT_USING("##", {static_cast<int16_t>(firstNumber + m - 1)});
    g.con.COLOR(6);
    g.con.PRINT(rt::LEFT(g.SpellName(spells[m - 1]), 18));
  }
}

void describeSpell(Game& g, int spell) {
  blankColumns(g, 9, 21, 60);
  blankColumns(g, 9, 23, 60);
  printAt(g, 7, 21, g.SpellName(spell));
  printAt(g, 27, 21, spellKindOf(spell) == kHolySpells ? "神聖呪文"_sj : "魔法呪文"_sj);
  printAt(g, 37, 21, "レベル"_sj);
  g.con.PRINT(static_cast<int16_t>(spellLevel(g, spell)));
  if (g.Setting(SpellSchools) == 1) {
    printAt(g, 27, 22, "所属する呪文系統 "_sj);
    const int school = spellSchool(g, spell);
    if (school == 0) {
      g.con.PRINT(" すべて"_sj);
    } else {
      g.con.PRINT(static_cast<int16_t>(school));
    }
  }
  if (g.Setting(SpellPointMode) == 2) {
    printAt(g, 57, 22, "必要ＭＰ"_sj);
    g.con.PRINT(static_cast<int32_t>(spellPointCost(g, spell)));
  }
  printAt(g, 49, 21, effectDescription(g, spell));
}

// The number of the spell to describe, or 0 to leave.
int askSpellNumber(Game& g, int total) {
  for (;;) {
    const double answer = askNumber(g, 27, 21, "どの呪文 ?  "_sj);
    if (answer >= 0 && answer <= total) return rt::toInt32(rt::INT(answer));
  }
}

// Casting list: the kind is asked only of a caster with points of both.
int automaticKind(const Game& g, int caster) {
  if (g.CharLong(caster, HolyPointsMax) == 0) return kMagicSpells;
  if (g.CharLong(caster, MagicPointsMax) == 0) return kHolySpells;
  return -1;
}

void showKindQuestion(Game& g, int row, int shift) {
  printAt(g, 23, row - shift - 1, "どちらの呪文を唱えますか ?"_sj);
  printAt(g, 23, row, "1 神聖呪文    2 魔法呪文"_sj);
  printAt(g, 59 - 30 * shift, row + 2 * shift, "Hit 1 - 2 Key");
}

int readKindKey(Game& g, int row) {
  int kind = -1;
  while (kind < 0) {
    g.KeyAnswer = g.con.waitKey();
    if (g.KeyAnswer == "1") kind = kHolySpells;
    if (g.KeyAnswer == "2") kind = kMagicSpells;
  }
  blankColumns(g, 23, row - 1, 50);
  blankColumns(g, 17, row, 50);
  return kind;
}

int nameWidthFor(int count) {
  if (count > 32) return 10;
  if (count > 24) return 14;
  return 18;
}

int castingCost(const Game& g, int spell) {
  return g.Setting(SpellPointMode) == 1 ? spellLevel(g, spell) : spellPointCost(g, spell);
}

int showKnownSpells(Game& g, int caster, const std::vector<int>& spells, int firstRow) {
  rt::Console& con = g.con;
  const int width = nameWidthFor(static_cast<int>(spells.size()));
  int entries = 0;
  for (int spell : spells) {
    if (!knowsSpell(g, caster, spell)) continue;
    ++entries;
    con.LOCATE((entries - 1) / 8 * (width + 6), (entries - 1) % 8 + firstRow - 1);
    con.COLOR(7);
    con.PRINT_USING("##", {static_cast<int16_t>(entries)});
    con.PRINT(" ");
    con.COLOR(6);
    // The cost follows the name directly: a short name is not padded.
    con.PRINT(rt::LEFT(g.SpellName(spell), width));
    con.COLOR(4);
    con.PRINT_USING("##", {static_cast<int16_t>(castingCost(g, spell))});
  }
  return entries;
}

}  // namespace

int spellKindOf(int spell) {
  return spell <= kLastHolySpell ? kHolySpells : kMagicSpells;
}

bool isListedSpell(const Game& g, int spell) {
  const float code = g.SpellTable(spell, SpellKindAndListing);
  return rt::MOD(code, 10) != 0 && rt::MOD(rt::INT(code / 10), 1000) != 0;
}

int spellLevel(const Game& g, int spell) {
  return rt::MOD(g.SpellTable(spell, SpellLevel), 10);
}

int spellSchool(const Game& g, int spell) {
  return digit(g.SpellTable(spell, SpellLevel), 2);
}

int spellPointCost(const Game& g, int spell) {
  return rt::toInt32(rt::INT(g.SpellTable(spell, SpellLevel) / 1000));
}

int spellEffect(const Game& g, int spell) {
  return rt::toInt32(g.SpellTable(spell, SpellEffect));
}

std::vector<int> listedSpells(const Game& g, int kind) {
  const int first = kind == kHolySpells ? 1 : kLastHolySpell + 1;
  const int last = kind == kHolySpells ? kLastHolySpell : kLastSpell;
  std::vector<int> spells;
  for (int level = 1; level <= kHighestLevel; ++level) {
    for (int spell = first; spell <= last; ++spell) {
      if (isListedSpell(g, spell) && spellLevel(g, spell) == level) spells.push_back(spell);
    }
  }
  return spells;
}

void SPR(Game& g) {
  const std::vector<int> holy = listedSpells(g, kHolySpells);
  const std::vector<int> magic = listedSpells(g, kMagicSpells);
  const int total = static_cast<int>(holy.size() + magic.size());
  g.con.CLS();
  showSpellColumns(g, holy, 1, 0);
  showSpellColumns(g, magic, static_cast<int>(holy.size()) + 1, 40);
  for (;;) {
    blankLines(g, 21, 23);
    g.con.COLOR(7);
    printAt(g, 35, 23, "Input  0  - ");
    g.con.PRINT(static_cast<int16_t>(total));
    g.con.PRINT("     0  戻る"_sj);
    const int number = askSpellNumber(g, total);
    if (number == 0) return;
    const int holyCount = static_cast<int>(holy.size());
    describeSpell(g, number <= holyCount ? holy[number - 1] : magic[number - holyCount - 1]);
    g.con.COLOR(6);
    printAt(g, 35, 23, "Hit Any Key");
    g.KeyAnswer = g.con.waitKey();
  }
}

void SPS(Game& g) {
  const int caster = rt::toInt32(g.SysWord(ActingSlot));
  const int questionRow = rt::toInt32(g.SysWord(SpellMenuRow));
  const int firstRow = rt::toInt32(g.SysWord(SpellListRow));
  int kind = automaticKind(g, caster);
  if (kind < 0) {
    showKindQuestion(g, questionRow, questionRow > 18 ? 0 : 1);
    kind = readKindKey(g, questionRow);
  }
  const bool anySpells =
      !listedSpells(g, kHolySpells).empty() || !listedSpells(g, kMagicSpells).empty();
  std::vector<int> spells;
  for (;;) {
    blankLines(g, firstRow - 2, firstRow + 6);
    spells = listedSpells(g, kind);
    // Without a single spell in the scenario no key could ever end the wait.
    if (!spells.empty() || !anySpells) break;
    kind = readKindKey(g, questionRow);
  }
  const int entries = showKnownSpells(g, caster, spells, firstRow);
  g.con.COLOR(6);
  g.SysWord(SpellKindChosen) = static_cast<float>(kind);
  g.SysWord(SpellEntries) = static_cast<float>(entries);
}

}  // namespace kestrun::game
