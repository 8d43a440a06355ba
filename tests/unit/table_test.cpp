#include "runtime/table.h"

#include <gtest/gtest.h>

namespace kestrun::rt {
namespace {

int errorCode(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.code();
  }
  return 0;
}

TEST(Tables, IndicesAreRoundedHalfToEvenAndCheckedAgainstTheSize) {
  Table<float, 3, 2> t;
  t(2, 1) = 5;
  EXPECT_EQ(t.raw()[2 + 3 * 1], 5.0f);  // the first index varies fastest
  EXPECT_EQ(t(2.5, 0.5), t(2, 0));
  EXPECT_EQ(errorCode([&] { t(3, 0); }), 9);
  EXPECT_EQ(errorCode([&] { t(-1, 0); }), 9);
  EXPECT_EQ(errorCode([&] { t(0, 1.5); }), 9);
  EXPECT_EQ(errorCode([&] { t(-0.5, 0); }), 0);  // -0.5 rounds to 0
}

TEST(Tables, DynamicTablesAreCreatedOnFirstUseOrOnceByTheirBounds) {
  DynamicTable<float> implicit;
  implicit(10) = 1;
  EXPECT_EQ(errorCode([&] { implicit(11); }), 9);
  EXPECT_EQ(errorCode([&] { implicit.create({5}); }), 10);

  DynamicTable<std::string> two(2);
  two.create({2, 3});
  two(2, 3) = "x";
  EXPECT_EQ(errorCode([&] { two(3, 0); }), 9);
  EXPECT_EQ(errorCode([&] { two(1); }), 9);
  two.erase();
  EXPECT_EQ(two(2, 3), "");

  DynamicTable<float> bad;
  EXPECT_EQ(errorCode([&] { bad.create({2147483647.0}); }), 5);
}

}  // namespace
}  // namespace kestrun::rt
