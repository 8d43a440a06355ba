#include "game/battle/monster_picture.h"

#include "game/battle/battle_common.h"
#include "game/state/game.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

struct Corner {
  int left;
  int top;
};
constexpr Corner kCorners[kGroupPlaces] = {{10, 10}, {510, 10}, {10, 150}, {510, 150}};
constexpr int kPictureSize = 120;

// Errors that mean the picture could not be had: no such file, a bad file
// or device name, a picture object that was never made.
bool isMissingPicture(int code) {
  return code == rt::err::FileNotFound || code == 72 || code == 60 ||
         code == rt::err::PictureMissing;
}

void drawPicture(Game& g, int group, int number) {
  rt::Picture& picture = g.con.picture();
  picture.load(pictureFileName(number));
  const Corner corner = kCorners[group];
  picture.show(g.con.graphics(), corner.left, corner.top, kPictureSize, kPictureSize);
  g.con.files().closeAll();
  picture.free();
}

void showNotFound(Game& g, int group, int number) {
  const int row = group / 2 * 7 + 4;
  const int column = group % 2 * 65 + 2;
  printItemsAt(g, column - 1, row - 1, {"Graphic Data"});
  printItemsAt(g, column + 1, row, {"No.", static_cast<float>(number)});
  printItemsAt(g, column, row + 1, {"Not Found"});
}

}  // namespace

std::string pictureFileName(int number) {
  return rt::HEX(number) + "M.BMP";
}

int groupPictureNumber(const Game& g, int group) {
  const float picture = g.MonsterTable(groupMonsterOf(g, group), MonsterPicture);
  return g.GroupUnknown(group) == 0 ? rt::toInt32(rt::INT(picture / 100)) : rt::MOD(picture, 100);
}

void showGroupPicture(Game& g, int group) {
  if (g.Setting(MonsterPictures) == 0 || g.SysWord(PictureGroups) <= group) return;
  const int number = groupPictureNumber(g, group);
  if (number == 0) return;
  try {
    drawPicture(g, group, number);
  } catch (const rt::RuntimeError& error) {
    if (!isMissingPicture(error.code())) return;
    g.con.files().closeAll();
    showNotFound(g, group, number);
  }
}

}  // namespace kestrun::game
