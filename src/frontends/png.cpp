#include <SDL.h>
#include <SDL_image.h>

#include "frontends/frontends.h"

namespace kestrun::fe {

bool savePng(const std::string& path, const uint32_t* pixels, int width, int height) {
  // SDL only reads through the pointer when saving.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_RGB888);
  if (surface == nullptr) return false;
  const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return saved;
}

}  // namespace kestrun::fe
