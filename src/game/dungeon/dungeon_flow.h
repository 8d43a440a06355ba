#pragma once

namespace kestrun::game {

// Where the exploration loop goes on after one of its pieces.
enum class Flow {
  // Nothing happened on the square: wait for a key (running goes on).
  Quiet,
  // Something happened: wait for a key with the view redrawn.
  KeyWait,
  // Wait for a key with the screen as it is (a picture is shown, or a key
  // was ignored).
  KeyWaitAsShown,
  // The party moved or the screen was rebuilt: the step cycle again.
  Cycle,
  // The party turned: the step cycle again without the panel first.
  Turned,
  // The party is in town: the town menu follows.
  Town,
};

}  // namespace kestrun::game
