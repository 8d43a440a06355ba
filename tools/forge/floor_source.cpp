#include "floor_source.h"

#include <cmath>
#include <map>

#include "floor_drawing.h"
#include "runtime/sjis.h"
#include "schemas.h"
#include "square_codes.h"

namespace kestrun::forge {

namespace {

using drawing::kUnknown;
using Layers = std::array<double, 4>;
using Params = std::array<double, 4>;

namespace code = square;
using square::guardianItemCount;
using square::hasKeyItem;
using square::isGuardian;
using square::isStairs;
using square::isTeleport;

bool hasFacing(int c) {
  return c == code::Message || c == code::Picture || c == code::MessageFile;
}

// Direction sets p1 of codes 19, 22 and 31, by the facings they allow
// (bit 0 north, 1 east, 2 south, 3 west).
const std::map<int, int>& facingCodes() {
  static const std::map<int, int> codes = {{1, 1},  {2, 2},   {4, 3},   {8, 4},  {3, 5},
                                           {6, 6},  {12, 7},  {9, 8},   {5, 9},  {10, 10},
                                           {7, 11}, {14, 12}, {13, 13}, {11, 14}};
  return codes;
}

const Vocabulary& fountainEffects() {
  static const Vocabulary words = [] {
    Vocabulary v("fountain effect",
                 {"strength", "health", "knowledge", "faith", "agility", "dexterity", "luck",
                  "charm", "class", "age", "alignment", "hit_points", "spell_points", "status"},
                 1);
    v.allow(0);
    return v;
  }();
  return words;
}

const Vocabulary& fountainChanges() {
  // 0, the value of a change not given, is written back by dump and must build.
  static const Vocabulary words = [] {
    Vocabulary v("fountain change", {"raise", "lower", "random"}, 1);
    v.allow(0);
    return v;
  }();
  return words;
}

std::string squareName(int x, int y) {
  return "square (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

bool representable(double v) {
  return std::floor(v) == v && v >= 0 && v <= kLargestValue;
}

const std::set<std::string>& squareKeys() {
  static const std::set<std::string> keys = {
      "at",      "layers",   "p",      "code",   "west",  "south",   "mark",
      "to",      "floors",   "item",   "price",  "wants", "gives",   "key_item",
      "effect",  "amount",   "change", "target", "text",  "facing",  "picture",
      "message", "question", "answer", "right",  "wrong", "monster", "items"};
  return keys;
}

// Builds the four layer values of one square from its drawn codes and its
// entry in the square list.
class SquareReader {
 public:
  SquareReader(const Reader& reader, const Vocabularies& words) : r_(reader), words_(words) {}

  Layers read(const std::array<int, 4>& drawn, const toml::table* detail, int x, int y,
              const Place& place) {
    where_ = squareName(x, y);
    place_ = place;
    codes_ = drawn;
    params_ = {};
    if (!detail) return missingCodes(drawn);
    r_.rejectUnknownKeys(*detail, squareKeys());
    if (const toml::node* layers = detail->get("layers")) return rawLayers(*detail, *layers);
    readCodes(*detail);
    if (const toml::node* p = detail->get("p")) readNumbers(*p, "p", params_);
    readNamed(*detail);
    Layers values;
    for (int l = 0; l < 4; ++l) values[l] = std::max(codes_[l], 0) + 100 * params_[l];
    return values;
  }

 private:
  // Without an entry, a '?' in the drawing has no code.
  Layers missingCodes(const std::array<int, 4>& drawn) {
    Layers values;
    for (int l = 0; l < 4; ++l) {
      if (drawn[l] == kUnknown) {
        r_.problems().add(place_, where_ + " is drawn with '?' but has no [[square]] entry");
      }
      values[l] = std::max(drawn[l], 0);
    }
    return values;
  }

  Layers rawLayers(const toml::table& detail, const toml::node& node) {
    Layers values{};
    readNumbers(node, "layers", values);
    for (const char* key : {"p", "code", "west", "south", "mark"}) {
      if (detail.get(key)) r_.report(*detail.get(key), where_ + ": give either layers or " + key);
    }
    for (int l = 0; l < 4; ++l) {
      const bool agrees = codes_[l] == kUnknown ||
                          (representable(values[l]) && std::fmod(values[l], 100) == codes_[l]);
      if (!agrees) {
        r_.report(node, where_ + ": layer " + std::to_string(l) + " value " +
                            Value::of(values[l]).render() + " does not have the code " +
                            std::to_string(codes_[l]) + " the drawing shows (draw '?' instead)");
      }
    }
    return values;
  }

  void readNumbers(const toml::node& node, const char* key, std::array<double, 4>& out) {
    const auto* list = node.as_array();
    if (!list || list->size() != 4) {
      r_.report(node, where_ + ": " + key + " must be a list of 4 numbers");
      return;
    }
    for (int i = 0; i < 4; ++i) {
      if (auto v = r_.whole(*list->get(i), where_ + " " + key)) out[i] = *v;
    }
    if (std::string_view(key) == "p") {
      for (int i = 0; i < 4; ++i) {
        if (out[i] < 0) r_.report(node, where_ + ": parameters cannot be negative");
      }
    }
  }

  void readCodes(const toml::table& detail) {
    const char* keys[4] = {"code", "west", "south", "mark"};
    for (int l = 0; l < 4; ++l) {
      const toml::node* node = detail.get(keys[l]);
      if (!node) {
        if (codes_[l] == kUnknown) {
          r_.report(detail, where_ + " is drawn with '?' but its entry gives no " + keys[l]);
          codes_[l] = 0;
        }
        continue;
      }
      auto v = r_.whole(*node, where_ + " " + keys[l]);
      if (!v) continue;
      if (*v < 0 || *v > 99) {
        r_.report(*node, where_ + ": " + keys[l] + " must be between 0 and 99");
      } else if (codes_[l] != kUnknown && codes_[l] != *v) {
        r_.report(*node, where_ + ": " + keys[l] + " " + Value::of(*v).render() +
                             " differs from the drawing (" + std::to_string(codes_[l]) +
                             "); draw '?' instead");
      } else {
        codes_[l] = static_cast<int>(*v);
      }
    }
  }

  // Reports a named key given to a square whose code does not use it.
  const toml::node* named(const toml::table& detail, const char* key, bool applies) {
    const toml::node* node = detail.get(key);
    if (node && !applies) {
      r_.report(*node, where_ + ": " + key + " does not apply to a square of code " +
                           std::to_string(codes_[0]));
      return nullptr;
    }
    return node;
  }

  void readNamed(const toml::table& detail) {
    const int c = codes_[0];
    if (auto* n = named(detail, "to", isTeleport(c) || isStairs(c))) readDestination(*n);
    if (auto* n = named(detail, "floors", c == code::Elevator)) readPair(*n, "floors", 0);
    if (auto* n = named(detail, "item", c == code::HiddenItem || c == code::Vendor))
      item(*n, "item", 0);
    if (auto* n = named(detail, "monster", isGuardian(c))) {
      if (auto v = words_.monster.resolve(*n, r_, where_ + " monster")) params_[0] = *v;
    }
    if (auto* n = named(detail, "items", isGuardian(c))) readItems(*n, guardianItemCount(c));
    if (auto* n = named(detail, "price", c == code::Vendor)) readPrice(*n);
    if (auto* n = named(detail, "wants", c == code::Altar)) item(*n, "wants", 1);
    if (auto* n = named(detail, "gives", c == code::Altar)) item(*n, "gives", 2);
    if (auto* n = named(detail, "key_item", hasKeyItem(c))) item(*n, "key_item", 3);
    if (auto* n = named(detail, "effect", c == code::Fountain)) word(*n, fountainEffects(), 0);
    if (auto* n = named(detail, "amount", c == code::Fountain)) number(*n, "amount", 1);
    if (auto* n = named(detail, "change", c == code::Fountain)) word(*n, fountainChanges(), 2);
    if (auto* n = named(detail, "target", c == code::Fountain)) number(*n, "target", 3);
    if (auto* n = named(detail, "text", c == code::Message)) number(*n, "text", 0);
    if (auto* n = named(detail, "facing", hasFacing(c))) readFacing(*n);
    if (auto* n = named(detail, "picture", c == code::Picture)) number(*n, "picture", 0);
    if (auto* n = named(detail, "message", c == code::MessageFile)) number(*n, "message", 0);
    readRiddle(detail, c == code::Riddle);
  }

  void number(const toml::node& node, const std::string& key, int p) {
    if (auto v = r_.whole(node, where_ + " " + key)) {
      if (*v < 0) {
        r_.report(node, where_ + ": " + key + " cannot be negative");
        return;
      }
      params_[p] = *v;
    }
  }

  void item(const toml::node& node, const std::string& key, int p) {
    if (auto v = words_.item.resolve(node, r_, where_ + " " + key)) params_[p] = *v;
  }

  void word(const toml::node& node, const Vocabulary& words, int p) {
    if (auto v = words.resolve(node, r_, where_ + " " + words.what())) params_[p] = *v;
  }

  // { floor = F, x = X, y = Y } (stairs take no floor: they lead one up or down)
  void readDestination(const toml::node& node) {
    const auto* to = node.as_table();
    if (!to) {
      r_.report(node, where_ + ": to must be a table like { floor = 2, x = 3, y = 4 }");
      return;
    }
    const bool stairs = isStairs(codes_[0]);
    r_.rejectUnknownKeys(
        *to, stairs ? std::set<std::string>{"x", "y"} : std::set<std::string>{"floor", "x", "y"});
    if (!stairs) {
      if (const toml::node* f = to->get("floor")) number(*f, "to.floor", 0);
    }
    if (const toml::node* x = to->get("x")) number(*x, "to.x", 1);
    if (const toml::node* y = to->get("y")) number(*y, "to.y", 2);
  }

  // The items a guardian leaves, into p1 onwards.
  void readItems(const toml::node& node, int most) {
    const auto* list = node.as_array();
    if (!list || static_cast<int>(list->size()) > most) {
      r_.report(node, where_ + ": items must be a list of at most " + std::to_string(most) +
                          (most == 1 ? " item" : " items"));
      return;
    }
    for (size_t i = 0; i < list->size(); ++i) item(*list->get(i), "items", 1 + static_cast<int>(i));
  }

  void readPair(const toml::node& node, const std::string& key, int first) {
    const auto* list = node.as_array();
    if (!list || list->size() != 2) {
      r_.report(node, where_ + ": " + key + " must be a list of 2 numbers");
      return;
    }
    number(*list->get(0), key, first);
    number(*list->get(1), key, first + 1);
  }

  void readPrice(const toml::node& node) {
    auto v = r_.whole(node, where_ + " price");
    if (!v) return;
    if (*v < 0) {
      r_.report(node, where_ + ": price cannot be negative");
      return;
    }
    params_[1] = std::floor(*v / 10000);
    params_[2] = std::fmod(std::floor(*v / 100), 100);
    params_[3] = std::fmod(*v, 100);
  }

  void readFacing(const toml::node& node) {
    const auto* list = node.as_array();
    if (!list) {
      r_.report(node, where_ + ": facing must be a list of directions");
      return;
    }
    int bits = 0;
    for (const toml::node& entry : *list) {
      if (auto d = words_.direction.resolve(entry, r_, where_ + " facing")) bits |= 1 << *d;
    }
    auto found = facingCodes().find(bits);
    params_[1] = found == facingCodes().end() ? 0 : found->second;
  }

  // p0 = 10 x right x + question line, p1 = 10 x right y + answer line,
  // p2, p3 the square a wrong answer leads to.
  void readRiddle(const toml::table& detail, bool applies) {
    double question = std::fmod(params_[0], 10), answer = std::fmod(params_[1], 10);
    double rightX = std::floor(params_[0] / 10), rightY = std::floor(params_[1] / 10);
    if (auto* n = named(detail, "question", applies)) question = digit(*n, "question", question);
    if (auto* n = named(detail, "answer", applies)) answer = digit(*n, "answer", answer);
    if (auto* n = named(detail, "wrong", applies)) readPair(*n, "wrong", 2);
    if (auto* n = named(detail, "right", applies)) {
      Params saved = params_;
      readPair(*n, "right", 0);
      rightX = params_[0];
      rightY = params_[1];
      params_[0] = saved[0];
      params_[1] = saved[1];
    }
    if (!applies) return;
    params_[0] = rightX * 10 + question;
    params_[1] = rightY * 10 + answer;
  }

  double digit(const toml::node& node, const std::string& key, double fallback) {
    auto v = r_.whole(node, where_ + " " + key);
    if (!v) return fallback;
    if (*v < 0 || *v > 9) {
      r_.report(node, where_ + ": " + key + " must name a floor text line (1 to 5)");
      return fallback;
    }
    return *v;
  }

  const Reader& r_;
  const Vocabularies& words_;
  std::string where_;
  Place place_;
  std::array<int, 4> codes_{};
  Params params_{};
};

class FloorReader {
 public:
  FloorReader(const SourceFile& file, const Vocabularies& words, Problems& problems,
              FloorSource& out)
      : r_(file, problems), root_(file.root()), words_(words), out_(out) {}

  void read(float scenarioId) {
    r_.rejectUnknownKeys(
        root_, {"seed", "scenario_id", "floor_number", "texts", "header", "map", "square"});
    out_.seal.seed = static_cast<float>(optionalWhole("seed", defaultSeed(out_.number)));
    out_.seal.scenarioId = static_cast<float>(optionalWhole("scenario_id", scenarioId));
    out_.seal.floorNumber = static_cast<float>(optionalWhole("floor_number", out_.number));
    readTexts();
    readHeader();
    readMap();
  }

 private:
  double optionalWhole(const char* key, double fallback) {
    const toml::node* node = root_.get(key);
    if (!node) return fallback;
    return r_.whole(*node, key).value_or(fallback);
  }

  void readTexts() {
    const toml::node* node = root_.get("texts");
    if (!node) return;
    const auto* list = node->as_array();
    if (!list || list->size() > 5) {
      r_.report(*node, "texts must be a list of at most 5 texts");
      return;
    }
    out_.textCount = static_cast<int>(list->size());
    for (size_t i = 0; i < list->size(); ++i) {
      const toml::node& entry = *list->get(i);
      const std::string what = "floor text " + std::to_string(i + 1);
      if (const auto* bytes = entry.as_array()) {
        out_.tables.FloorText(i) = textBytes(*bytes, what);
      } else if (auto t = r_.text(entry, what, game::kFloorTextBytes)) {
        out_.tables.FloorText(i) = *t;
      }
    }
  }

  // A floor text given as its bytes (what a dump writes for texts that are
  // not clean Shift-JIS).
  std::string textBytes(const toml::array& bytes, const std::string& what) {
    std::string text;
    if (bytes.size() > game::kFloorTextBytes) {
      r_.report(bytes, what + " has more than 28 bytes");
      return text;
    }
    for (const toml::node& b : bytes) {
      auto v = r_.whole(b, what);
      if (!v) continue;
      if (*v < 0 || *v > 255) {
        r_.report(b, what + ": a byte must be between 0 and 255");
        continue;
      }
      text += static_cast<char>(static_cast<int>(*v));
    }
    return text;
  }

  void readHeader() {
    const std::vector<double> fields =
        packOptionalTable(schemas::floorHeader(), root_, "header", r_, words_);
    for (int i = 0; i < 4; ++i) out_.tables.FloorHeader(i) = static_cast<float>(fields[i]);
  }

  void readMap() {
    const toml::node* node = root_.get("map");
    if (!node) {
      r_.problems().add(out_.place, "the floor has no map");
      return;
    }
    out_.place = r_.at(*node);
    auto text = r_.string(*node, "map");
    if (!text) return;
    const int base = r_.at(*node).line;
    std::vector<drawing::LineProblem> lineProblems;
    auto drawn = drawing::parse(*text, lineProblems);
    for (const auto& p : lineProblems) {
      Place at = r_.file().atLine(base + p.line);
      at.column = p.column;
      r_.problems().add(at, p.sentence);
    }
    if (!drawn) return;
    out_.drawn = true;
    auto details = squareDetails();
    SquareReader squares(r_, words_);
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        auto found = details.find({x, y});
        const toml::table* detail = found == details.end() ? nullptr : found->second;
        const Place place = detail ? r_.at(*detail) : r_.file().atLine(base + drawn->lineOfRow(y));
        out_.squarePlaces[x][y] = place;
        if (detail && (detail->get("to") || detail->get("p") || detail->get("layers")))
          out_.destinationGiven.insert({x, y});
        Layers values = squares.read(drawn->codes[x][y], detail, x, y, place);
        for (int l = 0; l < 4; ++l) out_.tables.FloorMap(x, y, l) = static_cast<float>(values[l]);
        checkSquare(values, x, y, place);
      }
    }
  }

  std::map<std::pair<int, int>, const toml::table*> squareDetails() {
    std::map<std::pair<int, int>, const toml::table*> details;
    const toml::node* node = root_.get("square");
    if (!node) return details;
    const auto* list = node->as_array();
    if (!list || !list->is_array_of_tables()) {
      r_.report(*node, "square must be written as [[square]]");
      return details;
    }
    for (const toml::node& entry : *list) {
      const toml::table& table = *entry.as_table();
      auto at = coordinates(table);
      if (!at) continue;
      if (!details.emplace(*at, &table).second) {
        r_.report(table, squareName(at->first, at->second) + " has two [[square]] entries");
      }
    }
    return details;
  }

  std::optional<std::pair<int, int>> coordinates(const toml::table& table) {
    const toml::node* at = table.get("at");
    const auto* list = at ? at->as_array() : nullptr;
    if (!list || list->size() != 2) {
      r_.report(at ? *at : static_cast<const toml::node&>(table), "a [[square]] needs at = [x, y]");
      return std::nullopt;
    }
    auto x = r_.whole(*list->get(0), "at"), y = r_.whole(*list->get(1), "at");
    if (!x || !y) return std::nullopt;
    if (*x < 0 || *x > 19 || *y < 0 || *y > 19) {
      r_.report(*at, "at: x and y must be between 0 and 19");
      return std::nullopt;
    }
    return std::make_pair(static_cast<int>(*x), static_cast<int>(*y));
  }

  void checkSquare(const Layers& v, int x, int y, const Place& place) {
    if (!representable(v[0]) || !representable(v[1]) || !representable(v[2]) ||
        !representable(v[3])) {
      return;
    }
    const int c = static_cast<int>(std::fmod(v[0], 100));
    Params p;
    for (int l = 0; l < 4; ++l) p[l] = std::floor(v[l] / 100);
    const std::string name = squareName(x, y);
    auto onFloor = [&](double coordinate, const std::string& what) {
      if (coordinate > 19) {
        problems().add(place, name + ": " + what + " " + Value::of(coordinate).render() +
                                  " is outside the floor (0 to 19)");
      }
    };
    auto link = [&](double floor, const std::string& what) {
      out_.links.push_back({place, static_cast<int>(floor), name + ": " + what});
    };
    if (c == code::Up) out_.hasUpStairs = true;
    if (isStairs(c)) {
      const bool toTown = c == code::Up && out_.number == 1;
      if (!toTown && !out_.destinationGiven.count({x, y})) {
        out_.findings.push_back(
            {place, name + ": the stairs have no destination (to = { x, y }); the party would "
                           "arrive at (0, 0)"});
      }
      onFloor(p[1], "the stairs' arrival x");
      onFloor(p[2], "the stairs' arrival y");
      const int target = out_.number + (c == code::Up ? -1 : 1);
      if (target > 0) link(target, c == code::Up ? "the stairs up" : "the stairs down");
    }
    if (isTeleport(c) && !out_.destinationGiven.count({x, y})) {
      out_.findings.push_back(
          {place, name + ": the teleport has no destination (to = { floor, x, y }); it would "
                         "send the party to town"});
    }
    if (isTeleport(c) && p[0] != 0) {
      onFloor(p[1], "the teleport's x");
      onFloor(p[2], "the teleport's y");
      link(p[0], "the teleport");
    }
    if (c == code::Elevator) {
      if (p[0] < 1 || p[1] < p[0]) {
        problems().add(place, name + ": the elevator's floors must be a range like [1, 3]");
      } else {
        for (double f = p[0]; f <= p[1] && f <= 99; ++f) link(f, "the elevator");
      }
    }
    if (c == code::Riddle) {
      onFloor(std::floor(p[0] / 10), "the riddle's right x");
      onFloor(std::floor(p[1] / 10), "the riddle's right y");
      onFloor(p[2], "the riddle's wrong x");
      onFloor(p[3], "the riddle's wrong y");
      textLine(std::fmod(p[0], 10), "the riddle's question", name, place);
      textLine(std::fmod(p[1], 10), "the riddle's answer", name, place);
    }
    if (c == code::Message) textLine(std::fmod(p[0], 10), "the message", name, place);
    if (isGuardian(c)) checkGuardian(c, p, name, place);
    if (c == code::Picture) out_.files.push_back({place, static_cast<int>(p[0]), true});
    if (c == code::MessageFile) out_.files.push_back({place, static_cast<int>(p[0]), false});
  }

  void textLine(double line, const std::string& what, const std::string& name, const Place& place) {
    if (line < 1 || line > 5) {
      problems().add(place, name + ": " + what + " must name floor text 1 to 5");
    } else if (line > out_.textCount) {
      const int count = out_.textCount;
      out_.findings.push_back(
          {place, name + ": " + what + " shows floor text " + Value::of(line).render() +
                      ", but the floor has " +
                      (count == 0 ? "no texts" : "only " + std::to_string(count))});
    }
  }

  // The monster fought and the items left must exist, or the battle is
  // empty and the chest hands over nothing (or a nameless item).
  void checkGuardian(int c, const Params& p, const std::string& name, const Place& place) {
    if (!words_.monster.isDefined(static_cast<int>(p[0]))) {
      out_.findings.push_back({place, name + ": the guardian is monster " +
                                          Value::of(p[0]).render() + ", which is not defined"});
    }
    for (int i = 1; i <= guardianItemCount(c); ++i) {
      if (p[i] != 0 && !words_.item.isDefined(static_cast<int>(p[i]))) {
        out_.findings.push_back({place, name + ": the guardian leaves item " +
                                            Value::of(p[i]).render() + ", which is not defined"});
      }
    }
  }

  Problems& problems() { return r_.problems(); }

  Reader r_;
  const toml::table& root_;
  const Vocabularies& words_;
  FloorSource& out_;
};

// ---- writing a floor source ----

std::optional<Value> facingValue(double p1) {
  if (p1 == 0) return Value::array();
  for (const auto& [bits, c] : facingCodes()) {
    if (c != p1) continue;
    Value list = Value::array();
    for (int d = 0; d < 4; ++d) {
      static const char* const names[4] = {"north", "east", "south", "west"};
      if (bits & (1 << d)) list.items.push_back(Value::ofText(names[d]));
    }
    return list;
  }
  return std::nullopt;
}

class SquareWriter {
 public:
  explicit SquareWriter(const Vocabularies& words) : words_(words) {}

  // Named keys for the parameters of a square of code c, when they say all
  // there is; nothing otherwise.
  std::optional<std::vector<std::pair<std::string, Value>>> named(int c, const Params& p) const {
    std::vector<std::pair<std::string, Value>> keys;
    std::array<bool, 4> covered{};
    auto put = [&](const char* key, Value v, std::initializer_list<int> params) {
      keys.emplace_back(key, std::move(v));
      for (int i : params) covered[i] = true;
    };
    if (isStairs(c)) {
      put("to", Value::table({{"x", Value::of(p[1])}, {"y", Value::of(p[2])}}), {1, 2});
    }
    if (isTeleport(c)) {
      put("to",
          Value::table(
              {{"floor", Value::of(p[0])}, {"x", Value::of(p[1])}, {"y", Value::of(p[2])}}),
          {0, 1, 2});
    }
    if (hasKeyItem(c)) put("key_item", item(p[3]), {3});
    if (c == code::Elevator)
      put("floors", Value::array({Value::of(p[0]), Value::of(p[1])}), {0, 1});
    if (c == code::HiddenItem || c == code::Vendor) put("item", item(p[0]), {0});
    if (isGuardian(c)) guardian(c, p, put);
    if (c == code::Vendor && p[2] < 100 && p[3] < 100) {
      put("price", Value::of(p[1] * 10000 + p[2] * 100 + p[3]), {1, 2, 3});
    }
    if (c == code::Altar) {
      put("wants", item(p[1]), {1});
      put("gives", item(p[2]), {2});
    }
    if (c == code::Fountain) fountain(p, put);
    if (hasFacing(c)) {
      auto facing = facingValue(p[1]);
      if (facing && p[1] != 0) put("facing", *facing, {1});
      if (facing) covered[1] = true;
      const char* key = c == code::Message ? "text" : c == code::Picture ? "picture" : "message";
      put(key, Value::of(p[0]), {0});
    }
    if (c == code::Riddle) riddle(p, put);
    for (int i = 0; i < 4; ++i) {
      if (p[i] != 0 && !covered[i]) return std::nullopt;
    }
    return keys;
  }

 private:
  Value item(double n) const {
    auto word = words_.item.wordFor(static_cast<int>(n));
    return word ? Value::ofText(*word) : Value::of(n);
  }

  template <typename Put>
  void guardian(int c, const Params& p, Put& put) const {
    // Only what the source can name back: a monster or item that is not
    // defined stays in the raw parameters.
    int count = guardianItemCount(c);
    while (count > 0 && p[count] == 0) --count;
    if (!words_.monster.isDefined(static_cast<int>(p[0]))) return;
    for (int i = 1; i <= count; ++i) {
      if (!words_.item.isDefined(static_cast<int>(p[i]))) return;
    }
    auto monster = words_.monster.wordFor(static_cast<int>(p[0]));
    put("monster", monster ? Value::ofText(*monster) : Value::of(p[0]), {0});
    if (count == 0) return;
    Value items = Value::array();
    for (int i = 1; i <= count; ++i) items.items.push_back(item(p[i]));
    if (count == 1) put("items", items, {1});
    if (count == 2) put("items", items, {1, 2});
    if (count == 3) put("items", items, {1, 2, 3});
  }

  template <typename Put>
  void fountain(const Params& p, Put& put) const {
    auto effect = fountainEffects().wordFor(static_cast<int>(p[0]));
    auto change = fountainChanges().wordFor(static_cast<int>(p[2]));
    put("effect", effect ? Value::ofText(*effect) : Value::of(p[0]), {0});
    put("amount", Value::of(p[1]), {1});
    put("change", change ? Value::ofText(*change) : Value::of(p[2]), {2});
    put("target", Value::of(p[3]), {3});
  }

  template <typename Put>
  void riddle(const Params& p, Put& put) const {
    put("question", Value::of(std::fmod(p[0], 10)), {0});
    put("answer", Value::of(std::fmod(p[1], 10)), {1});
    put("right", Value::array({Value::of(std::floor(p[0] / 10)), Value::of(std::floor(p[1] / 10))}),
        {});
    put("wrong", Value::array({Value::of(p[2]), Value::of(p[3])}), {2, 3});
  }

  const Vocabularies& words_;
};

Value floorTextValue(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  bool clean = rt::toShiftJis(rt::toUtf8(trimmed)) == trimmed;
  for (char c : trimmed) {
    if (static_cast<unsigned char>(c) < 0x20) clean = false;
  }
  if (clean) return Value::ofText(rt::toUtf8(trimmed));
  Value bytes = Value::array();
  for (char c : text) bytes.items.push_back(Value::of(static_cast<unsigned char>(c)));
  return bytes;
}

// The drawn code of layer l, or kUnknown when the code has no symbol.
int drawnCode(int layer, int c) {
  if (layer == 0) return c;
  if (layer == 3) return drawing::markSymbol(c) || c == 0 ? c : kUnknown;
  return drawing::boundarySymbol(c) ? c : kUnknown;
}

}  // namespace

FloorSource readFloorSource(const SourceFile& file, int number, float scenarioId,
                            const Vocabularies& words, Problems& problems) {
  FloorSource floor;
  floor.number = number;
  floor.place = file.atLine(0);
  FloorReader(file, words, problems, floor).read(scenarioId);
  return floor;
}

std::string writeFloorSource(const game::FloorTables& t, const game::FloorSeal& seal, int number,
                             float scenarioId, const Vocabularies& words) {
  TomlWriter out;
  out.comment("Floor " + std::to_string(number) +
              " written by kestrun-forge dump; see docs/scenario-format.md.");
  out.put("seed", Value::of(seal.seed));
  if (seal.scenarioId != scenarioId) out.put("scenario_id", Value::of(seal.scenarioId));
  if (seal.floorNumber != number) out.put("floor_number", Value::of(seal.floorNumber));
  Value texts = Value::array();
  bool anyText = false;
  for (int i = 0; i < 5; ++i) {
    texts.items.push_back(floorTextValue(t.FloorText(i)));
    if (t.FloorText(i).find_first_not_of(' ') != std::string::npos) anyText = true;
  }
  if (anyText) out.put("texts", texts);

  drawing::Codes codes{};
  std::vector<std::pair<std::pair<int, int>, std::vector<std::pair<std::string, Value>>>> squares;
  SquareWriter writer(words);
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      std::vector<std::pair<std::string, Value>> keys;
      Layers v;
      for (int l = 0; l < 4; ++l) v[l] = t.FloorMap(x, y, l);
      if (!representable(v[0]) || !representable(v[1]) || !representable(v[2]) ||
          !representable(v[3])) {
        for (int l = 0; l < 4; ++l) codes[x][y][l] = kUnknown;
        keys.emplace_back("layers", Value::array({Value::of(v[0]), Value::of(v[1]), Value::of(v[2]),
                                                  Value::of(v[3])}));
      } else {
        Params p;
        const char* codeKeys[4] = {"code", "west", "south", "mark"};
        for (int l = 0; l < 4; ++l) {
          const int c = static_cast<int>(std::fmod(v[l], 100));
          p[l] = std::floor(v[l] / 100);
          codes[x][y][l] = drawnCode(l, c);
          if (codes[x][y][l] == kUnknown) keys.emplace_back(codeKeys[l], Value::of(c));
        }
        const int c = static_cast<int>(std::fmod(v[0], 100));
        if (p != Params{}) {
          auto named = writer.named(c, p);
          if (named) {
            keys.insert(keys.end(), named->begin(), named->end());
          } else {
            keys.emplace_back("p", Value::array({Value::of(p[0]), Value::of(p[1]), Value::of(p[2]),
                                                 Value::of(p[3])}));
          }
        }
      }
      if (!keys.empty()) squares.push_back({{x, y}, std::move(keys)});
    }
  }

  out.blank();
  out.putBlock("map", drawing::render(codes));
  std::vector<double> header(4);
  for (int i = 0; i < 4; ++i) header[i] = t.FloorHeader(i);
  auto headerKeys = unpackRecord(schemas::floorHeader(), header, words);
  if (!headerKeys.empty()) {
    out.table("header");
    for (const auto& [key, value] : headerKeys) out.put(key, value);
  }
  for (const auto& [at, keys] : squares) {
    out.arrayTable("square");
    out.put("at", Value::array({Value::of(at.first), Value::of(at.second)}));
    for (const auto& [key, value] : keys) out.put(key, value);
  }
  return out.text();
}

}  // namespace kestrun::forge
