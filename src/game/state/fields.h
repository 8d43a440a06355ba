#pragma once

// The names of the fields of the game's tables, table by table, as plain
// indices: `g.CharRec(c, HitPoints)`, `g.Setting(ItemSlots)`,
// `g.SysWord(ActingSlot)`. All of them live in one namespace, so the
// compiler keeps every name unique and a name belongs to one table only.
// Where a field packs several values as decimal digits, the comment says
// which digits hold what (digit k of v is INT(v / 10^k) MOD 10).
namespace kestrun::game {
inline namespace fields {

// CharRec(c, f): the character record of roster slot c.

// 0 empty slot, 1 normal; digit 1 asleep, 2 paralysed, 3 poisoned;
// 10000..19999 petrified, 20000 dead, 25000 spirit, 30000 lost.
inline constexpr int Status = 0;
// Sex x 10000 + race x 1000 + alignment x 100 + class.
inline constexpr int Identity = 1;
// MOD 1000 the level; INT(/1000) the floor it was left on (0 in town).
inline constexpr int LevelAndFloor = 2;
// Where it was left: facing x 10000 + x x 100 + y (0 in town).
inline constexpr int LeftAt = 3;
inline constexpr int HitPoints = 4;
inline constexpr int MaxHitPoints = 5;
// Days since age 15, minus 32000.
inline constexpr int AgeDays = 6;
// Monsters killed, held at 30001 at most.
inline constexpr int Kills = 7;
// Temporary armour-class change, cleared on leaving the dungeon.
inline constexpr int ArmourModifier = 8;
// MOD 1000 the record checksum; digit 3 the holy school - 1, digit 4 the
// magic school - 1.
inline constexpr int ChecksumAndSchools = 9;
// Fields 10..13 hold two stats each: stat 2k in INT(/100) MOD 100 and stat
// 2k + 1 in MOD 100 of field 10 + k. Digit 4 of field 10 of row floor - 1
// is a per-floor flag of the square events.
inline constexpr int FirstStatPair = 10;
inline constexpr int FloorFlags = 10;
inline constexpr int StatPairCount = 4;
// Item slots 1..Setting(ItemSlots) in fields 14..23: MOD 1000 the item,
// + 1000 x the equip digit, + 10000 when identified.
inline constexpr int FirstItemSlot = 14;
inline constexpr int MaxItemSlots = 10;
// Known spells, one digit per spell: spell s in digit (s - 1) MOD 5 of
// field 24 + INT((s - 1) / 5).
inline constexpr int FirstSpellField = 24;
inline constexpr int SpellFieldCount = 16;
inline constexpr int CharRecFields = 40;

// The eight stats, as numbered by CharRec, BattleParty and the settings.
inline constexpr int Strength = 0;
inline constexpr int Health = 1;
inline constexpr int Knowledge = 2;
inline constexpr int Faith = 3;
inline constexpr int Agility = 4;
inline constexpr int Dexterity = 5;
inline constexpr int Luck = 6;
inline constexpr int Charm = 7;
inline constexpr int StatCount = 8;

// CharLong(c, f): the 32-bit values of roster slot c.

inline constexpr int Experience = 0;
inline constexpr int Gold = 1;
// Spell points now and at most: in per-level mode one digit per spell
// level (level L in digit L - 1); with Setting(SpellPointMode) = 2 the
// holy pair holds the one pool of magic points.
inline constexpr int HolyPoints = 2;
inline constexpr int HolyPointsMax = 3;
inline constexpr int MagicPoints = 4;
inline constexpr int MagicPointsMax = 5;

inline constexpr int CharLongFields = 6;

// Experience and gold never grow past this.
inline constexpr double kExperienceAndGoldCap = 1'000'000'000;

// WorkLong(n): the 32-bit work integers.
// The total experience of the next level (LVCALC).
inline constexpr int NextLevelExperience = 0;
// The battle's experience pool.
inline constexpr int ExpPool = 1;

// GameState(n): the party and its position.

inline constexpr int MemberCount = 0;
// Roster slot + 1 of the member in marching position 1..8.
inline constexpr int FirstMember = 1;
// Floor x 100 + facing (0 north, 1 east, 2 south, 3 west); floor 0 = town.
inline constexpr int FloorAndFacing = 9;
// x x 100 + y of the party's square.
inline constexpr int Square = 10;
// The running party spells: caster's slot x 1000 + strength. For the
// light, digit 1 its strength and digit 0 its reach in view rows.
inline constexpr int LightEffect = 11;
inline constexpr int ProtectionEffect = 12;
inline constexpr int IdentifyEffect = 13;
// FloorAndFacing and Square before the last floor change or jump.
inline constexpr int PreviousFloorAndFacing = 14;
inline constexpr int PreviousSquare = 15;
inline constexpr int LevitationEffect = 16;
inline constexpr int InvisibilityEffect = 17;
// A timed second light: MOD 1000 steps left, digit 3 its reach; it
// lights only from 20000 on.
inline constexpr int TimedEffect = 18;

// Setting(n): the scenario's rules.

inline constexpr int ScrambleKey = 0;
inline constexpr int EncounterChance = 1;
// 1 = races are not used: stat limits are plain numbers.
inline constexpr int NoRaces = 2;
inline constexpr int AlignmentsUsed = 3;
// Per stat 0..7: 1 = the stat is used.
inline constexpr int FirstStatUsed = 4;
// 1 = a class change sets the stats back to the race's values.
inline constexpr int ClassChangeResetsStats = 12;
// Below 40 a plain maximum; above 40 race value + this - 50.
inline constexpr int CreationStatLimit = 13;
inline constexpr int PlayStatLimit = 14;
// Inn rooms 1..5.
inline constexpr int FirstInnPrice = 15;
// Temple charges per level. The first two at 0 also mean that poison and
// paralysis wear off by themselves.
inline constexpr int PoisonCharge = 20;
inline constexpr int ParalysisCharge = 21;
inline constexpr int PetrifiedCharge = 22;
inline constexpr int DeadCharge = 23;
inline constexpr int SpiritCharge = 24;
// 1 = no spells, no breath, no item uses while the party is surprised.
inline constexpr int SurpriseStopsSpells = 25;
inline constexpr int SurpriseStopsBreath = 26;
inline constexpr int SurpriseStopsItems = 27;
inline constexpr int DeepestFloor = 28;
inline constexpr int MiracleOption = 29;
inline constexpr int PartySize = 30;
inline constexpr int FrontRank = 31;
inline constexpr int MixedAlignments = 32;
inline constexpr int QuestItem = 33;
inline constexpr int SexesUsed = 34;
// 1 = monsters of type 3 steal when they flee.
inline constexpr int MonstersSteal = 35;
// 0 = class change allowed, 1 = not allowed.
inline constexpr int ClassChangeBarred = 36;
inline constexpr int ItemSlots = 37;
// 1 = armour class changes the chance to be hit, otherwise the damage.
inline constexpr int ArmourAffectsHits = 38;
// 2 = one pool of magic points, otherwise points per spell level.
inline constexpr int SpellPointMode = 39;
inline constexpr int WeaponRange = 40;
// Hit points regained per week in inn rooms 3..5.
inline constexpr int FirstInnHealing = 41;
inline constexpr int HolySpellLevels = 44;
inline constexpr int MagicSpellLevels = 45;
inline constexpr int SellPercent = 46;
// Four fields; the adjustment of stat k is digit (k MOD 4) of
// Setting(47 + 2 x sex + INT(k / 4)) minus 5.
inline constexpr int FirstSexAdjustment = 47;
inline constexpr int IdentifyPercent = 51;
inline constexpr int UncursePercent = 52;
inline constexpr int MonstersKnown = 53;
// 1 = items need no identification.
inline constexpr int NoIdentification = 54;
inline constexpr int ItemWeight = 55;
inline constexpr int WeightOption = 56;
inline constexpr int StatChangeMode = 57;
inline constexpr int LinearLevel = 58;
inline constexpr int NegotiationChance = 59;
inline constexpr int MonsterPictures = 60;
// MOD 100 the group places within reach of short weapons; INT(/100) a
// chest constant.
inline constexpr int WeaponReach = 61;
// MOD 100 the random part, INT(/100) the base of a new character's gold.
inline constexpr int StartingGold = 62;
// MOD 100 the years a class change ages a character (+ 1); INT(/100) a
// chest constant.
inline constexpr int AgeingAndChest = 63;
inline constexpr int QuestRewardExperience = 64;
inline constexpr int QuestRewardGold = 65;
inline constexpr int DispelExperience = 66;
// The breath's damage in percent of the monster's hit points.
inline constexpr int BreathPercent = 67;
// The percentage of experience kept at a class change.
inline constexpr int ClassChangeExperience = 68;
// MOD 100: the chance of a stat change at a level up.
inline constexpr int StatChangeRate = 69;
// MOD 100: the carrying capacity per point of Strength.
inline constexpr int CarryFactor = 70;
inline constexpr int HitPointMode = 71;
inline constexpr int SpellSchools = 72;
// INT(/1000) levels per point of natural armour; MOD 1000 the damage of
// pits and rockfalls in percent of the maximum hit points.
inline constexpr int ArmourAndTrapDamage = 73;
inline constexpr int SettingCount = 74;

// ShopStock(0) is no item: it carries SysWord(MessageTime) through the
// roster file. InitialStock(0) above 0 lets the camp always show the map.
inline constexpr int StockedMessageTime = 0;
inline constexpr int MapAlwaysAllowed = 0;

// SysWord(n): the control words through which procedures pass arguments and
// results, and the player's own settings. Several words serve more than one
// procedure; each use has its own name.

// The roster slot of the character being acted on.
inline constexpr int ActingSlot = 1;
// Words 2..9: the sex adjustments of stats 0..7 of the current character;
// at a level up they mark the stats already changed.
inline constexpr int FirstStatAdjustment = 2;
// Words 2..7: battle commands 1..6 allowed for the member being asked.
inline constexpr int FirstCommandAllowed = 2;
// Words 2..6: the miracle effects on offer.
inline constexpr int FirstOfferedEffect = 2;
// Word p + 1 for party position p: 1 when he has tried the chest's trap.
inline constexpr int FirstTrapTried = 2;
// Steps during which no random encounter may happen.
inline constexpr int EncounterRespite = 8;
// 1 random, 2 random on a marked square, 3 raised by a square event,
// 4 and above the square's own monster.
inline constexpr int EncounterSource = 9;
// The miracle's target position (0 = ask the player).
inline constexpr int MiracleTarget = 9;
// The view slot CALC evaluates.
inline constexpr int ViewSlot = 10;
// The power of the item being used; the miracle effect chosen.
inline constexpr int ItemPower = 10;
inline constexpr int MiracleEffect = 10;
// What a battle, spell or miracle ended in: 1000 teleported, 2000 and
// 2500 left the battle or returned to town, 8000 in rock, 9000 wiped out.
inline constexpr int Outcome = 11;
// The spell being cast: + 100 by a member in battle, + 200 by a monster.
inline constexpr int SpellCode = 11;
// The level SPM fits a character's spells to.
inline constexpr int NewLevel = 11;
// The item slot ITBR breaks.
inline constexpr int BreakingSlot = 11;
// Caster and target: caster x 100 + target (a monster caster: monster x
// 1000 + group x 100 + target).
inline constexpr int SpellCasterTarget = 12;
// The item list's purpose: 0 selling, 1 identifying, 2 uncursing.
inline constexpr int ItemListMode = 13;
// The battle's encounter kind; after a victory + 10 x the kills.
inline constexpr int BattleKind = 14;
// The first screen row of the party status panel.
inline constexpr int PanelRow = 15;
// The spell whose miracle is chosen.
inline constexpr int MiracleSpell = 16;
// The number of items the item list printed.
inline constexpr int ListedItems = 17;
// In: the screen row of the spell kind question; out: the kind (0 holy,
// 1 magic).
inline constexpr int SpellMenuRow = 18;
inline constexpr int SpellKindChosen = 18;
// In: the first row of the spell list; out: the number of entries.
inline constexpr int SpellListRow = 19;
inline constexpr int SpellEntries = 19;
// In: an entry of the casting list; out: its spell number or 0.
inline constexpr int SpellEntry = 20;
// For SPM: 1 recomputes the spell points only, otherwise learns first.
inline constexpr int LearningMode = 20;
// 2 while a floor file is being read.
inline constexpr int FloorReading = 21;
// Message display time: 0 no wait, 10000 wait for a key.
inline constexpr int MessageTime = 22;
// The highest stat a character can normally reach.
inline constexpr int StatScale = 23;
// 1 when the last action in the dungeon was the door key.
inline constexpr int DoorKeyUsed = 24;
// 1 when a chest trap has called monsters: the next battle follows.
inline constexpr int BattleChain = 26;
// How many monster groups get pictures (0..4).
inline constexpr int PictureGroups = 27;
// 1 = discard items without asking.
inline constexpr int DiscardWithoutAsking = 28;
// 1 = the map view was asked for.
inline constexpr int MapAsked = 29;
// Where the floor reader prints its message.
inline constexpr int ScreenLayout = 30;
// 0 overlaid, 1 party status first, 2 dungeon picture first.
inline constexpr int DisplayMode = 31;

// ItemTable(i, f).

// MOD 10 the item kind, digit 1 the alignment kind, INT(/100) MOD 100 - 50
// the armour-class change, digit 4 set when cursed.
inline constexpr int ItemKindAndArmour = 0;
// Fields 1..3: class c may not use the item when digit 4 - (c MOD 5) of
// field 1 + INT(c / 5) is 1.
inline constexpr int FirstClassBar = 1;
// MOD 100 damage dice, INT(/100) MOD 100 die size; 10000 slays type 13.
inline constexpr int ItemDamage = 4;
// MOD 100 - 50 regeneration, INT(/100) MOD 100 damage bonus; 10000 marks
// a long-range weapon.
inline constexpr int ItemRegeneration = 5;
// MOD 100 - 50 the stat bonus, INT(/100) MOD 100 - 50 the attack bonus;
// 10000 gives critical hits.
inline constexpr int ItemBonus = 6;
// MOD 10 the stat the bonus goes to; digits 1, 2, 4 protections.
inline constexpr int ItemBonusStat = 7;
// Fields 8..11: the slaying digits: type t (0..12) in digit (12 - t) MOD 5
// of field 8 + INT((t + 2) / 5).
inline constexpr int FirstSlayingField = 8;
// MOD 100 the spell the item casts, INT(/100) its breaking chance.
inline constexpr int ItemSpell = 11;
// MOD 100 the special power, INT(/100) its breaking chance.
inline constexpr int ItemPowerField = 12;
// MOD 100 the weight, INT(/100) the item it breaks into.
inline constexpr int ItemWeightAndBreak = 13;
// The price: (field 15 MOD 10000) x 10000 + (field 14 MOD 10000); 10000
// and above in field 14 slays type 14.
inline constexpr int ItemPriceLow = 14;
inline constexpr int ItemPriceHigh = 15;
inline constexpr int ItemTableFields = 16;

// The item kinds (ItemTable(i, ItemKindAndArmour) MOD 10). Kinds 0..5 are
// recorded in the battle row; the name of kind k is ScenarioText(k + 6),
// except for shoes, which have a name of their own.
inline constexpr int WeaponKind = 0;
// Used without being equipped: never worn, never recorded.
inline constexpr int UsedWithoutEquippingKind = 6;
inline constexpr int ShoesKind = 7;

// MonsterTable(m, f). The low two digits of fields 1..18 hold the six
// attacks: attack k its die size in field 3k - 2, dice in 3k - 1, bonus in
// 3k.

// The experience value minus 30000.
inline constexpr int MonsterExperience = 0;
// Digit 2 the number of attacks, INT(/1000) the monster type (0..14).
inline constexpr int MonsterType = 1;
// INT(/100) the level.
inline constexpr int MonsterLevel = 2;
// INT(/100) MOD 100 armour class + 70; 10000 long reach.
inline constexpr int MonsterArmour = 3;
// INT(/100) MOD 100 the hit-point base; 10000 stares.
inline constexpr int MonsterHitBase = 4;
// INT(/100) MOD 100 the hit-point die size; 10000 poisons by touch.
inline constexpr int MonsterHitSides = 5;
// INT(/100) the number of hit-point dice.
inline constexpr int MonsterHitDice = 6;
// Digit 2 the group-size die size, digit 3 the highest holy spell level;
// 10000 petrifies by touch.
inline constexpr int MonsterGroupSides = 7;
// Digit 2 the number of group-size dice, digit 3 the highest magic spell
// level; 10000 kills by touch.
inline constexpr int MonsterGroupDice = 8;
// Digit 2 the group-size base, digit 3 the breath; 10000 resists fire.
inline constexpr int MonsterGroupBase = 9;
// Digit 2 levels drained, digit 3 paralysing touch; 10000 resists cold.
inline constexpr int MonsterDrain = 10;
// 10000 immune to disabling.
inline constexpr int MonsterImmunity = 11;
// Digit 2 the agility dice, digit 3 their size; 10000 flees when weak.
inline constexpr int MonsterAgilityDice = 12;
// INT(/100) MOD 100 the agility base; 10000 calls for help.
inline constexpr int MonsterAgilityBase = 13;
// 10000 never negotiates; INT(/100) MOD 100 the treasure class of the
// gold.
inline constexpr int MonsterNegotiation = 14;
inline constexpr int MonsterGold = 14;
// INT(/100) MOD 100 the treasure class; 10000 cannot be escaped.
inline constexpr int MonsterTreasure = 15;
// INT(/100) the spell resistance.
inline constexpr int MonsterResistance = 16;
// INT(/100) the companion monster of the next group.
inline constexpr int MonsterCompanion = 17;
// INT(/100) the chance in percent that the companion comes.
inline constexpr int MonsterCompanionChance = 18;
// INT(/100) the picture when identified, MOD 100 when unidentified.
inline constexpr int MonsterPicture = 19;
inline constexpr int MonsterTableFields = 20;

// SpellTable(s, f), spells 1..80 (1..40 holy, 41..80 magic).

// MOD 10 the kind (0 no spell); INT(/10) MOD 1000 the listing chance,
// non-zero to be listed; digit 4 cost flags.
inline constexpr int SpellKindAndListing = 0;
// MOD 10 the level, digit 2 the school, INT(/1000) the point cost.
inline constexpr int SpellLevel = 1;
// The effect class of the spell effects.
inline constexpr int SpellEffect = 2;
// The effect values: scope, then the dice faces and count.
inline constexpr int SpellScope = 3;
inline constexpr int SpellFaces = 4;
inline constexpr int SpellDice = 5;
inline constexpr int SpellTableFields = 6;

// ClassTable(c, f).

// Digit 4 combat, 3 holy, 2 magic, 1 thief skill; digit 0 not 0 when the
// class exists.
inline constexpr int ClassSkills = 0;
// Fields 1..8: the minimum of stat f - 1.
inline constexpr int FirstMinimumStat = 1;
// Fields 9..11: 1 = closed to good, neutral, evil characters.
inline constexpr int FirstAlignmentBar = 9;
inline constexpr int ClassExpBase = 12;
// The level at which holy spells begin and the levels per further spell
// level; the magic pair follows.
inline constexpr int HolyStartLevel = 13;
inline constexpr int HolyLevelStep = 14;
inline constexpr int MagicStartLevel = 15;
inline constexpr int MagicLevelStep = 16;
// MOD 10 the die per level, digit 1 a base, INT(/100) the first die.
inline constexpr int HitPointDice = 17;
inline constexpr int ClassTableFields = 18;

// RaceTable(r, f).
inline constexpr int RaceExists = 0;
// Fields 1..8: the race's value of stat f - 1.
inline constexpr int FirstRaceStat = 1;
inline constexpr int DarkVision = 9;
inline constexpr int LifeSpan = 10;
inline constexpr int RaceTableFields = 11;

// TreasureTable(k, f): three gold rolls in fields 0..5, then items and traps.

// Per roll r: field 2r MOD 100 the dice, INT(/100) the sides; field
// 2r + 1 MOD 100 the bonus, INT(/100) the chance.
inline constexpr int FirstGoldRoll = 0;
// Digit 0 the multiplier base, digits 1..2 its dice, INT(/1000) sides.
inline constexpr int GoldMultiplier = 6;
// MOD 100 the item count, INT(/100) the item chance.
inline constexpr int TreasureItems = 7;
// Digit 0 set when the chest may be untrapped; INT(/100) the first item.
inline constexpr int TreasureFirstItem = 8;
// Fields 9..11: trap t possible when digit 4 - (t MOD 5) of field
// 9 + INT(t / 5) is not 0.
inline constexpr int FirstTrapDigits = 9;
inline constexpr int TreasureTableFields = 12;

// TrapTable(t, f): MOD 10 of the first field 1 when the trap exists, of the
// second its difficulty; INT(/10) the chances of the chest's second and
// third item.
inline constexpr int TrapExists = 0;
inline constexpr int TrapDifficulty = 1;

// FloorEncounter(floor - 1, f).
inline constexpr int EncounterGroups = 0;
// Column k (1..3): the lowest monster in 2k - 1, the highest in 2k.
inline constexpr int FirstEncounterColumn = 1;

// FloorRule(floor - 1, f).
inline constexpr int RestrictedFloor = 0;
inline constexpr int FloorRuleValue = 1;

// FloorHeader(n).
// 1 = the whole floor blocks spells as squares of kind 5 do.
inline constexpr int SpellsBlocked = 0;
// 2 = the floor has no map.
inline constexpr int MapRule = 1;
// Which alignments the floor turns away.
inline constexpr int AlignmentRule = 3;

// FloorMap(x, y, layer): code in MOD 100, parameter in INT(/100).
inline constexpr int SquareLayer = 0;
inline constexpr int WestBoundary = 1;
inline constexpr int SouthBoundary = 2;
inline constexpr int ExtraLayer = 3;

// BattleParty(position - 1, f): one row per party position.

// 1 fight, 2 spell, 3 dispel, 5 guard, 6 run; an item use slot x 10 + 4.
inline constexpr int Command = 0;
// A monster target group x 10 + monster, a party target his roster slot.
inline constexpr int CommandTarget = 1;
inline constexpr int CommandSpell = 2;
// Fields 3..8: the equipped item of kind 0..5; 3 is the weapon.
inline constexpr int FirstEquippedKind = 3;
inline constexpr int EquippedWeapon = 3;
inline constexpr int BattleArmourClass = 9;
// Fields 10..17: the current stats 0..7.
inline constexpr int FirstBattleStat = 10;
inline constexpr int RegenerationTotal = 18;
inline constexpr int SpellResistance = 19;
// 1 = his spells are sealed.
inline constexpr int SpellsSealed = 20;
// MOD 1000 levels lost this battle (+ 1 per level-costing cast);
// INT(/1000) the number of such casts.
inline constexpr int LevelsLost = 21;
inline constexpr int DamageBonus = 22;
inline constexpr int HitBonus = 23;
// Fields 24..31: battle bonuses added to stats 0..7.
inline constexpr int FirstStatBonus = 24;
// The equipped item of a kind above 6.
inline constexpr int EquippedOtherKind = 32;
inline constexpr int BattlePartyFields = 34;

// BattleMonsters(g, i, f): monster i of group g.

inline constexpr int MonsterMaxHitPoints = 0;
inline constexpr int MonsterHitPoints = 1;
// 0 awake, 1 asleep, 2 and above other disabling states.
inline constexpr int MonsterState = 2;
// Digit 0: 1 spells sealed, 2 spells stolen; digits 1..3: its touches,
// breath and stare sealed.
inline constexpr int MonsterSealed = 3;
// Spell charges, levels 1..4 in the digits of the first field, 5..9 in
// the second; in the single-pool mode the pool and its maximum.
inline constexpr int HolyCharges = 4;
inline constexpr int HolyChargesHigh = 5;
inline constexpr int MagicCharges = 6;
inline constexpr int MagicChargesHigh = 7;
inline constexpr int MonsterAction = 8;
inline constexpr int MonsterArmourClass = 9;
inline constexpr int MonsterSpell = 10;
inline constexpr int MonsterSpellResistance = 11;
inline constexpr int BattleMonsterFields = 12;

// ScenarioId(n): the scenario's number and its two extra words.
inline constexpr int ScenarioNumber = 0;
inline constexpr int FirstScenarioIdExtra = 1;

// ClassExpPart(c, n): the parts A and B of a class's experience factor.
inline constexpr int ExpPartA = 0;
inline constexpr int ExpPartB = 1;

// GroupSlots(g, n): the group's count at the turn's start, and the
// monsters it called in this turn.
inline constexpr int SlotsAtTurnStart = 0;
inline constexpr int SlotsCalledIn = 1;

// The first monster group (place 0): the one a square's own monster or a
// battle's first draw fills, and whose kills name a chest's owner.
inline constexpr int LeadGroup = 0;

// View3D(n): slot 0 is the boundary straight ahead of the party.
inline constexpr int BoundaryAhead = 0;

}  // namespace fields
}  // namespace kestrun::game
