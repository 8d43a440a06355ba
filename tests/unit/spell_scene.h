#pragma once

#include <string>

#include "game/spells/spell_cast.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {

// A party of `members` (slots 0.., slot 0 the caster, marching in slot
// order) in the dungeon, messages without pauses, and up to four monster
// groups to cast at. Spells are defined on the spot.
struct SpellScene : GameFixture {
  explicit SpellScene(int members = 3) {
    g.SysWord(MessageTime) = 0;
    g.SysWord(StatScale) = 18;
    g.Setting(ItemSlots) = 8;
    g.Setting(DeepestFloor) = 5;
    for (int s = 0; s < 8; ++s) g.Setting(FirstStatUsed + s) = 1;
    g.GameState(FloorAndFacing) = 200;
    g.GameState(Square) = 505;
    for (int c = 0; c < members; ++c) {
      g.GameState(MemberCount) = static_cast<float>(c + 1);
      g.GameState(FirstMember + c) = static_cast<float>(c + 1);
      g.CharName(c) = "M" + std::to_string(c);
      g.CharRec(c, Status) = status::Normal;
      g.CharRec(c, Identity) = 100;  // good
      g.CharRec(c, LevelAndFloor) = 5;
      g.CharRec(c, HitPoints) = 10;
      g.CharRec(c, MaxHitPoints) = 30;
      for (int s = 0; s < 8; ++s) setStat(g, c, s, 10);
    }
    for (int group = 0; group < 4; ++group) g.GroupMonster(group) = -1;
  }

  // Spell `spell` with effect kind `effect` and its parameters.
  void spell(int spell, int effect, double scope, double a, double b) {
    g.SpellTable(spell, SpellKindAndListing) = 501;
    g.SpellTable(spell, SpellLevel) = 1001;
    g.SpellTable(spell, SpellEffect) = static_cast<float>(effect);
    g.SpellTable(spell, SpellScope) = static_cast<float>(scope);
    g.SpellTable(spell, SpellFaces) = static_cast<float>(a);
    g.SpellTable(spell, SpellDice) = static_cast<float>(b);
    g.SpellName(spell) = "S" + std::to_string(spell);
  }

  // Group `group` of `count` monsters of monster number `monster`, each with
  // `hp` hit points and no resistance.
  void monsters(int group, int monster, int count, float hp) {
    g.GroupMonster(group) = static_cast<float>(monster);
    g.GroupCount(group) = static_cast<float>(count);
    g.GroupKills(group) = static_cast<float>(monster * 100);
    g.MonsterName(monster, 0) = "Mon" + std::to_string(monster);
    g.MonsterName(monster, 1) = "Unknown";
    for (int place = 0; place < count; ++place) {
      g.BattleMonsters(group, place, MonsterMaxHitPoints) = hp;
      g.BattleMonsters(group, place, MonsterHitPoints) = hp;
    }
  }

  float& monsterHp(int group, int place) {
    return g.BattleMonsters(group, place, MonsterHitPoints);
  }

  // A party member casts in the camp (offset 0) or in battle (100).
  void cast(int spell, int caster, int target, int offset = 0) {
    g.SysWord(SpellCode) = static_cast<float>(spell + offset);
    g.SysWord(SpellCasterTarget) = static_cast<float>(caster * 100 + target);
    SPL(g);
  }
  void castInBattle(int spell, int caster, int target) { cast(spell, caster, target, 100); }
  // Monster `place` of `group` casts at party position `position`.
  void monsterCasts(int spell, int group, int place, int position) {
    g.SysWord(SpellCode) = static_cast<float>(spell + 200);
    g.SysWord(SpellCasterTarget) = static_cast<float>(place * 1000 + group * 100 + position);
    SPL(g);
  }

  // The text of a screen row without its leading blanks.
  std::string row(int r) {
    const std::string text = rt::toUtf8(rt::rowText(con.text(), r));
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
  }
};

}  // namespace kestrun::game
