#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <source_location>
#include <string>

#include "runtime/numformat.h"

namespace kestrun::rt {

enum class FileMode : uint8_t { Input = 1, Output = 2 };
// Access codes: 0 = the mode's default (input reads, output writes).
enum class FileAccess : uint8_t { Default = 0, Write = 1, ReadWrite = 2, Read = 3 };

// The sequential files, numbered 1..255. Text is written exactly as the screen
// prints it, lines end in CR LF, and values are read back field by field.
class FileTable {
 public:
  FileTable();
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // OPEN: name over 255 bytes: 55; number outside 1..255: 50; number in use:
  // 52; mode and access do not fit: 51; input from a missing file: 63; output
  // to an existing file: 64; too many files: 66; other system failures as
  // translated by systemErrorCode.
  void OPEN(const std::string& name, FileMode mode, FileAccess access, double number,
            std::source_location where = std::source_location::current());
  // CLOSE n (numbers outside 1..255: 50; a free number is ignored).
  void CLOSE(double number, std::source_location where = std::source_location::current());
  // CLOSE with no numbers: closes every file; a failed final write is raised
  // after all files are closed.
  void closeAll(std::source_location where = std::source_location::current());
  // KILL: name over 255 bytes: 55; missing or invalid: 63; open under some
  // number: 52; refused: 75.
  void KILL(const std::string& name, std::source_location where = std::source_location::current());

  // Renames `from` to `to`, replacing `to` in one step, and makes the change
  // durable: a crash leaves either the old or the new file under `to`. Names
  // over 255 bytes: 55; `from` missing: 63; either open: 52; refused: 75.
  void replaceFile(const std::string& from, const std::string& to,
                   std::source_location where = std::source_location::current());

  // PRINT #n: writes the item as the screen would, then the separator
  // (EndLine writes CR LF). Number outside 1..255: 50; not open: 57; not an
  // output file: 51.
  void PRINT(double number, const PrintItem& item, Sep sep = Sep::EndLine,
             std::source_location where = std::source_location::current());
  // INPUT #n: the next field as a string (quotes removed) or as a number (a
  // field that is not a number is error 13). Nothing left: 54. Not an input
  // file: 51.
  std::string inputString(double number,
                          std::source_location where = std::source_location::current());
  double inputNumber(double number, std::source_location where = std::source_location::current());
  // LINE INPUT #n: the rest of the current line, without its line end.
  std::string lineInput(double number,
                        std::source_location where = std::source_location::current());
  // True when nothing is left to read (EOF).
  bool atEnd(double number, std::source_location where = std::source_location::current());

  bool isOpen(int number) const;

  // Decides where the file a name stands for lives: OPEN, KILL and
  // replaceFile use the path it returns, while the limits on names still
  // apply to the name. Without a placer a name is its own path. Either way,
  // when no file has that exact path, one whose name differs only in letter
  // case is taken (withFoundCase).
  using Placer = std::function<std::string(const std::string& name)>;
  void setPlacer(Placer placer);

 private:
  std::string pathOf(const std::string& name) const;
  struct OpenFile;
  class FieldReader;
  class LineWriter;
  void openNumbered(const std::string& name, FileMode mode, int number, std::source_location where);
  void writeItem(LineWriter& writer, const PrintItem& item, Sep sep, std::source_location where);
  OpenFile& openFile(double number, std::source_location where);
  FieldReader& readerFor(double number, std::source_location where);
  LineWriter& writerFor(double number, std::source_location where);
  std::array<std::unique_ptr<OpenFile>, 256> files_;
  Placer placer_;
};

// The run-time error code for a failed system call's errno.
int systemErrorCode(int errnoValue);

}  // namespace kestrun::rt
