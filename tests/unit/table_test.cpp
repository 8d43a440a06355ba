#include "runtime/table.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace kestrun::rt {
namespace {

TEST(Tables, IndicesAreRoundedHalfToEvenAndCheckedAgainstTheSize) {
  Table<float, 3, 2> t;
  t(2, 1) = 5;
  EXPECT_EQ(t.raw()[2 + 3 * 1], 5.0f);  // the first index varies fastest
  EXPECT_EQ(t(2.5, 0.5), t(2, 0));
  EXPECT_EQ(errorCodeOf([&] { t(3, 0); }), 9);
  EXPECT_EQ(errorCodeOf([&] { t(-1, 0); }), 9);
  EXPECT_EQ(errorCodeOf([&] { t(0, 1.5); }), 9);
  EXPECT_EQ(errorCodeOf([&] { t(-0.5, 0); }), 0);  // -0.5 rounds to 0
}

TEST(Tables, DynamicTablesAreCreatedOnFirstUseOrOnceByTheirBounds) {
  DynamicTable<float> implicit;
  implicit(10) = 1;
  EXPECT_EQ(errorCodeOf([&] { implicit(11); }), 9);
  EXPECT_EQ(errorCodeOf([&] { implicit.create({5}); }), 10);

  DynamicTable<std::string> two(2);
  two.create({2, 3});
  two(2, 3) = "x";
  EXPECT_EQ(errorCodeOf([&] { two(3, 0); }), 9);
  EXPECT_EQ(errorCodeOf([&] { two(1); }), 9);
  two.erase();
  EXPECT_EQ(two(2, 3), "");

  DynamicTable<float> bad;
  EXPECT_EQ(errorCodeOf([&] { bad.create({2147483647.0}); }), 5);
}

}  // namespace
}  // namespace kestrun::rt
