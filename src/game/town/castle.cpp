#include "game/town/castle.h"

#include <algorithm>
#include <optional>

#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/message_timing.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/castle_parts.h"
#include "game/town/facility_screen.h"
#include "game/town/program_end.h"
#include "game/town/retirement.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kHighestLevel = 999;
constexpr float kHitPointCap = 9999;

int questItem(const Game& g) {
  return rt::toInt32(g.Setting(QuestItem));
}

bool isQuestItem(const Game& g, float slotValue) {
  return itemNumber(slotValue) == questItem(g);
}

// The lord only recognises the item once it is identified.
bool partyBringsQuestItem(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
      const float value = itemSlot(g, c, slot);
      if (isQuestItem(g, value) && (isIdentified(value) || !identificationUsed(g))) return true;
    }
  }
  return false;
}

// Each slot is looked at once, in order: a copy that moves up into a slot
// just emptied is not looked at again and stays. Every member shares the
// reward.
void handOverQuestItem(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
      const float value = itemSlot(g, c, slot);
      // An empty slot is left alone even when the quest names item 0.
      if (itemNumber(value) != 0 && isQuestItem(g, value)) removeItem(g, c, slot);
    }
    addExperience(g, c, g.Setting(QuestRewardExperience) * 10000.0);
    addGold(g, c, g.Setting(QuestRewardGold) * 10000.0);
  }
}

void questScene(Game& g) {
  for (int colour = 1; colour <= 7; ++colour) {
    g.con.COLOR(colour);
    printAt(g, 23, 2 * colour + 4, "ＣＯＮＧＲＡＴＵＬＡＴＩＯＮ"_sj);
  }
  g.con.COLOR(6);
  TMWAIT(g);
  TMWAIT(g);
  g.con.LOCATE(25, 20);
  g.con.PRINT(g.ItemName(questItem(g), 0) + " を領主に献上しますか"_sj, rt::Sep::EndLine);
  printAt(g, 31, 22, "Hit Y - N Key");
  YesNoKey(g);
  if (g.KeyAnswer == "Y") handOverQuestItem(g);
  g.con.CLS();
}

void lordSpeaks(Game& g) {
  printAt(g, 21, 7, "探索を命じた品はまだ見つからんのか"_sj);
  printAt(g, 27, 10, "早く探して持って参れ"_sj);
  printAt(g, 25, 13, "良い知らせを待っておるぞ"_sj);
  printAt(g, 33, 18, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
}

void showShortfall(Game& g, int c, double threshold) {
  printAt(g, 29, 4, g.CharName(c));
  printAt(g, 37, 6, g.ClassName(classOf(g, c)));
  printAt(g, 37, 7, "LEVEL  ");
  g.con.PRINT(static_cast<int16_t>(levelOf(g, c)));
  printAt(g, 19, 9, "次のレベルになるには 経験値が "_sj);
  g.con.PRINT(threshold - g.CharLong(c, Experience));
  g.con.PRINT(" 不足です"_sj);
}

// The dice are rolled even for a maximum already at the cap, so the draws
// that follow do not depend on it.
void raiseHitPoints(Game& g, int c, int newLevel) {
  const float old = g.CharRec(c, MaxHitPoints);
  const float raised =
      rt::toSingle(std::min<double>(raisedHitPointMaximum(g, c, newLevel), kHitPointCap));
  if (old >= kHitPointCap) return;
  g.con.LOCATE(49, 6);
  g.con.PRINT(raised, rt::Sep::EndLine);
  printAt(g, 23, 6, "ＨＰが "_sj);
  g.con.PRINT(raised - old);
  g.con.PRINT(" 上昇した"_sj);
  g.CharRec(c, MaxHitPoints) = raised;
  g.CharRec(c, HitPoints) =
      rt::toSingle(g.CharRec(c, HitPoints) + static_cast<double>(raised - old));
}

void learnNewSpells(Game& g, int c, int newLevel) {
  g.SysWord(ActingSlot) = static_cast<float>(c);
  NCHEC(g);
  g.SysWord(NewLevel) = static_cast<float>(newLevel);
  g.SysWord(LearningMode) = 0;
  SPM(g);
}

void gainLevel(Game& g, int c) {
  const int newLevel = levelOf(g, c) + 1;
  printAt(g, 19, 4, g.CharName(c) + " は "_sj);
  g.con.PRINT(static_cast<int16_t>(newLevel));
  g.con.PRINT(" レベルになった"_sj);
  g.CharRec(c, LevelAndFloor) = rt::toSingle(g.CharRec(c, LevelAndFloor) + 1.0);
  raiseHitPoints(g, c, newLevel);
  changeStatsAtLevelUp(g, c);
  learnNewSpells(g, c, newLevel);
}

bool wantsAnotherJudgement(Game& g, int c) {
  printAt(g, 23, 21, g.CharName(c) + " はさらにレベル判定を受けますか ?"_sj);
  printAt(g, 27, 23, "        Hit Y - N Key");
  YesNoKey(g);
  return g.KeyAnswer == "Y";
}

// The member choice's key alone, on whatever the screen shows.
int waitForMemberKey(Game& g) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    if (const std::optional<int> position = digitKey(g.KeyAnswer, partySize(g))) return *position;
  }
}

// What follows a member's judgement.
enum class NextStep { ChooseMember, WaitForMemberKey, Town };

// The member is judged again and again, one level at a time, while the
// player asks for it.
NextStep judgeLevels(Game& g, int c) {
  if (isPastLifeSpan(g, c)) {
    retire(g, c);
    return NextStep::ChooseMember;
  }
  for (;;) {
    if (levelOf(g, c) + 1 > kHighestLevel) return NextStep::WaitForMemberKey;
    g.SysWord(ActingSlot) = static_cast<float>(c);
    LVCALC(g);
    const double threshold = g.WorkLong(NextLevelExperience);
    g.con.CLS();
    if (threshold > g.CharLong(c, Experience)) {
      showShortfall(g, c, threshold);
    } else {
      gainLevel(g, c);
    }
    if (!wantsAnotherJudgement(g, c)) {
      return partySize(g) == 1 ? NextStep::Town : NextStep::ChooseMember;
    }
  }
}

void judgeMembers(Game& g) {
  NextStep next = NextStep::ChooseMember;
  for (;;) {
    const int position =
        next == NextStep::ChooseMember ? chooseVisitor(g, std::nullopt) : waitForMemberKey(g);
    if (position == 0) return;
    next = judgeLevels(g, memberSlot(g, position));
    if (next == NextStep::Town) return;
  }
}

}  // namespace

void Castle(Game& g) {
  g.con.CLS();
  g.con.COLOR(6);
  showFacilityTitle(g, 5, 3);
  if (partyBringsQuestItem(g)) {
    questScene(g);
  } else {
    lordSpeaks(g);
  }
  judgeMembers(g);
}

}  // namespace kestrun::game
