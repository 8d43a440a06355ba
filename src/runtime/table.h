#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <source_location>
#include <vector>

#include "runtime/errors.h"
#include "runtime/values.h"

namespace kestrun::rt {

namespace detail {
// An index from the game's expressions: rounded half to even, then checked
// against the dimension's size (error 9).
template <typename I>
int32_t checkedIndex(I index, int32_t size, std::source_location where) {
  int32_t i;
  if constexpr (std::integral<I>) {
    if (index < 0 || static_cast<int64_t>(index) >= size) raise(err::SubscriptOutOfRange, where);
    i = static_cast<int32_t>(index);
  } else {
    i = toInt32(static_cast<double>(index), where);
    if (i < 0 || i >= size) raise(err::SubscriptOutOfRange, where);
  }
  return i;
}
}  // namespace detail

// A game table of fixed size with one to three dimensions, indexed from 0,
// the first index varying fastest. Elements start as T{} (0 or "").
template <typename T, int32_t S1, int32_t S2 = 1, int32_t S3 = 1>
class Table {
 public:
  static constexpr int32_t size1 = S1, size2 = S2, size3 = S3;

  template <typename I1>
  T& operator()(I1 i1, std::source_location where = std::source_location::current()) {
    return data_[detail::checkedIndex(i1, S1, where)];
  }
  template <typename I1, typename I2>
  T& operator()(I1 i1, I2 i2, std::source_location where = std::source_location::current()) {
    return data_[detail::checkedIndex(i1, S1, where) + S1 * detail::checkedIndex(i2, S2, where)];
  }
  template <typename I1, typename I2, typename I3>
  T& operator()(I1 i1, I2 i2, I3 i3, std::source_location where = std::source_location::current()) {
    return data_[detail::checkedIndex(i1, S1, where) +
                 S1 * (detail::checkedIndex(i2, S2, where) +
                       S2 * detail::checkedIndex(i3, S3, where))];
  }
  // Reading keeps the reader's statement as the place of an error.
  template <typename I1>
  const T& operator()(I1 i1, std::source_location where = std::source_location::current()) const {
    return const_cast<Table&>(*this)(i1, where);
  }
  template <typename I1, typename I2>
  const T& operator()(I1 i1, I2 i2,
                      std::source_location where = std::source_location::current()) const {
    return const_cast<Table&>(*this)(i1, i2, where);
  }
  template <typename I1, typename I2, typename I3>
  const T& operator()(I1 i1, I2 i2, I3 i3,
                      std::source_location where = std::source_location::current()) const {
    return const_cast<Table&>(*this)(i1, i2, i3, where);
  }

  void clear() { data_.fill(T{}); }
  std::array<T, S1 * S2 * S3>& raw() { return data_; }
  const std::array<T, S1 * S2 * S3>& raw() const { return data_; }

 private:
  std::array<T, S1 * S2 * S3> data_{};
};

// A table whose bounds are given when it is created. Used before creation it
// is created with every dimension of size 11 (indices 0..10); creating it a
// second time is error 10.
template <typename T>
class DynamicTable {
 public:
  explicit DynamicTable(int dimensions = 1) : dimensions_(dimensions) {}

  // Creates storage with the given upper bounds; an upper bound above
  // 2147483646 (or below 0) is error 5.
  void create(std::vector<double> upperBounds,
              std::source_location where = std::source_location::current()) {
    if (!sizes_.empty()) raise(err::DuplicateDefinition, where);
    std::vector<int32_t> sizes;
    int64_t total = 1;
    for (double bound : upperBounds) {
      const int32_t b = toInt32(bound, where);
      if (b < 0 || b > 2147483646) raise(err::IllegalArgument, where);
      sizes.push_back(b + 1);
      total *= b + 1;
      if (total > (int64_t{1} << 28)) raise(err::OutOfMemory, where);
    }
    sizes_ = std::move(sizes);
    dimensions_ = static_cast<int>(sizes_.size());
    data_.assign(static_cast<size_t>(total), T{});
  }
  // Releases the storage (ERASE); the next access creates it anew.
  void erase() {
    sizes_.clear();
    data_.clear();
  }
  bool created() const { return !sizes_.empty(); }

  template <typename... I>
  T& operator()(I... indices) {
    return at(std::source_location::current(), indices...);
  }
  template <typename... I>
  T& at(std::source_location where, I... indices) {
    if (sizes_.empty()) create(std::vector<double>(sizeof...(I), 10.0), where);
    if (static_cast<int>(sizeof...(I)) != dimensions_) raise(err::SubscriptOutOfRange, where);
    int64_t position = 0;
    int64_t stride = 1;
    size_t d = 0;
    ((position += stride * detail::checkedIndex(indices, sizes_[d], where), stride *= sizes_[d],
      ++d),
     ...);
    return data_[static_cast<size_t>(position)];
  }

 private:
  int dimensions_;
  std::vector<int32_t> sizes_;
  std::vector<T> data_;
};

}  // namespace kestrun::rt
