#pragma once

namespace kestrun::game {

// Items and floors name the alignments they refuse by a code 1..6: good (1)
// is refused by 2, 3 and 5, neutral (2) by 1, 3 and 6, evil (3) by 1, 2 and
// 4. Code 0 refuses nobody.
bool alignmentCodeRefuses(int code, int alignment);

}  // namespace kestrun::game
