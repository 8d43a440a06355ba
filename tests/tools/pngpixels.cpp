// Prints the colours of a PNG's pixels, one "x,y RRGGBB" line per point
// given as x,y, so that a session's pictures can be checked at chosen places.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: pngpixels FILE X,Y...\n");
    return 2;
  }
  SDL_Surface* loaded = IMG_Load(argv[1]);
  if (!loaded) {
    std::fprintf(stderr, "pngpixels: %s\n", IMG_GetError());
    return 1;
  }
  SDL_Surface* image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (!image) return 1;
  int status = 0;
  for (int i = 2; i < argc; ++i) {
    int x = 0;
    int y = 0;
    if (std::sscanf(argv[i], "%d,%d", &x, &y) != 2 || x < 0 || y < 0 || x >= image->w ||
        y >= image->h) {
      std::fprintf(stderr, "pngpixels: bad point %s\n", argv[i]);
      status = 2;
      continue;
    }
    const auto* row = static_cast<const unsigned char*>(image->pixels) + y * image->pitch;
    const unsigned rgb = reinterpret_cast<const Uint32*>(row)[x] & 0xFFFFFF;
    std::printf("%d,%d %06X\n", x, y, rgb);
  }
  SDL_FreeSurface(image);
  return status;
}
