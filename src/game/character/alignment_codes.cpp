#include "game/character/alignment_codes.h"

namespace kestrun::game {

bool alignmentCodeRefuses(int code, int alignment) {
  switch (alignment) {
    case 1:
      return code == 2 || code == 3 || code == 5;
    case 2:
      return code == 1 || code == 3 || code == 6;
    case 3:
      return code == 1 || code == 2 || code == 4;
    default:
      return false;
  }
}

}  // namespace kestrun::game
