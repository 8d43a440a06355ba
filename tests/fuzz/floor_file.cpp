// A floor file of any content, read as a floor change reads it.
#include "game/state/floor_file.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "runtime/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrun;
  static fuzz::ScratchFile file("F-1F.DAT");
  constexpr int kFile = 1;
  game::FloorTables tables;
  game::FloorSeal seal;
  game::Table<float, 5, 29> textCodes;
  rt::FileTable files;
  try {
    files.OPEN(file.hold(data, size), rt::FileMode::Input, rt::FileAccess::Read, kFile);
    game::readFloor(files, kFile, tables, seal, textCodes);
    files.closeAll();
    game::unscrambleFloor(tables, seal, textCodes);
  } catch (const rt::RuntimeError&) {
  }
  return 0;
}
