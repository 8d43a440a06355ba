#pragma once

#include "spell_scene.h"

namespace kestrun::game {

// A battle in its turn: a party (slots in marching order, front rank of
// three), the battle rows as CCHEC3 leaves them, and monster groups with
// plain single attacks.
struct CommandScene : SpellScene {
  explicit CommandScene(int members = 4) : SpellScene(members) {
    g.Setting(FrontRank) = 3;
    g.Setting(PartySize) = 6;
    g.Setting(HolySpellLevels) = 7;
    g.Setting(MagicSpellLevels) = 7;
    for (int p = 0; p < members; ++p) {
      g.BattleParty(p, BattleArmourClass) = 10;
      for (int s = 0; s < 8; ++s) g.BattleParty(p, FirstBattleStat + s) = 10;
    }
    g.Battle = Game::BattleWords{};
  }

  // Group `group` of `count` monsters with one attack of 1 die of 2 sides,
  // level `level`.
  void fighters(int group, int monster, int count, float hp, int level = 1) {
    monsters(group, monster, count, hp);
    g.MonsterTable(monster, MonsterType) = 102;  // type 0, one attack, die size 2
    g.MonsterTable(monster, MonsterLevel) = static_cast<float>(level * 100 + 1);  // 1 die
    g.MonsterTable(monster, MonsterArmour) = 7000;
  }

  float& command(int position) { return g.BattleParty(position - 1, Command); }
  float& target(int position) { return g.BattleParty(position - 1, CommandTarget); }
  float& action(int group, int place) { return g.BattleMonsters(group, place, MonsterAction); }
  // Item `item` of kind `kind` that casts `spell`, in slot `slot` of c.
  void itemCasting(int c, int slot, int item, int kind, int spell, bool worn) {
    g.ItemTable(item, ItemKindAndArmour) = static_cast<float>(kind);
    g.ItemTable(item, ItemSpell) = static_cast<float>(spell);
    g.ItemName(item, 0) = "Rod" + std::to_string(item);
    g.ItemName(item, 1) = "Stick";
    g.CharRec(c, FirstItemSlot + slot - 1) = static_cast<float>(item + (worn ? 11000 : 10000));
  }
};

}  // namespace kestrun::game
