#pragma once

#include <cstdint>

#include "game/state/fields.h"
#include "game/state/tables.h"
#include "runtime/values.h"

// Many fields hold several small values as groups of decimal digits. These
// helpers are the one place that knows the layouts.
namespace kestrun::game {

// Digit k of v: INT(v / 10^k) MOD 10.
int32_t digit(double v, int k);
// v with digit k replaced by d (the whole number rebuilt).
double withDigit(double v, int k, int d);

namespace status {
inline constexpr float Normal = 1;
inline constexpr float Petrified = 10000;
inline constexpr float Dead = 20000;
inline constexpr float Spirit = 25000;
inline constexpr float Lost = 30000;
}  // namespace status

// Status 1 or 1001 (poisoned but otherwise sound): may act in town and join
// a party.
bool hasSoundStatus(float statusCode);
// Sound status and at least one hit point.
bool isAbleToAct(const RosterTables& r, int slot);
bool isEmptySlot(const RosterTables& r, int slot);

// The class exists in this scenario: units digit of its skills field.
bool isClassDefined(const ScenarioTables& s, int cls);

// The identity field: sex x 10000 + race x 1000 + alignment x 100 + class.
int32_t classOf(const RosterTables& r, int slot);
int32_t alignmentOf(const RosterTables& r, int slot);
int32_t raceOf(const RosterTables& r, int slot);
int32_t sexOf(const RosterTables& r, int slot);
// Field 2: level in the low three digits, the floor it was left on above.
int32_t levelOf(const RosterTables& r, int slot);
int32_t floorLeftOn(const RosterTables& r, int slot);
bool isInTown(const RosterTables& r, int slot);

// The eight stats, two per field: stat 2k in INT(f / 100) MOD 100 and stat
// 2k + 1 in f MOD 100 of field 10 + k.
int32_t statOf(const RosterTables& r, int slot, int stat);
void setStat(RosterTables& r, int slot, int stat, int value);

// An item slot: the item number in the low three digits, + 1000 when
// equipped, + 10000 when identified.
inline constexpr float kIdentifiedMark = 10000;
int32_t itemNumber(double slotValue);
bool isEquipped(double slotValue);
bool isIdentified(double slotValue);
// The equip digit: 0 carried, 1 equipped, 2 equipped and cursed (it cannot
// be taken off).
int32_t equipDigit(double slotValue);
bool isWorn(double slotValue);
bool isCursedOn(double slotValue);

// The kind of item i: ItemTable(i, ItemKindAndArmour) MOD 10.
int32_t itemKind(const ScenarioTables& s, int item);
// The change to the armour class the item makes when worn.
int32_t itemArmourChange(const ScenarioTables& s, int item);
// A cursed item cannot be taken off once worn.
bool isCursedItem(const ScenarioTables& s, int item);

// Spell s (1..80) is known when digit (s - 1) MOD 5 of field
// 24 + INT((s - 1) / 5) is 1.
bool knowsSpell(const RosterTables& r, int slot, int spell);
void setSpellKnown(RosterTables& r, int slot, int spell, bool known);

}  // namespace kestrun::game
