#include "frontends/pad/pad_panel.h"

#include <gtest/gtest.h>

#include "runtime/font.h"
#include "runtime/keyboard.h"

namespace kestrun::fe::pad {
namespace {

namespace key = rt::key;

// The place whose button carries the label.
size_t placeLabelled(std::string_view label) {
  const Layout& pad = layout();
  for (size_t i = 0; i < pad.buttons.size(); ++i) {
    if (pad.buttons[i].label == label) return i;
  }
  if (label == "field") return pad.buttons.size();
  return pad.buttons.size() + 1;  // the field's button
}

// The middle pixel of a place, where a click lands.
std::pair<int, int> middleOf(const Panel& panel, size_t place) {
  const Rect r = panel.placeRect(place);
  return {r.x + r.width / 2, r.y + r.height / 2};
}

TEST(PadPanel, EveryPlaceLiesInsideThePadAndNoTwoOverlap) {
  const Panel panel;
  for (size_t a = 0; a < panel.placeCount(); ++a) {
    const Rect r = panel.placeRect(a);
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.x + r.width, panel.width());
    EXPECT_LE(r.y + r.height, panel.height());
    for (size_t b = a + 1; b < panel.placeCount(); ++b) {
      const Rect o = panel.placeRect(b);
      const bool apart = r.x + r.width <= o.x || o.x + o.width <= r.x || r.y + r.height <= o.y ||
                         o.y + o.height <= r.y;
      EXPECT_TRUE(apart) << a << " and " << b;
    }
  }
}

TEST(PadPanel, AClickOnAButtonPressesItsKeyAndTheGapsPressNothing) {
  Panel panel;
  for (std::string_view label : {"1", "0", "Y", "Esc", "Enter", "←"}) {
    const size_t place = placeLabelled(label);
    const auto [x, y] = middleOf(panel, place);
    ASSERT_EQ(panel.placeAt(x, y), place) << label;
    const Press press = panel.press(place);
    EXPECT_TRUE(press.text.empty());
    EXPECT_EQ(press.key, layout().buttons[place].code) << label;
  }
  EXPECT_EQ(panel.placeAt(0, 0), std::nullopt);
  EXPECT_EQ(panel.placeAt(panel.width() - 1, panel.height() - 1), std::nullopt);
  const Rect first = panel.placeRect(0);
  EXPECT_EQ(panel.placeAt(first.x + first.width, first.y), std::nullopt) << "the gap after it";
}

TEST(PadPanel, ANameTypedInTheFieldIsSentWholeThenEnter) {
  Panel panel;
  EXPECT_FALSE(panel.press(placeLabelled("field")).key);
  EXPECT_TRUE(panel.fieldFocused());
  panel.type("ガル");
  panel.type("ド");
  panel.erase();  // takes back one whole character of three bytes
  panel.type("ム");
  EXPECT_EQ(panel.fieldText(), "ガルム");
  const Press sent = panel.press(placeLabelled("OK"));
  EXPECT_EQ(sent.text, "ガルム");
  EXPECT_EQ(sent.key, key::Enter);
  EXPECT_EQ(panel.fieldText(), "");
  EXPECT_FALSE(panel.fieldFocused());

  panel.press(placeLabelled("field"));
  panel.erase();  // nothing to take back
  EXPECT_EQ(panel.submitField().text, "");
}

TEST(PadPanel, TheControllersHighlightWalksTheGridAndReachesTheField) {
  Panel panel;
  EXPECT_EQ(panel.highlighted(), placeLabelled("1"));
  panel.moveHighlight(1, 0);
  EXPECT_EQ(panel.highlighted(), placeLabelled("2"));
  panel.moveHighlight(0, 1);
  EXPECT_EQ(panel.highlighted(), placeLabelled("7"));
  panel.moveHighlight(0, 1);
  panel.moveHighlight(0, 1);
  EXPECT_EQ(panel.highlighted(), placeLabelled("field"));
  panel.moveHighlight(0, 1);  // the bottom row: it stays
  EXPECT_EQ(panel.highlighted(), placeLabelled("field"));
  panel.moveHighlight(1, 0);
  EXPECT_EQ(panel.highlighted(), placeLabelled("OK"));
}

TEST(PadPanel, ItsPictureShowsLabelsTheHighlightAndTheTypedName) {
  Panel panel;
  const rt::Font& font = rt::Font::builtIn();
  const auto lit = [&](const std::vector<uint32_t>& pixels, const Rect& r, uint32_t rgb) {
    int count = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x) {
        count += pixels[static_cast<size_t>(y) * panel.width() + x] == rgb;
      }
    }
    return count;
  };
  const Rect one = panel.placeRect(placeLabelled("1"));
  const Rect field = panel.fieldRect();
  const auto plain = panel.draw(font, false);
  ASSERT_EQ(plain.size(), static_cast<size_t>(panel.width()) * panel.height());
  EXPECT_GT(lit(plain, one, 0xFFFFFF), 0) << "the label 1";
  EXPECT_EQ(lit(plain, one, 0xFFFF00), 0);
  EXPECT_EQ(lit(panel.draw(font, true), one, 0xFFFF00), 2 * (one.width + one.height) * 2 - 16);

  const int hint = lit(plain, field, 0x707070);
  EXPECT_GT(hint, 0) << "the hint while the field is empty";
  panel.press(placeLabelled("field"));
  const int caretOnly = lit(panel.draw(font, false), field, 0xFFFFFF);
  panel.type("名");
  EXPECT_GT(lit(panel.draw(font, false), field, 0xFFFFFF), caretOnly);
  for (int i = 0; i < 40; ++i) panel.type("長");  // longer than the field: the end shows
  const auto longName = panel.draw(font, false);
  for (int y = 0; y < panel.height(); ++y) {
    EXPECT_NE(longName[static_cast<size_t>(y) * panel.width() + field.x + field.width], 0xFFFFFFu)
        << "nothing drawn past the field";
  }
}

TEST(PadPlacement, BesideTheImageWhenWideBelowWhenTallElseOverIt) {
  const Panel panel;
  const int w = panel.width();
  const int h = panel.height();
  const Placement wide = placePad(1920, 1080, 640, 432, w, h);
  EXPECT_FALSE(wide.overImage);
  EXPECT_EQ(wide.image, (Rect{0, 0, 640, 432}));
  EXPECT_GE(wide.pad.x, 640);
  EXPECT_EQ(wide.pad.y + h, 432);
  EXPECT_LE(wide.logicalWidth * 2, 1920) << "the image keeps its scale of 2";

  const Placement tall = placePad(700, 700, 640, 432, w, h);
  EXPECT_FALSE(tall.overImage);
  EXPECT_GE(tall.pad.y, 432);
  EXPECT_LE(tall.logicalHeight, 700);

  const Placement exact = placePad(1280, 864, 640, 432, w, h);
  EXPECT_TRUE(exact.overImage) << "a window just the image's size keeps its scale";
  EXPECT_EQ(exact.logicalWidth, 640);
  EXPECT_EQ(exact.pad, (Rect{640 - w, 432 - h, w, h}));

  const Placement tiny = placePad(300, 200, 640, 432, w, h);
  EXPECT_TRUE(tiny.overImage);
}

}  // namespace
}  // namespace kestrun::fe::pad
