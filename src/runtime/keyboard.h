#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kestrun::rt {

// Key codes that special keys enter the buffer as.
namespace key {
inline constexpr uint8_t Delete = 4;
inline constexpr uint8_t Backspace = 8;
inline constexpr uint8_t Home = 11;
inline constexpr uint8_t ShiftHome = 12;  // also Clear
inline constexpr uint8_t Enter = 13;
inline constexpr uint8_t Insert = 18;
inline constexpr uint8_t Escape = 27;
inline constexpr uint8_t Right = 28;
inline constexpr uint8_t Left = 29;
inline constexpr uint8_t Up = 30;
inline constexpr uint8_t Down = 31;
inline constexpr uint8_t CtrlC = 3;
}  // namespace key

// The ring of 256 key codes between the window and the game. Keys typed while
// the game is busy wait here; a full ring drops new keys.
class KeyBuffer {
 public:
  void push(uint8_t code) {
    if (count_ == buffer_.size()) return;
    buffer_[(head_ + count_) % buffer_.size()] = code;
    ++count_;
  }
  std::optional<uint8_t> pop() {
    if (count_ == 0) return std::nullopt;
    const uint8_t code = buffer_[head_];
    head_ = (head_ + 1) % buffer_.size();
    --count_;
    return code;
  }
  bool empty() const { return count_ == 0; }
  size_t size() const { return count_; }
  void clear() { head_ = count_ = 0; }

 private:
  std::array<uint8_t, 256> buffer_{};
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace kestrun::rt
