#pragma once

#include <string>

namespace kestrun::game {

struct Game;

// A character's items sit in slots 1..Setting(ItemSlots), filled from slot 1 with
// no gaps: adding takes the first free slot, removing moves the later ones
// up. A slot is free when it holds no item number.

int itemSlotCount(const Game& g);
// The value of item slot `slot` (1-based) of character c.
float& itemSlot(Game& g, int c, int slot);
float itemSlot(const Game& g, int c, int slot);
int carriedItemCount(const Game& g, int c);
bool hasRoomForItem(const Game& g, int c);
// Puts the slot value (item, equip digit, identified flag) into the first
// free slot; false when every slot is taken.
bool addItem(Game& g, int c, float slotValue);
void removeItem(Game& g, int c, int slot);

// Whether the scenario's items need identifying (Setting(NoIdentification)
// is not 1).
bool identificationUsed(const Game& g);

// The name of an item kind: the scenario's, or "靴" for shoes.
std::string itemKindName(const Game& g, int kind);

// The name a player sees: the true name once identified (or when the
// scenario needs no identification), else the unidentified name and "?".
std::string itemLabel(const Game& g, float slotValue);

// The item's class digits do not refuse character c's class.
bool classMayUse(const Game& g, int c, int item);
// Alignment codes 1..6 (of items and of floors) name the alignments they
// turn away: good by 2, 3 and 5, neutral by 1, 3 and 6, evil by 1, 2 and 4.
bool alignmentCodeRefuses(int code, int alignment);
// The class may use the item, and its alignment code (ignored for cursed
// items) does not refuse the character's alignment.
bool canUseItem(const Game& g, int c, int item);

}  // namespace kestrun::game
