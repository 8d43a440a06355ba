#include "toml_writer.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace kestrun::forge {

namespace {

std::string renderNumber(double n, int decimals) {
  if (n == 0) n = 0;  // no "-0"
  char buffer[64];
  if (decimals > 0) {
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, n);
    std::string s = buffer;
    while (s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    return s;
  }
  if (std::floor(n) == n && std::fabs(n) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", n);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.9g", n);
  std::string s = buffer;
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

std::string renderText(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned char>(c));
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

Value Value::of(double n, int decimals) {
  Value v;
  v.number = n;
  v.decimals = decimals;
  return v;
}
Value Value::ofFlag(bool b) {
  Value v;
  v.kind = Kind::Flag;
  v.flag = b;
  return v;
}
Value Value::ofText(std::string s) {
  Value v;
  v.kind = Kind::Text;
  v.text = std::move(s);
  return v;
}
Value Value::array(std::vector<Value> items) {
  Value v;
  v.kind = Kind::Array;
  v.items = std::move(items);
  return v;
}
Value Value::table(std::vector<std::pair<std::string, Value>> fields) {
  Value v;
  v.kind = Kind::Table;
  v.fields = std::move(fields);
  return v;
}

std::string Value::render() const {
  switch (kind) {
    case Kind::Number:
      return renderNumber(number, decimals);
    case Kind::Flag:
      return flag ? "true" : "false";
    case Kind::Text:
      return renderText(text);
    case Kind::Array: {
      std::string out = "[";
      for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i].render();
      return out + "]";
    }
    case Kind::Table: {
      std::string out = "{";
      for (size_t i = 0; i < fields.size(); ++i) {
        out += (i ? ", " : " ") + renderKey(fields[i].first) + " = " + fields[i].second.render();
      }
      return out + (fields.empty() ? "}" : " }");
    }
  }
  return {};
}

std::string renderKey(std::string_view key) {
  bool bare = !key.empty();
  for (char c : key) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) bare = false;
  }
  return bare ? std::string(key) : renderText(std::string(key));
}

void TomlWriter::comment(std::string_view text) {
  text_ += "# " + std::string(text) + "\n";
}
void TomlWriter::blank() {
  text_ += "\n";
}
void TomlWriter::table(std::string_view name) {
  text_ += "\n[" + std::string(name) + "]\n";
}
void TomlWriter::arrayTable(std::string_view name) {
  text_ += "\n[[" + std::string(name) + "]]\n";
}
void TomlWriter::put(std::string_view key, const Value& value) {
  text_ += renderKey(key) + " = " + value.render() + "\n";
}
void TomlWriter::putBlock(std::string_view key, const std::string& text) {
  text_ += renderKey(key) + " = '''\n" + text + "'''\n";
}

}  // namespace kestrun::forge
