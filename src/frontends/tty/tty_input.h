#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrun::fe {

// One thing the player did at the terminal.
struct TerminalInput {
  enum class Kind : uint8_t { Key, Text, Redraw };
  Kind kind;
  uint8_t code = 0;  // Key: the key code
  std::string text;  // Text: UTF-8
  bool operator==(const TerminalInput&) const = default;
};

// Turns the bytes a terminal sends into keys and text. Sequences may arrive
// split over several reads; a lone Escape stays pending until the caller
// decides no more bytes are coming (flush).
class TerminalInputParser {
 public:
  std::vector<TerminalInput> feed(std::string_view bytes);
  // Ends what is pending: a lone Escape becomes the Escape key, the rest of
  // an unfinished sequence is dropped.
  std::vector<TerminalInput> flush();
  // True while an escape sequence has started but not ended.
  bool escapePending() const { return state_ != State::Ground; }

 private:
  enum class State : uint8_t { Ground, Escape, Csi, Ss3 };

  void ground(uint8_t byte, std::vector<TerminalInput>& out);
  void escape(uint8_t byte, std::vector<TerminalInput>& out);
  void csi(uint8_t byte, std::vector<TerminalInput>& out);
  void ss3(uint8_t byte, std::vector<TerminalInput>& out);
  void control(uint8_t byte, std::vector<TerminalInput>& out);
  void textByte(uint8_t byte);
  void endText(std::vector<TerminalInput>& out);

  State state_ = State::Ground;
  std::string params_;
  std::string text_;     // whole characters not yet delivered
  std::string partial_;  // the start of a UTF-8 character
  size_t utf8Missing_ = 0;
  bool lastWasReturn_ = false;
};

}  // namespace kestrun::fe
