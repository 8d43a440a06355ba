#pragma once

// The square codes (layer 0 MOD 100) whose parameters the forge reads or
// checks, and the groups they fall into.
namespace kestrun::forge::square {

inline constexpr int Rock = 1, Elevator = 2, Up = 7, Down = 8, Teleport = 9, Guardian = 10,
                     HiddenItem = 11, TeleportUnlessKey = 12, Altar = 13, Fountain = 14,
                     Search = 15, TeleportIfKey = 16, TeleportUntilFlag = 18, Message = 19,
                     GuardianToo = 20, Picture = 22, GuardianOnce = 23, Vendor = 24, Riddle = 25,
                     BattleUnlessKey = 29, BattleIfKey = 30, MessageFile = 31;

inline bool isTeleport(int c) {
  return c == Teleport || c == TeleportUnlessKey || c == TeleportIfKey || c == TeleportUntilFlag;
}
inline bool isStairs(int c) {
  return c == Up || c == Down;
}
inline bool hasKeyItem(int c) {
  return c == TeleportUnlessKey || c == TeleportIfKey || c == BattleUnlessKey || c == BattleIfKey;
}
// Squares whose battle is fought against their own monster p0, which
// leaves the items p1..p3 (key-item battles only p1, p3 being the key).
inline bool isGuardian(int c) {
  return c == Guardian || c == Search || c == GuardianToo || c == GuardianOnce ||
         c == BattleUnlessKey || c == BattleIfKey;
}
inline int guardianItemCount(int c) {
  return hasKeyItem(c) ? 1 : 3;
}

}  // namespace kestrun::forge::square
