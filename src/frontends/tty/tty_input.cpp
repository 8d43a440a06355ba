#include "frontends/tty/tty_input.h"

#include <charconv>
#include <optional>

#include "runtime/keyboard.h"

namespace kestrun::fe {

namespace {

constexpr uint8_t kEsc = 0x1B;

TerminalInput keyInput(uint8_t code) {
  return {TerminalInput::Kind::Key, code, {}};
}

// Number of continuation bytes after a UTF-8 lead byte; -1 when it is none.
int continuationBytes(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

// The numbers of a sequence such as "1;2"; an empty field counts as 0.
std::vector<int> parameters(std::string_view params) {
  std::vector<int> values;
  size_t start = 0;
  while (start <= params.size()) {
    size_t end = params.find(';', start);
    if (end == std::string_view::npos) end = params.size();
    int value = 0;
    std::from_chars(params.data() + start, params.data() + end, value);
    values.push_back(value);
    start = end + 1;
  }
  return values;
}

// Shift is bit 0 of (modifier - 1) in the xterm convention.
bool shiftHeld(const std::vector<int>& values) {
  return values.size() >= 2 && values[1] >= 2 && ((values[1] - 1) & 1) != 0;
}

// Keys named by a final letter, in both CSI and SS3 sequences.
std::optional<uint8_t> letterKey(uint8_t final, bool shift) {
  switch (final) {
    case 'A':
      return rt::key::Up;
    case 'B':
      return rt::key::Down;
    case 'C':
      return rt::key::Right;
    case 'D':
      return rt::key::Left;
    case 'H':
      return shift ? rt::key::ShiftHome : rt::key::Home;
    case 'M':
      return rt::key::Enter;
    default:
      return std::nullopt;
  }
}

// Keys of the "CSI n ~" form.
std::optional<uint8_t> tildeKey(int number, bool shift) {
  switch (number) {
    case 1:
    case 7:
      return shift ? rt::key::ShiftHome : rt::key::Home;
    case 2:
      return rt::key::Insert;
    case 3:
      return rt::key::Delete;
    default:
      return std::nullopt;
  }
}

std::optional<uint8_t> sequenceKey(std::string_view params, uint8_t final) {
  // Private sequences ('?', '<', '=', '>') are terminal reports, not keys.
  if (!params.empty() && params[0] >= '<') return std::nullopt;
  const std::vector<int> values = parameters(params);
  const bool shift = shiftHeld(values);
  if (final == '~') return tildeKey(values[0], shift);
  return letterKey(final, shift);
}

}  // namespace

std::vector<TerminalInput> TerminalInputParser::feed(std::string_view bytes) {
  std::vector<TerminalInput> out;
  lastWasReturn_ = false;
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    switch (state_) {
      case State::Ground:
        ground(byte, out);
        break;
      case State::Escape:
        escape(byte, out);
        break;
      case State::Csi:
        csi(byte, out);
        break;
      case State::Ss3:
        ss3(byte, out);
        break;
    }
  }
  endText(out);
  return out;
}

std::vector<TerminalInput> TerminalInputParser::flush() {
  std::vector<TerminalInput> out;
  if (state_ == State::Escape) out.push_back(keyInput(rt::key::Escape));
  state_ = State::Ground;
  params_.clear();
  return out;
}

void TerminalInputParser::ground(uint8_t byte, std::vector<TerminalInput>& out) {
  if (byte < 0x20 || byte == 0x7F) {
    control(byte, out);
    return;
  }
  lastWasReturn_ = false;
  textByte(byte);
}

void TerminalInputParser::control(uint8_t byte, std::vector<TerminalInput>& out) {
  partial_.clear();
  utf8Missing_ = 0;
  endText(out);
  const bool afterReturn = lastWasReturn_;
  lastWasReturn_ = false;
  switch (byte) {
    case '\r':
      lastWasReturn_ = true;
      out.push_back(keyInput(rt::key::Enter));
      break;
    case '\n':
      // A pasted CR LF is one line end.
      if (!afterReturn) out.push_back(keyInput(rt::key::Enter));
      break;
    case 0x08:
    case 0x7F:
      out.push_back(keyInput(rt::key::Backspace));
      break;
    case 0x0C:
      out.push_back({TerminalInput::Kind::Redraw, 0, {}});
      break;
    case kEsc:
      state_ = State::Escape;
      break;
    default:
      // Other control keys (Ctrl+C among them) are not keys of the console.
      break;
  }
}

void TerminalInputParser::textByte(uint8_t byte) {
  if (byte < 0x80) {
    partial_.clear();
    utf8Missing_ = 0;
    text_.push_back(static_cast<char>(byte));
    return;
  }
  if (byte < 0xC0) {
    if (utf8Missing_ == 0) return;  // a stray continuation byte
    partial_.push_back(static_cast<char>(byte));
    if (--utf8Missing_ == 0) {
      text_ += partial_;
      partial_.clear();
    }
    return;
  }
  const int missing = continuationBytes(byte);
  partial_.clear();
  utf8Missing_ = 0;
  if (missing < 0) return;
  partial_.push_back(static_cast<char>(byte));
  utf8Missing_ = static_cast<size_t>(missing);
}

void TerminalInputParser::endText(std::vector<TerminalInput>& out) {
  if (text_.empty()) return;
  out.push_back({TerminalInput::Kind::Text, 0, std::move(text_)});
  text_.clear();
}

void TerminalInputParser::escape(uint8_t byte, std::vector<TerminalInput>& out) {
  params_.clear();
  if (byte == '[') {
    state_ = State::Csi;
    return;
  }
  if (byte == 'O') {
    state_ = State::Ss3;
    return;
  }
  // Escape followed by anything else: the Escape key, then that byte.
  out.push_back(keyInput(rt::key::Escape));
  state_ = State::Ground;
  ground(byte, out);
}

void TerminalInputParser::csi(uint8_t byte, std::vector<TerminalInput>& out) {
  if (byte >= 0x20 && byte <= 0x3F) {
    params_.push_back(static_cast<char>(byte));
    return;
  }
  state_ = State::Ground;
  if (byte >= 0x40 && byte <= 0x7E) {
    if (const auto code = sequenceKey(params_, byte)) out.push_back(keyInput(*code));
    params_.clear();
    return;
  }
  // A control byte cuts the sequence short and counts on its own.
  params_.clear();
  ground(byte, out);
}

void TerminalInputParser::ss3(uint8_t byte, std::vector<TerminalInput>& out) {
  if (byte >= '0' && byte <= ';') {
    params_.push_back(static_cast<char>(byte));
    return;
  }
  state_ = State::Ground;
  if (byte >= 0x40 && byte <= 0x7E) {
    if (const auto code = letterKey(byte, shiftHeld(parameters(params_)))) {
      out.push_back(keyInput(*code));
    }
    params_.clear();
    return;
  }
  params_.clear();
  ground(byte, out);
}

}  // namespace kestrun::fe
