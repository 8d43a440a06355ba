#include "game/spells/miracle.h"

#include <algorithm>
#include <optional>

#include "game/character/levels.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

enum Effect {
  kSlayMonsters = 1,
  kArmourForAll = 2,
  kCureAll = 3,
  kHealAll = 4,
  kRestorePoints = 5,
  kSealMonsterSpells = 6,
  kRevive = 7,
  kYounger = 8,
  kHome = 9,
  kHardier = 10,
  kFirstStat = 11,
  kLastStat = 18,
  kFirstClass = 19,
  kLastClass = 33,
  kOneSkillClass = 34,
  kThreeSkillClass = 36,
  kDeath = 37,
  kLoss = 38
};

constexpr int kGroups = 4;
constexpr int kPlaces = 9;
constexpr float kWentHome = 2500;
constexpr float kArmourGain = 20;
constexpr double kKillsHeldAt = 30001;
constexpr float kAilmentsBelow = 12000;
constexpr int kSpellLevels = 9;

bool isInDungeon(const Game& g) {
  return g.GameState(FloorAndFacing) >= 100;
}

bool needsMember(int effect) {
  return effect == kRevive || effect == kYounger ||
         (effect >= kHardier && effect <= kThreeSkillClass);
}

bool isChoosable(const Game& g, int effect, int slot) {
  const float st = g.CharRec(slot, Status);
  if (effect == kRevive) return st >= status::Dead && st <= 29000;
  return st <= kAilmentsBelow;
}

std::string memberQuestion(const Game& g, int effect) {
  switch (effect) {
    case kRevive:
      return "だれを生き返らせますか ?"_sj;
    case kYounger:
      return "だれの年齢を下げますか ?"_sj;
    case kHardier:
      return "だれのＨＰの上限を増しますか ?"_sj;
    default:
      break;
  }
  if (effect <= kLastStat) {
    return "だれの"_sj + g.StatName(effect - kFirstStat) + "度の上限を増しますか ?"_sj;
  }
  return "だれのクラスを変更しますか ?"_sj;
}

void listMembers(Game& g, int effect) {
  rt::Console& con = g.con;
  for (int p = 1; p <= partySize(g); ++p) {
    const int slot = memberSlot(g, p);
    con.COLOR(isChoosable(g, effect, slot) ? 6 : 2);
    printAt(g, 19, 8 + p, static_cast<int16_t>(p));
    con.PRINT("  ");
    con.PRINT(g.CharName(slot));
  }
  con.COLOR(6);
}

// The member the player picks (the only choosable one without asking), or
// nothing when there is none or he cancels with 0.
std::optional<int> chooseMember(Game& g, int effect) {
  std::vector<int> choosable;
  for (int p = 1; p <= partySize(g); ++p) {
    if (isChoosable(g, effect, memberSlot(g, p))) choosable.push_back(p);
  }
  if (choosable.empty()) return std::nullopt;
  if (choosable.size() == 1) return memberSlot(g, choosable.front());
  blankLines(g, 7, 16);
  listMembers(g, effect);
  printAt(g, 23, 7, memberQuestion(g, effect));
  printAt(g, 23, 8, "Hit 0 -");
  g.con.PRINT(static_cast<int16_t>(partySize(g)));
  g.con.PRINT("Key");
  for (;;) {
    const std::optional<int> key = digitKey(g.con.waitKey(), partySize(g));
    if (!key) continue;
    if (*key == 0) return std::nullopt;
    if (std::find(choosable.begin(), choosable.end(), *key) != choosable.end()) {
      return memberSlot(g, *key);
    }
  }
}

std::optional<int> memberOfPosition(const Game& g, int position) {
  if (position < 1 || position > partySize(g)) return std::nullopt;
  return memberSlot(g, position);
}

// --- effects on all -----------------------------------------------------------

int casterOf(const Game& g) {
  return rt::toInt32(rt::INT(g.SysWord(SpellCasterTarget) / 100));
}

template <typename Act>
void forEachLivingMonster(Game& g, Act act) {
  for (int group = 0; group < kGroups; ++group) {
    if (g.GroupMonster(group) < 0) continue;
    for (int place = 0; place < kPlaces; ++place) {
      if (g.BattleMonsters(group, place, MonsterHitPoints) > 0) act(group, place);
    }
  }
}

void slayMonsters(Game& g) {
  const int caster = casterOf(g);
  forEachLivingMonster(g, [&](int group, int place) {
    g.BattleMonsters(group, place, MonsterHitPoints) = 0;
    g.BattleMonsters(group, place, MonsterAction) = 6;
    if (caster >= 0 && caster < 20) {
      float& kills = g.CharRec(caster, Kills);
      kills = static_cast<float>(std::min(kills + 1.0, kKillsHeldAt));
    }
    const int monster = rt::toInt32(g.GroupMonster(group));
    g.WorkLong(ExpPool) += rt::toInt32(g.MonsterTable(monster, MonsterExperience) + 30000.0);
  });
  for (int group = 0; group < kGroups; ++group) {
    if (g.GroupMonster(group) >= 0) g.GroupCount(group) = 0;
  }
}

void sealMonsterSpells(Game& g) {
  forEachLivingMonster(g, [&](int group, int place) {
    float& sealed = g.BattleMonsters(group, place, MonsterSealed);
    sealed = static_cast<float>(withDigit(sealed, 0, 1));
  });
}

template <typename Act>
void forEachMember(Game& g, Act act) {
  for (int p = 1; p <= partySize(g); ++p) act(p, memberSlot(g, p));
}

void actOnAll(Game& g, int effect) {
  forEachMember(g, [&](int p, int slot) {
    float& st = g.CharRec(slot, Status);
    switch (effect) {
      case kArmourForAll:
        g.BattleParty(p - 1, BattleArmourClass) -= kArmourGain;
        break;
      case kCureAll:
        if (st < kAilmentsBelow) st = status::Normal;
        break;
      case kHealAll:
        if (st < kAilmentsBelow) g.CharRec(slot, HitPoints) = g.CharRec(slot, MaxHitPoints);
        break;
      case kRestorePoints:
        g.CharLong(slot, HolyPoints) = g.CharLong(slot, HolyPointsMax);
        g.CharLong(slot, MagicPoints) = g.CharLong(slot, MagicPointsMax);
        break;
      default:
        break;
    }
  });
}

// --- effects on one member ------------------------------------------------------

// The highest a miracle raises stat s to: the plain limit in play, or the
// race's value moved by the limit and the sex adjustment.
double statCeiling(Game& g, int slot, int stat) {
  const double limit = g.Setting(PlayStatLimit);
  if (g.Setting(NoRaces) == 1 || limit < 40) return limit;
  double adjustment = 0;
  if (g.Setting(SexesUsed) == 1) {
    const float acting = g.SysWord(ActingSlot);
    g.SysWord(ActingSlot) = static_cast<float>(slot);
    SEI(g);
    g.SysWord(ActingSlot) = acting;
    adjustment = g.SysWord(FirstStatAdjustment + stat);
  }
  return g.RaceTable(raceOf(g, slot), FirstRaceStat + stat) + adjustment + limit - 50;
}

void raiseStat(Game& g, int slot, int stat) {
  if (g.CharRec(slot, Status) > kAilmentsBelow) return;
  if (statOf(g, slot, stat) >= statCeiling(g, slot, stat)) return;
  setStat(g, slot, stat, statOf(g, slot, stat) + 1);
  const float acting = g.SysWord(ActingSlot);
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  NCHEC(g);
  g.SysWord(ActingSlot) = acting;
}

// The new class: the one named, or a defined one of the skill group drawn
// at random; nothing when there is none.
std::optional<int> newClass(Game& g, int effect) {
  if (effect <= kLastClass) {
    const int cls = effect - kFirstClass;
    return isClassDefined(g, cls) ? std::optional<int>(cls) : std::nullopt;
  }
  static constexpr int kGroupStart[] = {0, 4, 10};
  static constexpr int kGroupSize[] = {4, 6, 4};
  const int group = effect - kOneSkillClass;
  const int first = kGroupStart[group];
  bool any = false;
  for (int cls = first; cls < first + kGroupSize[group]; ++cls) any = any || isClassDefined(g, cls);
  if (!any) return std::nullopt;
  for (;;) {
    const int cls = first + rt::toInt32(rt::INT(g.con.random().RND(1) * kGroupSize[group]));
    if (isClassDefined(g, cls)) return cls;
  }
}

// Per spell level the number of spells known (at most 9) becomes the
// points, now and at most.
void recountSpellPoints(Game& g, int slot) {
  for (int kind : {kHolySpells, kMagicSpells}) {
    double points = 0;
    double unit = 1;
    for (int level = 1; level <= kSpellLevels; ++level, unit *= 10) {
      points += std::min(knownSpellsOfLevel(g, slot, kind, level), 9) * unit;
    }
    g.CharLong(slot, HolyPoints + 2 * kind) = rt::toInt32(points);
    g.CharLong(slot, HolyPointsMax + 2 * kind) = rt::toInt32(points);
  }
}

void keepOrLoseSpells(Game& g, int slot) {
  const float rule = g.Setting(MiracleOption);
  if (rule == 0) {
    for (int f = FirstItemSlot; f < CharRecFields; ++f) g.CharRec(slot, f) = 0;
    for (int f = HolyPoints; f <= MagicPointsMax; ++f) g.CharLong(slot, f) = 0;
  } else if (rule == 1) {
    recountSpellPoints(g, slot);
  }
}

// The new class learns as if the member had gained each of his levels again.
void learnAgain(Game& g, int slot) {
  if (rt::MOD(rt::INT(g.ClassTable(classOf(g, slot), ClassSkills) / 100), 100) == 0) return;
  const float acting = g.SysWord(ActingSlot);
  const float outcome = g.SysWord(Outcome);
  const float mode = g.SysWord(LearningMode);
  for (int level = 2; level <= levelOf(g, slot); ++level) {
    g.SysWord(ActingSlot) = static_cast<float>(slot);
    g.SysWord(NewLevel) = static_cast<float>(level);
    g.SysWord(LearningMode) = 0;
    SPM(g);
  }
  g.SysWord(ActingSlot) = acting;
  g.SysWord(Outcome) = outcome;
  g.SysWord(LearningMode) = mode;
}

void changeClass(Game& g, int slot, int effect) {
  if (g.Setting(ClassChangeBarred) == 1) return;
  const std::optional<int> cls = newClass(g, effect);
  if (!cls) return;
  float& identity = g.CharRec(slot, Identity);
  identity = static_cast<float>(rt::INT(identity / 100) * 100 + *cls);
  keepOrLoseSpells(g, slot);
  learnAgain(g, slot);
}

void actOnMember(Game& g, int effect, int slot) {
  switch (effect) {
    case kRevive:
      g.CharRec(slot, Status) = status::Normal;
      g.CharRec(slot, HitPoints) = 1;
      return;
    case kYounger:
      g.CharRec(slot, AgeDays) =
          static_cast<float>(spell_rules::youngerAge(g.CharRec(slot, AgeDays)));
      return;
    case kHardier:
      g.CharRec(slot, MaxHitPoints) += 1;
      return;
    default:
      break;
  }
  if (effect <= kLastStat) {
    raiseStat(g, slot, effect - kFirstStat);
  } else {
    changeClass(g, slot, effect);
  }
}

void endMember(Game& g, int effect, int position) {
  if (!memberOfPosition(g, position)) return;
  const int slot = memberSlot(g, position);
  if (effect == kDeath) {
    g.CharRec(slot, Status) = status::Dead;
    return;
  }
  g.CharRec(slot, Status) = status::Lost;
  g.CharRec(slot, LevelAndFloor) = 0;
  g.CharRec(slot, LeftAt) = 0;
  g.CharRec(slot, HitPoints) = 0;
  removeMemberAt(g, position);
}

bool isDungeonOnly(int effect) {
  return effect == kSlayMonsters || effect == kArmourForAll || effect == kSealMonsterSpells ||
         effect == kHome;
}

void perform(Game& g, int effect) {
  const int position = rt::toInt32(g.SysWord(MiracleTarget));
  if (!isInDungeon(g) && isDungeonOnly(effect)) return;
  if (needsMember(effect)) {
    // A member named by the caller is taken as he is; only the player's
    // choice is limited to those the effect suits.
    const std::optional<int> slot =
        position == 0 ? chooseMember(g, effect) : memberOfPosition(g, position);
    if (slot) actOnMember(g, effect, *slot);
    return;
  }
  switch (effect) {
    case kSlayMonsters:
      slayMonsters(g);
      break;
    case kSealMonsterSpells:
      sealMonsterSpells(g);
      break;
    case kHome:
      KIKAN(g);
      g.SysWord(Outcome) = kWentHome;
      break;
    case kDeath:
    case kLoss:
      endMember(g, effect, position);
      break;
    default:
      actOnAll(g, effect);
      break;
  }
}

}  // namespace

void MIRACLE(Game& g) {
  perform(g, rt::toInt32(g.SysWord(MiracleEffect)));
  blankLines(g, 7, 16);
}

}  // namespace kestrun::game
