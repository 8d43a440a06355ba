// Writes the tables the program carries, as a C++ source of constant arrays:
// every glyph Shift-JIS text can show, taken from a Unifont .hex file, and
// code page 932 in both directions, as glibc's iconv converts it.
// Run once at build time; the source compiles with any C++20 compiler, so a
// cross build (the browser's) can use the file a host build made.
//
//   kestrun-glyph-table OUT.cpp HEX [HEX...]   (the first readable file is used)

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/code_page.h"
#include "runtime/font.h"

namespace {

using kestrun::rt::Font;

void writeHex(std::ostream& out, unsigned value, int digits) {
  out << "0x" << std::hex << std::uppercase << std::setw(digits) << std::setfill('0') << value
      << std::dec;
}

void writeGlyphs(std::ostream& out, const Font& font) {
  out << "const Font::Glyph kGlyphs[] = {\n";
  for (const Font::Glyph& glyph : font.glyphs()) {
    out << "    {" << int{glyph.width} << ", {";
    for (size_t row = 0; row < 16; ++row) {
      if (row > 0) out << ',';
      writeHex(out, glyph.rows[row], glyph.width / 4);
    }
    out << "}},\n";
  }
  out << "};\nconst size_t kGlyphCount = " << font.glyphs().size() << ";\n\n";
}

void writeIndex(std::ostream& out, const Font& font) {
  out << "const uint16_t kIndex[Font::kIndexSlots] = {";
  size_t column = 0;
  for (const uint16_t number : font.index()) {
    out << (column++ % 16 == 0 ? "\n    " : " ") << number << ',';
  }
  out << "\n};\n";
}

void writeCodePage(std::ostream& out) {
  using namespace kestrun::rt;
  std::vector<char16_t> codePoints(kCodeSlots, 0);
  for (uint32_t code = 0; code < 0x10000; ++code) {
    const std::optional<size_t> slot = codeSlot(static_cast<uint16_t>(code));
    if (!slot) continue;
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::string_view character =
        code < 0x100 ? std::string_view(bytes + 1, 1) : std::string_view(bytes, 2);
    codePoints[*slot] = static_cast<char16_t>(codePointOf(character));
  }
  out << "\n}  // namespace kestrun::rt::glyph_table\n\n"
      << "namespace kestrun::rt::code_page {\n\n"
      << "const char16_t kCodePoints[kCodeSlots] = {";
  size_t column = 0;
  for (const char16_t c : codePoints)
    out << (column++ % 16 == 0 ? "\n    " : " ") << unsigned{c} << ',';
  out << "\n};\n\nconst FromUnicode kFromUnicode[] = {";
  size_t count = 0;
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (const uint16_t code = shiftJisCodeOf(c); code != 0) {
      out << (count++ % 8 == 0 ? "\n    " : " ") << '{' << unsigned{c} << ", " << code << "},";
    }
  }
  out << "\n};\nconst size_t kFromUnicodeCount = " << count
      << ";\n\n}  // namespace kestrun::rt::code_page\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: kestrun-glyph-table OUT.cpp HEX [HEX...]\n";
    return 2;
  }
  Font font;
  std::string used;
  for (int i = 2; i < argc && used.empty(); ++i) {
    if (font.load(argv[i])) used = argv[i];
  }
  if (used.empty()) {
    std::cerr << "kestrun-glyph-table: no readable Unifont file; install the Debian package "
                 "\"unifont\"\n";
    return 1;
  }
  const std::string temporary = std::string(argv[1]) + ".tmp";
  std::ofstream out(temporary);
  out << "// Made by kestrun-glyph-table from " << used << "; do not edit.\n"
      << "#include \"runtime/code_page.h\"\n"
      << "#include \"runtime/glyph_table.h\"\n\n"
      << "namespace kestrun::rt::glyph_table {\n\n";
  writeGlyphs(out, font);
  writeIndex(out, font);
  writeCodePage(out);
  out.close();
  if (!out || std::rename(temporary.c_str(), argv[1]) != 0) {
    std::cerr << "kestrun-glyph-table: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
