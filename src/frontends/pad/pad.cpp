#include "frontends/pad/pad.h"

#include <array>

#include "runtime/keyboard.h"

namespace kestrun::fe::pad {

namespace {

namespace key = rt::key;

// Digits answer every menu; Y and N the questions; the arrows walk the maze.
constexpr std::array<Button, 18> kButtons{{
    {"1", '1', {0, 0}},
    {"2", '2', {0, 1}},
    {"3", '3', {0, 2}},
    {"4", '4', {0, 3}},
    {"5", '5', {0, 4}},
    {"Esc", key::Escape, {0, 5}},
    {"6", '6', {1, 0}},
    {"7", '7', {1, 1}},
    {"8", '8', {1, 2}},
    {"9", '9', {1, 3}},
    {"0", '0', {1, 4}},
    {"Enter", key::Enter, {1, 5}},
    {"Y", 'Y', {2, 0}},
    {"N", 'N', {2, 1}},
    {"←", key::Left, {2, 2}},
    {"↑", key::Up, {2, 3}},
    {"↓", key::Down, {2, 4}},
    {"→", key::Right, {2, 5}},
}};

constexpr Layout kLayout{
    4,
    6,
    kButtons,
    {{3, 0, 4}, "名前", {"OK", key::Enter, {3, 4, 2}}},
};

void appendString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

void appendCell(std::string& out, const Cell& cell) {
  out += "\"row\":" + std::to_string(cell.row) + ",\"column\":" + std::to_string(cell.column) +
         ",\"width\":" + std::to_string(cell.width);
}

void appendButton(std::string& out, const Button& button) {
  out += "{\"label\":";
  appendString(out, button.label);
  out += ",\"code\":" + std::to_string(button.code) + ",";
  appendCell(out, button.cell);
  out += "}";
}

}  // namespace

const Layout& layout() {
  return kLayout;
}

std::string toJson(const Layout& layout) {
  std::string out = "{\"rows\":" + std::to_string(layout.rows) +
                    ",\"columns\":" + std::to_string(layout.columns) + ",\"buttons\":[";
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    if (i > 0) out += ",";
    appendButton(out, layout.buttons[i]);
  }
  out += "],\"field\":{";
  appendCell(out, layout.field.cell);
  out += ",\"hint\":";
  appendString(out, layout.field.hint);
  out += ",\"submit\":";
  appendButton(out, layout.field.submit);
  out += "}}";
  return out;
}

}  // namespace kestrun::fe::pad
