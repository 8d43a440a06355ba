#include "runtime/keyscript.h"

#include <map>
#include <string>

#include "runtime/keyboard.h"
#include "runtime/sjis.h"

namespace kestrun::rt {

namespace {
const std::map<std::string, uint8_t, std::less<>>& keyNames() {
  static const std::map<std::string, uint8_t, std::less<>> names = {
      {"Enter", key::Enter}, {"Up", key::Up},       {"Down", key::Down}, {"Left", key::Left},
      {"Right", key::Right}, {"Esc", key::Escape},  {"Home", key::Home}, {"Ins", key::Insert},
      {"Del", key::Delete},  {"Bs", key::Backspace}};
  return names;
}
}  // namespace

std::vector<uint8_t> parseKeyScript(std::string_view utf8) {
  std::vector<uint8_t> keys;
  std::string text;  // plain characters, converted together
  auto flushText = [&] {
    for (char c : toShiftJis(text)) keys.push_back(static_cast<uint8_t>(c));
    text.clear();
  };
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r') {
      flushText();
      keys.push_back(key::Enter);
    } else if (c == '{' && i + 1 < utf8.size() && utf8[i + 1] == '{') {
      text.push_back('{');
      ++i;
    } else if (c == '{') {
      const size_t close = utf8.find('}', i);
      if (close == std::string_view::npos) {
        throw KeyScriptError("key script: \"{\" without \"}\" (write {{ for a literal brace)");
      }
      const std::string_view name = utf8.substr(i + 1, close - i - 1);
      const auto it = keyNames().find(name);
      if (it == keyNames().end()) {
        throw KeyScriptError("key script: unknown key name {" + std::string(name) + "}");
      }
      flushText();
      keys.push_back(it->second);
      i = close;
    } else {
      text.push_back(c);
    }
  }
  flushText();
  return keys;
}

}  // namespace kestrun::rt
