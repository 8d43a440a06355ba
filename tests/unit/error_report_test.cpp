#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/table.h"

namespace kestrun::rt {
namespace {

void readsPastTheTable() {
  const Table<float, 3> table;
  (void)table(3);
}

// The error knows the procedure and file of the statement that failed, also
// when it only read a table.
TEST(ErrorReport, NamesTheProcedureAndSourceFile) {
  try {
    readsPastTheTable();
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::SubscriptOutOfRange);
    EXPECT_EQ(e.procedure(), "readsPastTheTable");
    EXPECT_NE(e.sourceFile().find("error_report_test.cpp"), std::string::npos) << e.sourceFile();
    const std::string line = describeError(e);
    EXPECT_EQ(line.rfind("run-time error 9: index out of range", 0), 0u) << line;
    EXPECT_NE(line.find(", in readsPastTheTable ("), std::string::npos) << line;
    EXPECT_NE(line.find("line " + std::to_string(e.line()) + ", module "), std::string::npos);
  }
}

struct DataFileErrors : ::testing::Test {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kestrun-errors-" + std::to_string(::getpid()));
  void SetUp() override {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "A.DAT") << "1\r\n2\r\nthree\r\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
};

// A data file's errors name the file and the item being read (from 1).
TEST_F(DataFileErrors, NameTheFileAndTheItem) {
  FileTable files;
  const std::string name = (dir / "A.DAT").string();
  files.OPEN(name, FileMode::Input, FileAccess::Read, 1);
  EXPECT_EQ(files.inputNumber(1), 1);
  EXPECT_EQ(files.inputNumber(1), 2);
  try {
    files.inputNumber(1);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::TypeMismatch);
    EXPECT_EQ(e.dataFile(), name);
    EXPECT_EQ(e.item(), 3);
    EXPECT_NE(describeError(e).find(", at item 3 of " + name), std::string::npos);
  }
  try {
    files.OPEN(name + "X", FileMode::Input, FileAccess::Read, 2);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::FileNotFound);
    EXPECT_NE(describeError(e).find(", opening " + name + "X"), std::string::npos);
  }
}

}  // namespace
}  // namespace kestrun::rt
