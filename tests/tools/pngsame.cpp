// Exits 0 when two pictures have the same size and the same pixels (however
// each file was compressed), 1 when they differ, 2 when one cannot be read.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

namespace {

SDL_Surface* loadRgb(const char* path) {
  SDL_Surface* loaded = IMG_Load(path);
  if (!loaded) {
    std::fprintf(stderr, "pngsame: %s: %s\n", path, IMG_GetError());
    return nullptr;
  }
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  return rgb;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pngsame A.png B.png\n");
    return 2;
  }
  SDL_Surface* a = loadRgb(argv[1]);
  SDL_Surface* b = loadRgb(argv[2]);
  if (!a || !b) return 2;
  if (a->w != b->w || a->h != b->h) return 1;
  for (int y = 0; y < a->h; ++y) {
    const auto* rowA = static_cast<const uint8_t*>(a->pixels) + y * a->pitch;
    const auto* rowB = static_cast<const uint8_t*>(b->pixels) + y * b->pitch;
    for (int x = 0; x < a->w; ++x) {
      if ((reinterpret_cast<const uint32_t*>(rowA)[x] & 0xFFFFFF) !=
          (reinterpret_cast<const uint32_t*>(rowB)[x] & 0xFFFFFF)) {
        return 1;
      }
    }
  }
  return 0;
}
