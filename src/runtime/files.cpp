#include "runtime/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include "runtime/errors.h"
#include "runtime/file_names.h"
#include "runtime/values.h"

namespace kestrun::rt {

namespace {

// Makes a rename in the directory that holds `path` durable.
void syncDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

constexpr int kFirstFileNumber = 1;
constexpr int kLastFileNumber = 255;
constexpr size_t kMaxNameBytes = 255;
// Data files are small; anything larger is refused as out of memory.
constexpr size_t kMaxInputBytes = size_t{64} << 20;
constexpr size_t kFlushThreshold = size_t{64} << 10;
constexpr int kZoneWidth = 14;
constexpr int kLineWidth = 80;
constexpr int kDiskFull = 67;
constexpr int kWriteProtected = 73;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool accessFits(FileMode mode, FileAccess access) {
  switch (mode) {
    case FileMode::Input:
      return access == FileAccess::Default || access == FileAccess::Read;
    case FileMode::Output:
      return access == FileAccess::Default || access == FileAccess::Write;
  }
  return false;
}

int fileNumber(double number, std::source_location where) {
  int n = toInt32(number, where);
  if (n < kFirstFileNumber || n > kLastFileNumber) raise(err::BadFileNumber, where);
  return n;
}

[[noreturn]] void raiseSystemError(int errnoValue, std::source_location where) {
  raise(systemErrorCode(errnoValue), where);
}

// Device and inode: how KILL recognises a file that is open under another name.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const struct stat& info) {
  return {info.st_dev, info.st_ino};
}

int openRetrying(const char* path, int flags, mode_t permissions = 0) {
  int descriptor;
  do {
    descriptor = ::open(path, flags, permissions);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

// Reads the whole of an input file. Returns 0 or the errno of the failure.
int readWholeFile(const std::string& name, std::string& bytes, FileIdentity& identity) {
  // Non-blocking so that naming a FIFO cannot hang the game; regular files ignore it.
  int descriptor = openRetrying(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return errno;
  int failure = 0;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    failure = errno;
  } else if (S_ISDIR(info.st_mode)) {
    failure = EISDIR;
  } else if (!S_ISREG(info.st_mode)) {
    failure = EACCES;
  } else if (static_cast<uint64_t>(info.st_size) > kMaxInputBytes) {
    failure = ENOMEM;
  } else {
    identity = identityOf(info);
    bytes.reserve(static_cast<size_t>(info.st_size));
    char chunk[16384];
    while (failure == 0) {
      ssize_t got = ::read(descriptor, chunk, sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) failure = errno;
      if (got <= 0) break;
      // The file may have grown since fstat.
      if (bytes.size() + static_cast<size_t>(got) > kMaxInputBytes) {
        failure = ENOMEM;
      } else {
        bytes.append(chunk, static_cast<size_t>(got));
      }
    }
  }
  ::close(descriptor);
  return failure;
}

// Creates a new output file; an existing one is left alone (EEXIST).
int createNewFile(const std::string& name, int& descriptor, FileIdentity& identity) {
  descriptor = openRetrying(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return errno;
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    int failure = errno;
    ::close(descriptor);
    ::unlink(name.c_str());
    descriptor = -1;
    return failure;
  }
  identity = identityOf(info);
  return 0;
}

}  // namespace

// Splits an input file's bytes into fields and lines.
class FileTable::FieldReader {
 public:
  struct Field {
    std::string text;
    bool quoted = false;
  };

  explicit FieldReader(std::string bytes) : bytes_(std::move(bytes)) {}

  bool atEnd() const { return position_ >= bytes_.size(); }

  // The next field, or nothing when only blanks are left.
  std::optional<Field> nextField() {
    while (!atEnd() && isBlank(bytes_[position_])) ++position_;
    if (atEnd()) return std::nullopt;
    Field field;
    if (bytes_[position_] == '"') {
      field.quoted = true;
      ++position_;
      // An unclosed quote runs to the end of the file.
      field.text = takeUntil(bytes_.find('"', position_));
      if (!atEnd()) ++position_;
    } else {
      size_t end = position_;
      while (end < bytes_.size() && bytes_[end] != ',' && !isLineEnd(bytes_[end])) ++end;
      field.text = takeUntil(end);
    }
    skipPastSeparator();
    return field;
  }

  // The rest of the current line, or nothing at the end of the file.
  std::optional<std::string> nextLine() {
    if (atEnd()) return std::nullopt;
    std::string line = takeUntil(bytes_.find_first_of("\r\n", position_));
    skipLineEnd();
    return line;
  }

 private:
  std::string takeUntil(size_t end) {
    end = std::min(end, bytes_.size());
    std::string text = bytes_.substr(position_, end - position_);
    position_ = end;
    return text;
  }

  void skipPastSeparator() {
    while (!atEnd()) {
      char c = bytes_[position_];
      if (c == ',') {
        ++position_;
        return;
      }
      if (isLineEnd(c)) {
        skipLineEnd();
        return;
      }
      ++position_;
    }
  }

  // Accepts CR LF, LF or a lone CR.
  void skipLineEnd() {
    if (atEnd()) return;
    if (bytes_[position_] == '\r') {
      ++position_;
      if (!atEnd() && bytes_[position_] == '\n') ++position_;
    } else if (bytes_[position_] == '\n') {
      ++position_;
    }
  }

  std::string bytes_;
  size_t position_ = 0;
};

// Buffers an output file's text and keeps its column for the print zones.
class FileTable::LineWriter {
 public:
  explicit LineWriter(int descriptor) : descriptor_(descriptor) {}
  LineWriter(LineWriter&& other) noexcept
      : descriptor_(std::exchange(other.descriptor_, -1)),
        pending_(std::move(other.pending_)),
        column_(other.column_) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  LineWriter& operator=(LineWriter&&) = delete;
  ~LineWriter() { finish(); }

  void write(std::string_view text) {
    pending_.append(text);
    for (char c : text) column_ = isLineEnd(c) ? 0 : column_ + 1;
  }

  void endLine() { write("\r\n"); }

  // Pads to the next 14-column zone, or ends the line when no full zone is left.
  void nextZone() {
    int zoneStart = (column_ / kZoneWidth + 1) * kZoneWidth;
    if (zoneStart + kZoneWidth > kLineWidth) {
      endLine();
    } else {
      write(std::string(static_cast<size_t>(zoneStart - column_), ' '));
    }
  }

  // Returns 0 or the errno of a failed write.
  int flushWhenFull() { return pending_.size() >= kFlushThreshold ? flush() : 0; }

  // Writes what is left, makes it durable and closes the file. Returns 0 or
  // the errno of the first failure; the file is closed either way.
  int finish() {
    if (descriptor_ < 0) return 0;
    int failure = flush();
    if (::fsync(descriptor_) != 0 && failure == 0) failure = errno;
    if (::close(descriptor_) != 0 && failure == 0 && errno != EINTR) failure = errno;
    descriptor_ = -1;
    pending_.clear();
    return failure;
  }

 private:
  int flush() {
    size_t written = 0;
    int failure = 0;
    while (written < pending_.size()) {
      ssize_t n = ::write(descriptor_, pending_.data() + written, pending_.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        failure = errno;
        break;
      }
      written += static_cast<size_t>(n);
    }
    pending_.erase(0, written);
    return failure;
  }

  int descriptor_;
  std::string pending_;
  int column_ = 0;
};

struct FileTable::OpenFile {
  FileIdentity identity;
  std::variant<FieldReader, LineWriter> body;
  std::string name;
  long items = 0;  // read or written so far
};

namespace {
// Runs one file operation; an error it raises names the file and the item.
template <typename Body>
auto aboutFile(const std::string& name, long item, Body body) {
  try {
    return body();
  } catch (RuntimeError& e) {
    e.setDataFile(name, item);
    throw;
  }
}
}  // namespace

int systemErrorCode(int errnoValue) {
  switch (errnoValue) {
    case EINVAL:
      return err::IllegalArgument;
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
      return err::FileNotFound;
    case EMFILE:
    case ENFILE:
      return err::TooManyFiles;
    case ENOMEM:
      return err::OutOfMemory;
    case EEXIST:
      return err::FileAlreadyExists;
    case ENAMETOOLONG:
      return err::BadFileName;
    case EROFS:
      return kWriteProtected;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    default:
      return err::AccessDenied;
  }
}

FileTable::FileTable() = default;

// Closing flushes each output file; at this point a failure can no longer be reported.
FileTable::~FileTable() = default;

bool FileTable::isOpen(int number) const {
  return number >= kFirstFileNumber && number <= kLastFileNumber && files_[number] != nullptr;
}

void FileTable::OPEN(const std::string& name, FileMode mode, FileAccess access, double number,
                     std::source_location where) {
  if (name.size() > kMaxNameBytes || name.find('\0') != std::string::npos) {
    raise(err::BadFileName, where);
  }
  int n = fileNumber(number, where);
  if (files_[n]) raise(err::FileAlreadyOpen, where);
  if (!accessFits(mode, access)) raise(err::BadFileMode, where);

  aboutFile(name, 0, [&] { openNumbered(name, mode, n, where); });
}

void FileTable::openNumbered(const std::string& name, FileMode mode, int n,
                             std::source_location where) {
  FileIdentity identity;
  if (mode == FileMode::Input) {
    std::string bytes;
    if (int failure = readWholeFile(pathOf(name), bytes, identity))
      raiseSystemError(failure, where);
    files_[n] = std::make_unique<OpenFile>(OpenFile{
        identity,
        std::variant<FieldReader, LineWriter>(std::in_place_type<FieldReader>, std::move(bytes)),
        name});
  } else {
    int descriptor = -1;
    if (int failure = createNewFile(pathOf(name), descriptor, identity))
      raiseSystemError(failure, where);
    files_[n] = std::make_unique<OpenFile>(OpenFile{
        identity, std::variant<FieldReader, LineWriter>(std::in_place_type<LineWriter>, descriptor),
        name});
  }
}

void FileTable::CLOSE(double number, std::source_location where) {
  int n = fileNumber(number, where);
  std::unique_ptr<OpenFile> file = std::move(files_[n]);
  if (!file) return;
  if (auto* writer = std::get_if<LineWriter>(&file->body)) {
    if (int failure = writer->finish()) raiseSystemError(failure, where);
  }
}

void FileTable::closeAll(std::source_location where) {
  int firstFailure = 0;
  for (int n = kFirstFileNumber; n <= kLastFileNumber; ++n) {
    std::unique_ptr<OpenFile> file = std::move(files_[n]);
    if (!file) continue;
    if (auto* writer = std::get_if<LineWriter>(&file->body)) {
      int failure = writer->finish();
      if (firstFailure == 0) firstFailure = failure;
    }
  }
  if (firstFailure != 0) raiseSystemError(firstFailure, where);
}

void FileTable::KILL(const std::string& name, std::source_location where) {
  if (name.size() > kMaxNameBytes) raise(err::BadFileName, where);
  if (name.empty() || name.find('\0') != std::string::npos) raise(err::FileNotFound, where);
  const std::string path = pathOf(name);
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) raiseSystemError(errno, where);
  FileIdentity target = identityOf(info);
  for (const auto& file : files_) {
    if (file && file->identity == target) raise(err::FileAlreadyOpen, where);
  }
  if (::unlink(path.c_str()) != 0) raiseSystemError(errno, where);
}

void FileTable::replaceFile(const std::string& from, const std::string& to,
                            std::source_location where) {
  for (const std::string* name : {&from, &to}) {
    if (name->size() > kMaxNameBytes) raise(err::BadFileName, where);
    if (name->empty() || name->find('\0') != std::string::npos) raise(err::FileNotFound, where);
    struct stat info {};
    if (::lstat(pathOf(*name).c_str(), &info) != 0) {
      if (name == &from || errno != ENOENT) raiseSystemError(errno, where);
      continue;
    }
    const FileIdentity identity = identityOf(info);
    for (const auto& file : files_) {
      if (file && file->identity == identity) raise(err::FileAlreadyOpen, where);
    }
  }
  const std::string target = pathOf(to);
  if (::rename(pathOf(from).c_str(), target.c_str()) != 0) raiseSystemError(errno, where);
  syncDirectoryOf(target);
}

void FileTable::setPlacer(Placer placer) {
  placer_ = std::move(placer);
}

// A file whose name differs only in letter case stands for the name, so
// that a roster found that way is also written back under its own name.
std::string FileTable::pathOf(const std::string& name) const {
  return withFoundCase(placer_ ? placer_(name) : name);
}

void FileTable::PRINT(double number, const PrintItem& item, Sep sep, std::source_location where) {
  LineWriter& writer = writerFor(number, where);
  OpenFile& file = openFile(number, where);
  aboutFile(file.name, ++file.items, [&] { writeItem(writer, item, sep, where); });
}

void FileTable::writeItem(LineWriter& writer, const PrintItem& item, Sep sep,
                          std::source_location where) {
  writer.write(itemText(item));
  switch (sep) {
    case Sep::EndLine:
      writer.endLine();
      break;
    case Sep::Zone:
      writer.nextZone();
      break;
    case Sep::Semicolon:
      break;
  }
  if (int failure = writer.flushWhenFull()) raiseSystemError(failure, where);
}

std::string FileTable::inputString(double number, std::source_location where) {
  FieldReader& reader = readerFor(number, where);
  OpenFile& file = openFile(number, where);
  return aboutFile(file.name, ++file.items, [&] {
    auto field = reader.nextField();
    if (!field) raise(err::InputPastEnd, where);
    return std::move(field->text);
  });
}

double FileTable::inputNumber(double number, std::source_location where) {
  FieldReader& reader = readerFor(number, where);
  OpenFile& file = openFile(number, where);
  return aboutFile(file.name, ++file.items, [&] {
    auto field = reader.nextField();
    if (!field) raise(err::InputPastEnd, where);
    const std::optional<double> value = field->quoted ? std::nullopt : wholeNumber(field->text);
    if (!value) raise(err::TypeMismatch, where);
    return *value;
  });
}

std::string FileTable::lineInput(double number, std::source_location where) {
  FieldReader& reader = readerFor(number, where);
  OpenFile& file = openFile(number, where);
  return aboutFile(file.name, ++file.items, [&] {
    auto line = reader.nextLine();
    if (!line) raise(err::InputPastEnd, where);
    return std::move(*line);
  });
}

bool FileTable::atEnd(double number, std::source_location where) {
  return readerFor(number, where).atEnd();
}

FileTable::OpenFile& FileTable::openFile(double number, std::source_location where) {
  int n = fileNumber(number, where);
  if (!files_[n]) raise(err::FileNotOpen, where);
  return *files_[n];
}

FileTable::FieldReader& FileTable::readerFor(double number, std::source_location where) {
  auto* reader = std::get_if<FieldReader>(&openFile(number, where).body);
  if (!reader) raise(err::BadFileMode, where);
  return *reader;
}

FileTable::LineWriter& FileTable::writerFor(double number, std::source_location where) {
  auto* writer = std::get_if<LineWriter>(&openFile(number, where).body);
  if (!writer) raise(err::BadFileMode, where);
  return *writer;
}

}  // namespace kestrun::rt
