#include <algorithm>
#include <array>
#include <vector>

#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/spells/miracle.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kEffects = 36;
constexpr int kMostOffered = 5;
constexpr int kFirstStatEffect = 11;
constexpr int kLastStatEffect = 18;
constexpr int kFirstClassEffect = 19;
constexpr int kLastClassEffect = 33;

const std::array<const char*, 10> kPartyEffectTexts{
    "モンスターをすべて消滅させる", "全員のＡＣを２０低下させる", "全員の状態を正常に戻す",
    "全員のＨＰをもとに戻す",       "全員の呪文使用可能量を戻す", "モンスターの呪文を打ち消す",
    "死者を一人生き返らせる",       "一人の年齢を若返らせる",     "全員を街に戻す",
    "一人のＨＰ上限を上昇させる"};

const std::array<const char*, 3> kSkillClassTexts{
    "スキル１つのクラスになる", "スキル２つのクラスになる", "スキル３つのクラスになる"};

// Effects that raise an unused stat or give an undefined class are never
// drawn.
bool isDrawable(const Game& g, int effect) {
  if (effect >= kFirstStatEffect && effect <= kLastStatEffect) {
    return isStatUsed(g, effect - kFirstStatEffect);
  }
  if (effect >= kFirstClassEffect && effect <= kLastClassEffect) {
    return isClassDefined(g, effect - kFirstClassEffect);
  }
  return true;
}

// Above 36 the draw would reach the death and the loss of a member.
int drawableRange(int range) {
  return std::clamp(range, 1, kEffects);
}

int drawableCount(const Game& g, int range) {
  int count = 0;
  for (int e = 1; e <= drawableRange(range); ++e) {
    if (isDrawable(g, e)) ++count;
  }
  return count;
}

std::vector<int> offeredEffects(Game& g, int range, int size) {
  std::vector<int> offer;
  if (range == size && size <= kMostOffered) {
    for (int e = 1; e <= size; ++e) offer.push_back(e);
    return offer;
  }
  // There must be enough different effects to draw from.
  size = std::min(size, drawableCount(g, range));
  while (static_cast<int>(offer.size()) < size) {
    const int e = drawMiracleEffect(g, range);
    if (std::find(offer.begin(), offer.end(), e) == offer.end()) offer.push_back(e);
  }
  return offer;
}

void showOffer(Game& g, const std::vector<int>& offer) {
  rt::Console& con = g.con;
  for (size_t i = 0; i < offer.size(); ++i) {
    const int row = 11 + static_cast<int>(i);
    con.COLOR(7);
    printAt(g, 21, row, static_cast<int16_t>(i + 1));
    con.COLOR(6);
    printAt(g, 25, row, miracleEffectText(g, offer[i]));
  }
  con.COLOR(7);
  printAt(g, 25, 9, "1 -");
  con.PRINT(static_cast<int16_t>(offer.size()));
}

int askOffer(Game& g, int size) {
  for (;;) {
    const double answer = askNumber(g, 19, 7, "呪文の効果はどれにしますか ?  "_sj);
    if (answer >= 1 && answer <= size) return rt::toInt32(rt::INT(answer));
  }
}

int chooseFromOffer(Game& g, int range, int size) {
  for (int i = 0; i < kMostOffered; ++i) g.SysWord(FirstOfferedEffect + i) = 0;
  blankLines(g, 8, 15);
  const std::vector<int> offer = offeredEffects(g, range, std::clamp(size, 1, kMostOffered));
  for (size_t i = 0; i < offer.size(); ++i) {
    g.SysWord(FirstOfferedEffect + static_cast<int>(i)) = static_cast<float>(offer[i]);
  }
  showOffer(g, offer);
  const int chosen = askOffer(g, static_cast<int>(offer.size()));
  g.con.COLOR(6);
  return offer[chosen - 1];
}

}  // namespace

std::string miracleEffectText(const Game& g, int effect) {
  if (effect >= 1 && effect < kFirstStatEffect)
    return rt::toShiftJis(kPartyEffectTexts[effect - 1]);
  if (effect <= kLastStatEffect) return g.StatName(effect - kFirstStatEffect) + "度を増加させる"_sj;
  if (effect <= kLastClassEffect) return g.ClassName(effect - kFirstClassEffect) + "になる"_sj;
  if (effect <= kEffects) return rt::toShiftJis(kSkillClassTexts[effect - kLastClassEffect - 1]);
  return "";
}

int drawMiracleEffect(Game& g, int range) {
  const double top = drawableRange(range);
  for (;;) {
    const int e = rt::toInt32(rt::INT(g.con.random().RND(1) * top + 1));
    if (isDrawable(g, e)) return e;
  }
}

void MRCH(Game& g) {
  const int spell = rt::toInt32(g.SysWord(MiracleSpell));
  const double mode = g.SpellTable(spell, SpellScope);
  const int range = rt::toInt32(g.SpellTable(spell, SpellFaces));
  const int size = rt::toInt32(g.SpellTable(spell, SpellDice));
  int effect = range;
  if (mode == 1) {
    effect = drawMiracleEffect(g, range);
  } else if (mode >= 3) {
    effect = chooseFromOffer(g, range, size);
  }
  g.SysWord(MiracleEffect) = static_cast<float>(effect);
}

}  // namespace kestrun::game
