// A picture file of any content, loaded and shown where the game shows
// pictures (small, so the drawing does not outweigh the loading): the game's
// own bitmap decoder either yields a picture that is drawn, or the load
// raises a run-time error.
#include "runtime/picture.h"

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "runtime/errors.h"
#include "runtime/graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kestrun;
  static fuzz::ScratchFile file("1AG.BMP");
  static rt::GraphicsPlane plane;
  rt::Picture picture;
  picture.create();
  try {
    picture.load(file.hold(data, size));
    picture.show(plane, 40, 24, 32, 24);
  } catch (const rt::RuntimeError&) {
  }
  return 0;
}
