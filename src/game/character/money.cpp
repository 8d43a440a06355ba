#include "game/character/money.h"

#include <algorithm>

#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {
constexpr double kDividedFirstFrom = 20000000;
}  // namespace

float itemPrice(const Game& g, int item) {
  return rt::toSingle(rt::MOD(g.ItemTable(item, ItemPriceHigh), 10000) * 10000.0 +
                      rt::MOD(g.ItemTable(item, ItemPriceLow), 10000));
}

float pricePercent(const Game& g, int c, int purpose) {
  double charm = 0;
  if (g.Setting(FirstStatUsed + Charm) != 0) {
    const double scale = g.SysWord(StatScale);
    charm = rt::divide((statOf(g, c, Charm) - scale / 2) * 20, scale);
  }
  if (purpose == kSelling)
    return rt::toSingle(rt::INT(g.Setting(SellPercent) * (charm + 100) / 100));
  return rt::toSingle(rt::INT(
      g.Setting(purpose == kIdentifying ? IdentifyPercent : UncursePercent) * (100 - charm) / 100));
}

float chargedAmount(float price, float percent) {
  if (price < kDividedFirstFrom) return rt::toSingle(rt::INT(double{price} * percent / 100));
  return rt::toSingle(rt::INT(double{price} / 100 * percent));
}

std::vector<int32_t> goldShares(double total, int members) {
  if (members < 1 || total > members * 999999999.0) return {};
  const double share = total / members;
  const int32_t each = rt::toInt32(share);
  std::vector<int32_t> shares(members - 1, each);
  shares.push_back(rt::toInt32(total - static_cast<double>(each) * (members - 1)));
  return shares;
}

void addGold(Game& g, int c, double amount) {
  g.CharLong(c, Gold) = rt::toInt32(std::min(g.CharLong(c, Gold) + amount, kExperienceAndGoldCap));
}

void addExperience(Game& g, int c, double amount) {
  g.CharLong(c, Experience) =
      rt::toInt32(std::min(g.CharLong(c, Experience) + amount, kExperienceAndGoldCap));
}

}  // namespace kestrun::game
