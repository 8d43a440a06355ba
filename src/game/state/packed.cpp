#include "game/state/packed.h"

#include <cmath>

namespace kestrun::game {

int32_t digit(double v, int k) {
  return rt::MOD(rt::INT(v / std::pow(10.0, k)), 10);
}

double withDigit(double v, int k, int d) {
  const double unit = std::pow(10.0, k);
  return v + (d - digit(v, k)) * unit;
}

bool hasSoundStatus(float statusCode) {
  return statusCode == 1 || statusCode == 1001;
}

bool isAbleToAct(const RosterTables& r, int slot) {
  return hasSoundStatus(r.CharRec(slot, Status)) && r.CharRec(slot, HitPoints) >= 1;
}

bool isEmptySlot(const RosterTables& r, int slot) {
  return r.CharRec(slot, Status) == 0;
}

bool isClassDefined(const ScenarioTables& s, int cls) {
  return rt::MOD(s.ClassTable(cls, ClassSkills), 10) != 0;
}

int32_t classOf(const RosterTables& r, int slot) {
  return rt::MOD(r.CharRec(slot, Identity), 100);
}
int32_t alignmentOf(const RosterTables& r, int slot) {
  return digit(r.CharRec(slot, Identity), 2);
}
int32_t raceOf(const RosterTables& r, int slot) {
  return digit(r.CharRec(slot, Identity), 3);
}
int32_t sexOf(const RosterTables& r, int slot) {
  return digit(r.CharRec(slot, Identity), 4);
}

int32_t levelOf(const RosterTables& r, int slot) {
  return rt::MOD(r.CharRec(slot, LevelAndFloor), 1000);
}
int32_t floorLeftOn(const RosterTables& r, int slot) {
  return rt::toInt32(rt::INT(r.CharRec(slot, LevelAndFloor) / 1000));
}
bool isInTown(const RosterTables& r, int slot) {
  return floorLeftOn(r, slot) == 0;
}

int32_t statOf(const RosterTables& r, int slot, int stat) {
  const float field = r.CharRec(slot, FirstStatPair + stat / 2);
  return stat % 2 == 0 ? rt::MOD(rt::INT(field / 100), 100) : rt::MOD(field, 100);
}

void setStat(RosterTables& r, int slot, int stat, int value) {
  float& field = r.CharRec(slot, FirstStatPair + stat / 2);
  const double high = rt::INT(field / 10000) * 10000;
  const int even = stat % 2 == 0 ? value : statOf(r, slot, stat - 1);
  const int odd = stat % 2 == 1 ? value : statOf(r, slot, stat + 1);
  field = rt::toSingle(high + even * 100 + odd);
}

int32_t itemNumber(double slotValue) {
  return rt::MOD(slotValue, 1000);
}
bool isEquipped(double slotValue) {
  return digit(slotValue, 3) == 1;
}
bool isIdentified(double slotValue) {
  return slotValue >= 10000;
}
int32_t equipDigit(double slotValue) {
  return digit(slotValue, 3);
}
bool isWorn(double slotValue) {
  return equipDigit(slotValue) != 0;
}
bool isCursedOn(double slotValue) {
  return equipDigit(slotValue) == 2;
}

int32_t itemKind(const ScenarioTables& s, int item) {
  return rt::MOD(s.ItemTable(item, ItemKindAndArmour), 10);
}

int32_t itemArmourChange(const ScenarioTables& s, int item) {
  return rt::MOD(rt::INT(s.ItemTable(item, ItemKindAndArmour) / 100), 100) - 50;
}

bool isCursedItem(const ScenarioTables& s, int item) {
  return rt::INT(s.ItemTable(item, ItemKindAndArmour) / 10000) != 0;
}

bool knowsSpell(const RosterTables& r, int slot, int spell) {
  return digit(r.CharRec(slot, FirstSpellField + (spell - 1) / 5), (spell - 1) % 5) == 1;
}

void setSpellKnown(RosterTables& r, int slot, int spell, bool known) {
  float& field = r.CharRec(slot, FirstSpellField + (spell - 1) / 5);
  field = rt::toSingle(withDigit(field, (spell - 1) % 5, known ? 1 : 0));
}

}  // namespace kestrun::game
