#pragma once

#include <cstdint>
#include <vector>

namespace kestrun::game {

struct Game;

// What the shop's percentage applies to (the values of SysWord(ItemListMode)).
inline constexpr int kSelling = 0;
inline constexpr int kIdentifying = 1;
inline constexpr int kUncursing = 2;

// An item's price, kept in two fields: (f15 MOD 10000) ten-thousands plus
// f14 MOD 10000. 0 means the shop does not deal in the item.
float itemPrice(const Game& g, int item);

// The scenario's percentage for selling, identifying or uncursing, moved by
// up to about ten points by the Charm of character c: a charming character
// sells higher and pays less. Charm at half the stat scale changes nothing.
float pricePercent(const Game& g, int c, int purpose);

// INT(price x percent / 100); from 20,000,000 on the price is divided first,
// so that the product stays in range.
float chargedAmount(float price, float percent);

// The party's gold shared among `members`: each of the first gets the
// nearest whole number to total / members, the last what remains. Nothing
// (an empty list) when the total is more than members x 999,999,999.
std::vector<int32_t> goldShares(double total, int members);

// Adds to character c's gold, which stops at the cap.
void addGold(Game& g, int c, double amount);
// Adds to character c's experience, which stops at the same cap.
void addExperience(Game& g, int c, double amount);

}  // namespace kestrun::game
