#include "runtime/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/errors.h"
#include "runtime/file_names.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Each test works in a fresh directory of its own.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("kestrun-files-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  void writeBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }

  std::string readBytes(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  void openInput(const std::string& name, const std::string& bytes) {
    writeBytes(name, bytes);
    files.OPEN(path(name), FileMode::Input, FileAccess::Read, 1);
  }

  fs::path dir_;
  FileTable files;
};

using FilesRoundTrip = FilesTest;
using FilesWriting = FilesTest;
using FilesReading = FilesTest;
using FilesOpenErrors = FilesTest;
using FilesCloseAndKill = FilesTest;
using FilesModeErrors = FilesTest;

TEST_F(FilesRoundTrip, ValuesWrittenOnePerLineReadBack) {
  const std::string name = "\x83\x4e\x83\x8a\x83\x58 ";  // Shift-JIS with a trailing blank
  files.OPEN(path("data"), FileMode::Output, FileAccess::Write, 1);
  files.PRINT(1, int16_t{12});
  files.PRINT(1, int32_t{-3});
  files.PRINT(1, int32_t{123456789});
  files.PRINT(1, name);
  files.CLOSE(1);

  files.OPEN(path("data"), FileMode::Input, FileAccess::Read, 1);
  EXPECT_EQ(files.inputNumber(1), 12);
  EXPECT_EQ(files.inputNumber(1), -3);
  EXPECT_EQ(files.inputNumber(1), 123456789);
  EXPECT_EQ(files.inputString(1), name);
  EXPECT_TRUE(files.atEnd(1));
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(1); }), err::InputPastEnd);
  EXPECT_EQ(errorCodeOf([&] { files.inputString(1); }), err::InputPastEnd);
}

TEST_F(FilesRoundTrip, DestructorFlushesOpenFiles) {
  {
    FileTable scoped;
    scoped.OPEN(path("left-open"), FileMode::Output, FileAccess::Default, 7);
    scoped.PRINT(7, std::string("kept"));
  }
  EXPECT_EQ(readBytes("left-open"), "kept\r\n");
}

TEST_F(FilesWriting, BytesOnDiskFollowTheScreenLayout) {
  files.OPEN(path("out"), FileMode::Output, FileAccess::Write, 3);
  files.PRINT(3, int16_t{12});
  files.PRINT(3, int16_t{-3});
  files.PRINT(3, std::string("A"), Sep::Semicolon);
  files.PRINT(3, std::string("B"), Sep::Zone);
  files.PRINT(3, std::string("C"));
  files.PRINT(3, std::string(60, 'x'), Sep::Zone);  // zone 70 would leave under 14 columns
  files.PRINT(3, std::string("D"));
  files.CLOSE(3);
  EXPECT_EQ(readBytes("out"), " 12 \r\n-3 \r\nAB" + std::string(12, ' ') + "C\r\n" +
                                  std::string(60, 'x') + "\r\nD\r\n");
}

TEST_F(FilesWriting, ExistingFileIsRefusedAndKeptUntilKilled) {
  writeBytes("roster", "old contents");
  EXPECT_EQ(
      errorCodeOf([&] { files.OPEN(path("roster"), FileMode::Output, FileAccess::Write, 1); }),
      err::FileAlreadyExists);
  EXPECT_FALSE(files.isOpen(1));
  EXPECT_EQ(readBytes("roster"), "old contents");

  files.KILL(path("roster"));
  files.OPEN(path("roster"), FileMode::Output, FileAccess::Write, 1);
  files.PRINT(1, std::string("new"));
  files.closeAll();
  EXPECT_EQ(readBytes("roster"), "new\r\n");
}

TEST_F(FilesWriting, FailedWritesAreReported) {
  // Exceeding the file size limit fails like a full disk.
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  files.OPEN(path("big"), FileMode::Output, FileAccess::Write, 1);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  files.PRINT(1, std::string(500, 'x'));
  int code = errorCodeOf([&] { files.CLOSE(1); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(code, 67);
  EXPECT_FALSE(files.isOpen(1));
}

TEST_F(FilesReading, NumberFields) {
  openInput("n", "  7\r\n\t-2.5,3\r\n\r\nabc\r\n\"4\"\r\n12");
  EXPECT_EQ(files.inputNumber(1), 7);
  EXPECT_EQ(files.inputNumber(1), -2.5);
  EXPECT_EQ(files.inputNumber(1), 3);
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(1); }), err::TypeMismatch);  // empty line
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(1); }), err::TypeMismatch);  // abc
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(1); }), err::TypeMismatch);  // quoted
  EXPECT_EQ(files.inputNumber(1), 12);  // no line end at the end of the file
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(1); }), err::InputPastEnd);
}

TEST_F(FilesReading, StringFields) {
  openInput("s",
            "Smith, John  \r\n"
            "\"a, b\" tail,next\n"
            "x\ry\r\n"
            "nul\0byte\r\n"
            "   \r\n"
            "\"unclosed"s);
  EXPECT_EQ(files.inputString(1), "Smith");
  EXPECT_EQ(files.inputString(1), "John  ");
  EXPECT_EQ(files.inputString(1), "a, b");
  EXPECT_EQ(files.inputString(1), "next");
  EXPECT_EQ(files.inputString(1), "x");
  EXPECT_EQ(files.inputString(1), "y");
  EXPECT_EQ(files.inputString(1), "nul\0byte"s);
  EXPECT_EQ(files.inputString(1), "");
  EXPECT_EQ(files.inputString(1), "unclosed");
  EXPECT_TRUE(files.atEnd(1));
  EXPECT_EQ(errorCodeOf([&] { files.inputString(1); }), err::InputPastEnd);
}

TEST_F(FilesReading, OnlyBlanksLeftIsPastTheEnd) {
  openInput("blanks", "1\r\n  \t");
  EXPECT_EQ(files.inputNumber(1), 1);
  EXPECT_FALSE(files.atEnd(1));
  EXPECT_EQ(errorCodeOf([&] { files.inputString(1); }), err::InputPastEnd);
}

TEST_F(FilesReading, LineInputTakesWholeLines) {
  openInput("lines", "  a,\"b\" \r\n\r\nnext\rlast");
  EXPECT_EQ(files.lineInput(1), "  a,\"b\" ");
  EXPECT_EQ(files.lineInput(1), "");
  EXPECT_EQ(files.lineInput(1), "next");
  EXPECT_EQ(files.lineInput(1), "last");
  EXPECT_EQ(errorCodeOf([&] { files.lineInput(1); }), err::InputPastEnd);
  files.CLOSE(1);

  openInput("empty", "");
  EXPECT_TRUE(files.atEnd(1));
  EXPECT_EQ(errorCodeOf([&] { files.lineInput(1); }), err::InputPastEnd);
}

TEST_F(FilesOpenErrors, CodesInOrder) {
  const std::string longName(256, 'n');
  writeBytes("in", "1\r\n");
  auto open = [&](const std::string& name, FileMode mode, FileAccess access, double number) {
    return errorCodeOf([&] { files.OPEN(name, mode, access, number); });
  };
  EXPECT_EQ(open(longName, FileMode::Input, FileAccess::Read, 0), err::BadFileName);
  EXPECT_EQ(open(path("in") + std::string(1, '\0'), FileMode::Input, FileAccess::Read, 1),
            err::BadFileName);
  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Read, 0), err::BadFileNumber);
  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Read, 0.5), err::BadFileNumber);
  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Read, 255.5), err::BadFileNumber);
  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Read, 256), err::BadFileNumber);

  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Read, 2.5), 0);  // ties to even: 2
  EXPECT_TRUE(files.isOpen(2));
  EXPECT_EQ(open(path("other"), FileMode::Output, FileAccess::ReadWrite, 2), err::FileAlreadyOpen);

  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::Write, 3), err::BadFileMode);
  EXPECT_EQ(open(path("in"), FileMode::Input, FileAccess::ReadWrite, 3), err::BadFileMode);
  EXPECT_EQ(open(path("new"), FileMode::Output, FileAccess::ReadWrite, 3), err::BadFileMode);
  EXPECT_EQ(open(path("new"), FileMode::Output, FileAccess::Read, 3), err::BadFileMode);
  EXPECT_FALSE(fs::exists(path("new")));

  EXPECT_EQ(open(path("missing"), FileMode::Input, FileAccess::Read, 3), err::FileNotFound);
  EXPECT_EQ(open("", FileMode::Input, FileAccess::Read, 3), err::FileNotFound);
  EXPECT_EQ(open(path("no/such"), FileMode::Output, FileAccess::Write, 3), err::FileNotFound);
  EXPECT_EQ(open(path("in/x"), FileMode::Input, FileAccess::Read, 3), err::FileNotFound);
  EXPECT_EQ(open(dir_.string(), FileMode::Input, FileAccess::Read, 3), err::AccessDenied);
  EXPECT_FALSE(files.isOpen(3));
}

TEST_F(FilesOpenErrors, TooManyFiles) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer runtime needs descriptors of its own once the limit is reached";
#endif
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit few = saved;
  few.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
  int code = 0;
  for (int n = 1; n <= 255 && code == 0; ++n) {
    code = errorCodeOf(
        [&] { files.OPEN(path("f" + std::to_string(n)), FileMode::Output, FileAccess::Write, n); });
  }
  files.closeAll();
  ::setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(code, err::TooManyFiles);
}

TEST_F(FilesCloseAndKill, Close) {
  EXPECT_EQ(errorCodeOf([&] { files.closeAll(); }), 0);
  EXPECT_EQ(errorCodeOf([&] { files.CLOSE(0); }), err::BadFileNumber);
  EXPECT_EQ(errorCodeOf([&] { files.CLOSE(256); }), err::BadFileNumber);
  EXPECT_EQ(errorCodeOf([&] { files.CLOSE(9); }), 0);

  files.OPEN(path("a"), FileMode::Output, FileAccess::Write, 1);
  files.OPEN(path("b"), FileMode::Output, FileAccess::Write, 255);
  files.PRINT(1, std::string("a"), Sep::Semicolon);
  files.PRINT(255, std::string("b"), Sep::Semicolon);
  files.closeAll();
  EXPECT_FALSE(files.isOpen(1));
  EXPECT_FALSE(files.isOpen(255));
  EXPECT_EQ(readBytes("a"), "a");
  EXPECT_EQ(readBytes("b"), "b");
  EXPECT_EQ(errorCodeOf([&] { files.PRINT(1, std::string("x")); }), err::FileNotOpen);
}

TEST_F(FilesCloseAndKill, Kill) {
  EXPECT_EQ(errorCodeOf([&] { files.KILL(std::string(256, 'k')); }), err::BadFileName);
  EXPECT_EQ(errorCodeOf([&] { files.KILL(path("missing")); }), err::FileNotFound);
  EXPECT_EQ(errorCodeOf([&] { files.KILL(""); }), err::FileNotFound);
  EXPECT_EQ(errorCodeOf([&] { files.KILL(path("missing/x")); }), err::FileNotFound);

  writeBytes("open", "1\r\n");
  files.OPEN(path("open"), FileMode::Input, FileAccess::Read, 4);
  fs::create_hard_link(path("open"), path("alias"));
  EXPECT_EQ(errorCodeOf([&] { files.KILL(path("open")); }), err::FileAlreadyOpen);
  EXPECT_EQ(errorCodeOf([&] { files.KILL(path("alias")); }), err::FileAlreadyOpen);
  files.CLOSE(4);
  files.KILL(path("open"));
  EXPECT_FALSE(fs::exists(path("open")));

  fs::create_directory(path("sub"));
  EXPECT_EQ(errorCodeOf([&] { files.KILL(path("sub")); }), err::AccessDenied);
  if (::geteuid() != 0) {
    writeBytes("sub/locked", "x");
    fs::permissions(path("sub"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(errorCodeOf([&] { files.KILL(path("sub/locked")); }), err::AccessDenied);
    fs::permissions(path("sub"), fs::perms::owner_all);
  }
}

TEST_F(FilesModeErrors, ChannelChecks) {
  EXPECT_EQ(errorCodeOf([&] { files.PRINT(0, std::string("x")); }), err::BadFileNumber);
  EXPECT_EQ(errorCodeOf([&] { files.inputString(256); }), err::BadFileNumber);
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(5); }), err::FileNotOpen);
  EXPECT_EQ(errorCodeOf([&] { files.lineInput(5); }), err::FileNotOpen);

  openInput("in", "1\r\n");
  files.OPEN(path("out"), FileMode::Output, FileAccess::Write, 2);
  EXPECT_EQ(errorCodeOf([&] { files.PRINT(1, std::string("x")); }), err::BadFileMode);
  EXPECT_EQ(errorCodeOf([&] { files.inputString(2); }), err::BadFileMode);
  EXPECT_EQ(errorCodeOf([&] { files.inputNumber(2); }), err::BadFileMode);
  EXPECT_EQ(errorCodeOf([&] { files.lineInput(2); }), err::BadFileMode);
  EXPECT_EQ(errorCodeOf([&] { files.atEnd(2); }), err::BadFileMode);
}

using FilesPlacer = FilesTest;

// A placed name is opened, killed and replaced at its path; the limits on
// names apply to the name, so a long path to a short name is fine.
TEST_F(FilesPlacer, PlacedNamesUseTheirPath) {
  const fs::path far = dir_ / std::string(200, 'd') / std::string(100, 'e');
  fs::create_directories(far);
  files.setPlacer([&](const std::string& name) {
    return name.starts_with("saved") ? (far / name).string() : path(name);
  });
  files.OPEN("saved.NEW", FileMode::Output, FileAccess::Write, 1);
  files.PRINT(1, std::string("new"));
  files.closeAll();
  files.replaceFile("saved.NEW", "saved");
  EXPECT_FALSE(fs::exists(far / "saved.NEW"));
  files.OPEN("saved", FileMode::Input, FileAccess::Read, 2);
  EXPECT_EQ(files.lineInput(2), "new");
  EXPECT_EQ(errorCodeOf([&] { files.KILL("saved"); }), err::FileAlreadyOpen);
  files.CLOSE(2);
  files.KILL("saved");
  EXPECT_FALSE(fs::exists(far / "saved"));

  writeBytes("other", "1\r\n");
  files.OPEN("other", FileMode::Input, FileAccess::Read, 3);
  EXPECT_EQ(files.inputNumber(3), 1);
  EXPECT_EQ(errorCodeOf([&] {
              files.OPEN("saved" + std::string(251, 's'), FileMode::Input, FileAccess::Read, 4);
            }),
            err::BadFileName);
}

using FilesLetterCase = FilesTest;

// A name whose file exists only in another letter case opens that file; an
// output then goes to it, and a name that matches nothing stays missing.
TEST_F(FilesLetterCase, AMissingNameFindsItsFileInAnyCase) {
  writeBytes("1-c.dat", " 7 \r\n");
  files.OPEN(path("1-C.DAT"), FileMode::Input, FileAccess::Read, 1);
  EXPECT_EQ(files.inputNumber(1), 7);
  files.closeAll();
  writeBytes("1-C.DAT.NEW", " 8 \r\n");
  files.replaceFile(path("1-C.DAT.NEW"), path("1-C.DAT"));
  EXPECT_EQ(readBytes("1-c.dat"), " 8 \r\n");
  EXPECT_FALSE(fs::exists(path("1-C.DAT")));
  EXPECT_EQ(errorCodeOf([&] { files.OPEN(path("2-C.DAT"), FileMode::Input, FileAccess::Read, 1); }),
            err::FileNotFound);
}

TEST_F(FilesLetterCase, TheExactNameComesFirstThenTheFirstInByteOrder) {
  writeBytes("ab.dat", "x");
  writeBytes("Ab.dat", "y");
  EXPECT_EQ(withFoundCase(path("AB.DAT")), path("Ab.dat"));
  writeBytes("AB.DAT", "z");
  EXPECT_EQ(withFoundCase(path("AB.DAT")), path("AB.DAT"));
  // The second byte of a double-byte character is no letter: 0x83 0x41 is
  // not 0x83 0x61.
  writeBytes("\x83\x61.dat", "w");
  EXPECT_EQ(withFoundCase(path("\x83\x41.dat")), path("\x83\x41.dat"));
  EXPECT_EQ(foldedCase("\x83\x41Z"), "\x83\x41z");
}

}  // namespace
}  // namespace kestrun::rt
