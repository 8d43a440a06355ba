#include "runtime/console.h"

#include <algorithm>
#include <optional>

#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::rt {

using namespace literals;

namespace {
constexpr size_t kMaxLineBytes = 255;

uint8_t colourArgument(double colour, std::source_location where) {
  const int32_t c = toInt32(colour, where);
  if (c < 0 || c > 15) raise(err::IllegalArgument, where);
  return static_cast<uint8_t>(c);
}

// The next comma-separated field of an answer line. Returns false when the
// line has no more fields; `quoted` tells whether it was in double quotes.
bool nextField(std::string_view line, size_t& pos, std::string& field, bool& quoted) {
  if (pos > line.size()) return false;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  field.clear();
  quoted = pos < line.size() && line[pos] == '"';
  if (quoted) {
    const size_t close = line.find('"', pos + 1);
    const size_t end = close == std::string_view::npos ? line.size() : close;
    field = line.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos < line.size() && line[pos] != ',') return false;
  } else {
    const size_t comma = line.find(',', pos);
    const size_t end = comma == std::string_view::npos ? line.size() : comma;
    field = line.substr(pos, end - pos);
    field.erase(field.find_last_not_of(' ') + 1);
    pos = end;
  }
  ++pos;  // past the comma (or past the end: no more fields)
  return true;
}
}  // namespace

Console::Console(Frontend& frontend, const Font& font) : frontend_(frontend), font_(font) {}

void Console::setScript(std::vector<uint8_t> keys) {
  script_.assign(keys.begin(), keys.end());
}

void Console::LOCATE(double column, double row, Loc where) {
  const int16_t c = toInt16(column, where);
  const int16_t r = toInt16(row, where);
  if (c < 0 || c >= kColumns || r < 0 || r >= kRows) raise(err::IllegalArgument, where);
  text_.moveTo(c, r);
}

void Console::COLOR(double foreground, Loc where) {
  text_.setColours(colourArgument(foreground, where), text_.background(), colourMode_ < 4);
}

void Console::COLOR(double foreground, double background, Loc where) {
  text_.setColours(colourArgument(foreground, where), colourArgument(background, where),
                   colourMode_ < 4);
}

void Console::COLOR(double foreground, double background, double border, double mode, Loc where) {
  const uint8_t fg = colourArgument(foreground, where);
  const uint8_t bg = colourArgument(background, where);
  colourArgument(border, where);
  const int32_t m = toInt32(mode, where);
  if (m != 0 && m != 1 && m != 4 && m != 5) raise(err::IllegalArgument, where);
  colourMode_ = static_cast<uint8_t>(m);
  text_.setColours(fg, bg, colourMode_ < 4);
}

void Console::CLS(double mode, Loc where) {
  const int32_t m = toInt32(mode, where);
  if (m < 0 || m > 5) raise(err::IllegalArgument, where);
  if (m != 2) text_.clear();
  if (m != 1) graphics_.clear();
}

void Console::PRINT(const PrintItem& item, Sep sep, Loc) {
  text_.write(itemText(item));
  text_.separate(sep);
}

void Console::PRINT_USING(std::string_view format, std::initializer_list<PrintItem> items, Sep sep,
                          Loc where) {
  text_.write(formatUsing(format, std::span(items.begin(), items.size()), where));
  text_.separate(sep);
}

void Console::INPUT(std::string_view prompt, PromptMode mode,
                    std::initializer_list<InputTarget> targets, Loc) {
  for (;;) {
    if (mode != PromptMode::QuestionOnly) text_.write(prompt);
    if (mode != PromptMode::PromptOnly) text_.write("? ");
    const std::string line = readLine();
    if (fillTargets(line, targets)) return;
    text_.write("もう一度入力してください"_sj);
    text_.newLine();
  }
}

std::string Console::inputString(std::string_view prompt, Loc where) {
  std::string answer;
  INPUT(prompt, PromptMode::PromptOnly, {&answer}, where);
  return answer;
}

bool Console::fillTargets(const std::string& line, std::initializer_list<InputTarget> targets) {
  size_t pos = 0;
  std::string field;
  bool quoted = false;
  std::vector<std::pair<const InputTarget*, std::string>> values;
  for (const InputTarget& target : targets) {
    if (!nextField(line, pos, field, quoted)) {
      if (pos <= line.size()) return false;  // text after a closing quote
      field.clear();
      quoted = false;
    }
    if (std::holds_alternative<float*>(target) &&
        (quoted || (!field.empty() && !isNumber(field)))) {
      return false;
    }
    values.emplace_back(&target, field);
  }
  if (pos <= line.size()) return false;  // more values than targets
  for (const auto& [target, value] : values) {
    if (auto* s = std::get_if<std::string*>(target)) {
      **s = value;
    } else {
      *std::get<float*>(*target) = value.empty() ? 0.0f : toSingle(VAL(value));
    }
  }
  return true;
}

std::string Console::readLine() {
  beginWait(WaitKind::Line);
  std::string line;
  std::optional<uint8_t> pendingLead;
  for (;;) {
    const uint8_t code = *nextKey(-1);
    if (pendingLead) {
      const char pair[2] = {static_cast<char>(*pendingLead), static_cast<char>(code)};
      pendingLead.reset();
      if (line.size() + 2 <= kMaxLineBytes) {
        line.append(pair, 2);
        text_.write(std::string_view(pair, 2));
      }
      continue;
    }
    if (code == key::Enter) {
      text_.newLine();
      return line;
    }
    if (code == key::Backspace) {
      if (line.empty()) continue;
      // Remove the whole last character, one or two bytes.
      size_t last = 0;
      for (size_t i = 0; i < line.size(); i += charLength(line, i)) last = i;
      const int width = static_cast<int>(line.size() - last);
      line.erase(last);
      text_.eraseBack(width);
    } else if (isLeadByte(code)) {
      pendingLead = code;
    } else if (code >= 0x20 && code != 0x7F && line.size() < kMaxLineBytes) {
      line.push_back(static_cast<char>(code));
      text_.write(std::string_view(line).substr(line.size() - 1));
    }
  }
}

std::string Console::INKEY() {
  frontend_.pollEvents(*this);
  checkClosed();
  const auto code = keys_.pop();
  return code ? std::string(1, static_cast<char>(*code)) : std::string();
}

std::string Console::waitKey() {
  beginWait(WaitKind::Key);
  return std::string(1, static_cast<char>(*nextKey(-1)));
}

std::string Console::waitKey(int milliseconds) {
  beginWait(WaitKind::Pause);
  const auto code = nextKey(milliseconds);
  return code ? std::string(1, static_cast<char>(*code)) : std::string();
}

// Every wait for input and every timed pause starts here.
void Console::beginWait(WaitKind kind) {
  if (waitHook_) waitHook_(kind);
}

std::optional<uint8_t> Console::nextKey(int timeoutMs) {
  frontend_.pollEvents(*this);
  checkClosed();
  if (keys_.empty() && !script_.empty()) {
    keys_.push(script_.front());
    script_.pop_front();
  }
  if (keys_.empty() && !frontend_.interactive()) throw ProgramEnd{0};
  const uint64_t deadline =
      frontend_.milliseconds() + static_cast<uint64_t>(std::max(timeoutMs, 0));
  while (keys_.empty()) {
    present();
    int wait = -1;
    if (timeoutMs >= 0) {
      const uint64_t now = frontend_.milliseconds();
      if (now >= deadline) return std::nullopt;
      wait = static_cast<int>(deadline - now);
    }
    frontend_.waitEvents(*this, wait);
    checkClosed();
  }
  return keys_.pop();
}

void Console::WAIT(double hundredths, Loc where) {
  const int32_t n = toInt32(hundredths, where);
  if (n < 0 || n > 65535) raise(err::IllegalArgument, where);
  beginWait(WaitKind::Pause);
  present();
  frontend_.sleep(n * 10);
}

void Console::present() {
  frontend_.present(text_, graphics_);
}

void Console::waitForClose(int exitCode) {
  present();
  while (frontend_.interactive() && !closeRequested_) {
    frontend_.waitEvents(*this, -1);
    keys_.clear();
    present();
  }
  throw ProgramEnd{exitCode};
}

void Console::reportError(const RuntimeError& error) {
  text_.newLine();
  text_.write(toShiftJis(errorReportHeader(error)));
  const std::string_view message = errorMessage(error.code());
  if (!message.empty()) {
    text_.newLine();
    text_.write(toShiftJis(message));
  }
}

void Console::keyCode(uint8_t code) {
  if (code != key::CtrlC) keys_.push(code);
}

void Console::text(std::string_view utf8) {
  for (char c : toShiftJis(utf8)) keyCode(static_cast<uint8_t>(c));
}

void Console::closeRequested() {
  closeRequested_ = true;
}

void Console::checkClosed() {
  if (closeRequested_) throw ProgramEnd{0};
}

}  // namespace kestrun::rt
