#pragma once

#include <cstdint>

// The scrambling constants of the scenario, roster and floor files. A file can
// only be read with the constants it was written with, so the game and the
// scenario compiler both take them from here and nowhere else.
namespace kestrun::game::format {

// offset(i, j) = (key MOD (M + i)) + D + ((i x j) MOD P)
struct GridMask {
  int32_t M, D, P;
};
// offset(n) = (key MOD (M + n)) + D + n x Q
struct LinearMask {
  int32_t M, D, Q;
};
// offset(n) = (key MOD (M + n)) + D + ((n x Q) MOD P)
struct CycleMask {
  int32_t M, D, Q, P;
};
// offset = (key MOD M) + D
struct FixedMask {
  int32_t M, D;
};

namespace scenario {
inline constexpr GridMask kClassTable{173, 2417, 13};
inline constexpr GridMask kRaceTable{211, 1306, 17};
inline constexpr GridMask kFloorEncounter{157, 3871, 11};
inline constexpr GridMask kTrapTable{389, 902, 7};
inline constexpr GridMask kSpellTable{263, 4730, 19};
inline constexpr GridMask kTreasureTable{347, 1588, 23};
inline constexpr GridMask kFloorRule{419, 2251, 29};
inline constexpr GridMask kItemTable{131, 3164, 31};
inline constexpr GridMask kMonsterTable{293, 1977, 37};
inline constexpr LinearMask kSetting{181, 615, 7};
inline constexpr CycleMask kInitialStock{227, 2840, 9, 41};
inline constexpr FixedMask kScenarioId{307, 4211};
inline constexpr FixedMask kExpPartA{239, 1357};
inline constexpr FixedMask kExpPartB{367, 2468};
}  // namespace scenario

namespace roster {
inline constexpr GridMask kCharRec{149, 3329, 43};
inline constexpr GridMask kCharLong{191, 1723, 47};
// offset(x, y, k) = (key MOD (M + x)) + D x k + ((x x y x k) MOD P)
inline constexpr GridMask kAutoMap{271, 1409, 53};
inline constexpr CycleMask kGameState{313, 2687, 5, 59};
inline constexpr CycleMask kShopStock{233, 4102, 3, 61};
inline constexpr FixedMask kLink{401, 1931};
inline constexpr FixedMask kChecksum{331, 3590};
// The roster key is a fresh random whole number in this range at every write.
inline constexpr int32_t kKeyLow = 3000;
inline constexpr int32_t kKeySpan = 7000;
}  // namespace roster

namespace floor {
// Map layers 0..3: offset(x, y) = (seed MOD (x + M)) + D + ((x x y) MOD P)
inline constexpr GridMask kLayer[4] = {
    {137, 2903, 7}, {251, 1174, 13}, {179, 3652, 11}, {409, 2086, 17}};
// Text codes: offset(i, j) = (seed MOD (i + M)) + D + (((i + 3) x j) MOD P)
inline constexpr GridMask kText{223, 1543, 19};
// Floor header: offset(i) = (seed MOD (i + 2)) + D + 3 x i
inline constexpr int32_t kHeaderD = 2761;
inline constexpr FixedMask kScenarioId{353, 1618};
inline constexpr FixedMask kFloorNumber{199, 4427};
}  // namespace floor

}  // namespace kestrun::game::format
