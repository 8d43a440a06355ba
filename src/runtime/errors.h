#pragma once

#include <cstdint>
#include <exception>
#include <source_location>
#include <string>
#include <string_view>

namespace kestrun::rt {

// Run-time error codes. The game's own logic relies on 54, 63 and 64.
namespace err {
inline constexpr int IllegalArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DuplicateDefinition = 10;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int StringTooLong = 15;
inline constexpr int ResourceUnavailable = 27;
inline constexpr int BadFileNumber = 50;
inline constexpr int BadFileMode = 51;
inline constexpr int FileAlreadyOpen = 52;
inline constexpr int InputPastEnd = 54;
inline constexpr int BadFileName = 55;
inline constexpr int FileNotOpen = 57;
inline constexpr int FileNotFound = 63;
inline constexpr int FileAlreadyExists = 64;
inline constexpr int TooManyFiles = 66;
inline constexpr int AccessDenied = 75;
inline constexpr int NoSuchWindow = 1000;
inline constexpr int PictureAlreadyCreated = 1001;
inline constexpr int WrongWindowKind = 1002;
inline constexpr int PictureMissing = 1003;
inline constexpr int PictureCreateFailed = 1004;
}  // namespace err

// A run-time error: the code, the source line of the failing statement and the
// module it belongs to, as the error report and the game's handlers show them.
// For the one line on standard error it also knows the procedure and source
// file of the statement and, when a data file was being read or written, the
// file and the number of the item (counted from 1; 0 while opening it).
class RuntimeError : public std::exception {
 public:
  RuntimeError(int code, unsigned line, std::string module, std::string procedure = {},
               std::string sourceFile = {});
  int code() const { return code_; }
  unsigned line() const { return line_; }
  const std::string& module() const { return module_; }
  const std::string& procedure() const { return procedure_; }
  const std::string& sourceFile() const { return sourceFile_; }
  const std::string& dataFile() const { return dataFile_; }
  long item() const { return item_; }
  void setDataFile(std::string name, long item);
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int code_;
  unsigned line_;
  std::string module_;
  std::string procedure_;
  std::string sourceFile_;
  std::string dataFile_;
  long item_ = 0;
  std::string what_;
};

// Thrown to end the program normally; main() catches it, closes files and the
// front end, and exits with the code.
struct ProgramEnd {
  int exitCode = 0;
};

// Raises run-time error `code` at the statement `where` (the game's call site).
[[noreturn]] void raise(int code, std::source_location where = std::source_location::current());

// The module that errors raised from now on are reported under; the game's
// procedures name their module on entry. Restores the previous module on exit.
class ModuleScope {
 public:
  explicit ModuleScope(const char* name);
  ~ModuleScope();
  ModuleScope(const ModuleScope&) = delete;
  ModuleScope& operator=(const ModuleScope&) = delete;

 private:
  const char* previous_;
};
const char* currentModule();

// The line shown under an unhandled error's report (UTF-8); empty for codes
// without a text.
std::string_view errorMessage(int code);

// The report header "%s [%u行]:エラー[%d]" in UTF-8.
std::string errorReportHeader(const RuntimeError& e);

// What an error code means, in plain English ("" for an unknown code).
std::string_view errorMeaning(int code);
// One line for standard error: the code, its meaning and where it happened.
std::string describeError(const RuntimeError& e);
// Writes describeError's line (with the program's name) to standard error,
// for an error that ends the game.
void logFatalError(const RuntimeError& e);

}  // namespace kestrun::rt
