#include <png.h>

#include <cstdio>
#include <vector>

#include "frontends/frontends.h"

namespace kestrun::fe {

namespace {

// libpng reports a failure by jumping back to where the write began.
bool writeRows(std::FILE* file, const std::vector<png_bytep>& rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool savePng(const std::string& path, const uint32_t* pixels, int width, int height) {
  // Each 0xRRGGBB pixel as its three bytes, red first.
  std::vector<png_byte> bytes(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    bytes[3 * i] = static_cast<png_byte>(pixels[i] >> 16);
    bytes[3 * i + 1] = static_cast<png_byte>(pixels[i] >> 8);
    bytes[3 * i + 2] = static_cast<png_byte>(pixels[i]);
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = bytes.data() + static_cast<size_t>(y) * width * 3;

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = writeRows(file, rows, width, height);
  return std::fclose(file) == 0 && written;
}

}  // namespace kestrun::fe
