#include <cstdio>
#include <sstream>

#include "plan_pictures.h"

namespace kestrun::forge::plan {

namespace {

std::string hexColour(Rgb c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", c & 0xFFFFFF);
  return text;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Writes each drawing call as an SVG element.
class SvgCanvas : public Canvas {
 public:
  explicit SvgCanvas(std::ostringstream& out) : out_(out) {}

  void line(int x1, int y1, int x2, int y2, Rgb colour, int width, bool dashed) override {
    out_ << "<line x1=\"" << x1 << "\" y1=\"" << y1 << "\" x2=\"" << x2 << "\" y2=\"" << y2
         << "\" stroke=\"" << hexColour(colour) << "\" stroke-width=\"" << width << "\"";
    if (dashed) out_ << " stroke-dasharray=\"4 3\"";
    out_ << "/>\n";
  }

  void box(int x, int y, int w, int h, Rgb colour) override {
    out_ << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
         << "\" fill=\"" << hexColour(colour) << "\"/>\n";
  }

  void triangle(const int (&xs)[3], const int (&ys)[3], Rgb colour) override {
    out_ << "<polygon points=\"";
    for (int i = 0; i < 3; ++i) out_ << (i ? " " : "") << xs[i] << "," << ys[i];
    out_ << "\" fill=\"" << hexColour(colour) << "\"/>\n";
  }

  // The text's em box is the 16-pixel glyph cell; textLength keeps it on the
  // canvas's grid of 8 pixels per half-width column whatever the font.
  void text(int x, int y, const std::string& utf8, Rgb colour) override {
    if (utf8.empty()) return;
    out_ << "<text x=\"" << x << "\" y=\"" << y + 13 << "\" fill=\"" << hexColour(colour)
         << "\" textLength=\"" << 8 * textColumns(utf8) << "\">" << escaped(utf8) << "</text>\n";
  }

 private:
  std::ostringstream& out_;
};

}  // namespace

std::string renderSvg(const FloorPlan& plan) {
  const PictureSize size = pictureSize(plan);
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size.width << "\" height=\""
      << size.height << "\" viewBox=\"0 0 " << size.width << " " << size.height
      << "\" font-family=\"monospace\" font-size=\"14\">\n";
  SvgCanvas canvas(out);
  drawPlan(plan, canvas);
  out << "</svg>\n";
  return out.str();
}

}  // namespace kestrun::forge::plan
