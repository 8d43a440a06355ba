#include "source_file.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "runtime/sjis.h"
#include "suggestion.h"

namespace kestrun::forge {

std::optional<SourceFile> SourceFile::load(const std::filesystem::path& path, Problems& problems) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problems.add({path.string(), 0}, "cannot be read");
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return fromText(text.str(), path.string(), problems);
}

std::optional<SourceFile> SourceFile::fromText(const std::string& text, const std::string& name,
                                               Problems& problems) {
  try {
    return SourceFile(toml::parse(text, name), name);
  } catch (const toml::parse_error& e) {
    problems.add({name, static_cast<int>(e.source().begin.line)},
                 "not valid TOML: " + std::string(e.description()));
    return std::nullopt;
  }
}

Place SourceFile::at(const toml::node& node) const {
  return {name_, static_cast<int>(node.source().begin.line)};
}

std::optional<double> Reader::whole(const toml::node& node, const std::string& what,
                                    double largest) const {
  double value;
  if (auto i = node.as_integer()) {
    value = static_cast<double>(i->get());
  } else if (auto f = node.as_floating_point()) {
    value = f->get();
    if (!std::isfinite(value) || std::floor(value) != value) {
      report(node, what + " must be a whole number, not " + std::to_string(value));
      return std::nullopt;
    }
  } else {
    report(node, what + " must be a number");
    return std::nullopt;
  }
  if (std::fabs(value) > largest) {
    std::ostringstream limit;
    limit.precision(10);
    limit << largest;
    report(node, what + " is too large (at most " + limit.str() + " either way)");
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> Reader::string(const toml::node& node, const std::string& what) const {
  if (auto s = node.as_string()) return s->get();
  report(node, what + " must be a text in quotes");
  return std::nullopt;
}

std::string unencodableCharacters(const std::string& utf8) {
  std::string bad;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::string character = utf8.substr(i, length);
    if (rt::toUtf8(rt::toShiftJis(character)) != character) bad += character;
    i += length;
  }
  return bad;
}

std::optional<std::string> Reader::text(const toml::node& node, const std::string& what,
                                        size_t limitBytes) const {
  auto utf8 = string(node, what);
  if (!utf8) return std::nullopt;
  std::string bad = unencodableCharacters(*utf8);
  if (!bad.empty()) {
    report(node, what + " holds characters Shift-JIS cannot encode: " + bad);
    return std::nullopt;
  }
  std::string sjis = rt::toShiftJis(*utf8);
  if (sjis.size() > limitBytes) {
    report(node, what + " is " + std::to_string(sjis.size()) + " bytes in Shift-JIS; at most " +
                     std::to_string(limitBytes) + " fit");
    return std::nullopt;
  }
  return sjis;
}

std::optional<std::string> Reader::itemText(const toml::node& node, const std::string& what,
                                            size_t limitBytes) const {
  auto sjis = text(node, what, limitBytes);
  if (!sjis || sjis->empty()) return sjis;
  if (sjis->find_first_of(",\r\n") != std::string::npos || sjis->front() == ' ' ||
      sjis->front() == '\t' || sjis->front() == '"') {
    report(node, what +
                     " cannot be stored: the game reads a comma, a line end, or a leading blank "
                     "or quote differently");
    return std::nullopt;
  }
  return sjis;
}

void Reader::rejectUnknownKeys(const toml::table& table, const std::set<std::string>& known,
                               bool (*isRaw)(std::string_view)) const {
  const std::vector<std::string> candidates(known.begin(), known.end());
  for (const auto& [key, value] : table) {
    const std::string name(key.str());
    if (known.count(name) || (isRaw && isRaw(name))) continue;
    report(value, "unknown key \"" + name + "\"" + didYouMean(name, candidates));
  }
}

}  // namespace kestrun::forge
