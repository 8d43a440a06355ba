#pragma once

#include "packing.h"

// The named keys of every record kind of a source. Each key stands for digits
// of the game's tables as the game reads them.
namespace kestrun::forge::schemas {

const Schema& setting();        // Setting(0..73)
const Schema& race();           // RaceTable(r, 0..10)
const Schema& klass();          // ClassTable(c, 0..17), f18/f19 the experience parts A, B
const Schema& item();           // ItemTable(i, 0..15)
const Schema& monster();        // MonsterTable(m, 0..19)
const Schema& spell();          // SpellTable(s, 0..5)
const Schema& trap();           // TrapTable(t, 0..1)
const Schema& treasure();       // TreasureTable(k, 0..11)
const Schema& encounter();      // FloorEncounter(f, 0..6)
const Schema& floorRule();      // FloorRule(f, 0..1)
const Schema& floorHeader();    // FloorHeader(0..3)
const Schema& character();      // CharRec(c, 0..39)
const Schema& characterLong();  // CharLong(c, 0..5)
const Schema& partyState();     // GameState(0, 9..18); members are read apart

// The fixed words: stats, alignments, sexes, skills, directions, statuses.
void addFixedWords(Vocabularies& words);

}  // namespace kestrun::forge::schemas
