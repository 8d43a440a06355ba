#include "runtime/errors.h"

#include <cstdio>
#include <iostream>
#include <map>

namespace kestrun::rt {

namespace {
const char* gModule = "Kestmain";

// Each code's text under the report on the screen, and its meaning in plain
// English for standard error.
struct ErrorTexts {
  std::string_view screen;
  std::string_view meaning;
};

const std::map<int, ErrorTexts>& textTable() {
  static const std::map<int, ErrorTexts> table = {
      {5,
       {"関数の引数が正しくありません",
        "invalid argument (a count, position, colour or index the statement cannot take)"}},
      {6, {"オーバーフローしました", "overflow (a number too large for where it is stored)"}},
      {7, {"メモリが足りません", "out of memory"}},
      {9,
       {"配列の添字が範囲外です",
        "index out of range (a table was read or written outside its size)"}},
      {10, {"配列が二重に定義されています", "a table was created twice"}},
      {11, {"0 で除算しました", "division by zero"}},
      {13, {"型が一致しません", "type mismatch (text where a number was expected)"}},
      {15, {"文字列が長すぎます", "text too long"}},
      {19,
       {"エラー処理中に手続きを抜けました", "a procedure was left while its error handler ran"}},
      {20, {"エラー処理中ではないのに RESUME を実行しました", "resume without an error"}},
      {27, {"画面またはイベントの資源が使えません", "a screen or event resource is not available"}},
      {50, {"ファイル番号が正しくありません", "bad file number"}},
      {51, {"ファイルモードが正しくありません", "bad file mode"}},
      {52, {"ファイルはすでに開かれています", "the file is already open"}},
      {53, {"入力できない装置です", "the device cannot be read"}},
      {54,
       {"ファイルの終わりを越えて読み込もうとしました",
        "read past the end of the file (it holds fewer items than expected)"}},
      {55, {"ファイル名が正しくありません", "bad file name"}},
      {57, {"ファイルが開かれていません", "the file is not open"}},
      {59, {"ネットワークの資源が使えません", "a network resource is not available"}},
      {60, {"ディスクの媒体に異常があります", "the disk medium failed"}},
      {61, {"ファイル名が長すぎます", "the file name is too long"}},
      {63, {"ファイルが見つかりません", "file not found"}},
      {64, {"ファイルはすでに存在します", "the file already exists"}},
      {66, {"開いているファイルが多すぎます", "too many open files"}},
      {67, {"ディスクがいっぱいです", "the disk is full"}},
      {71, {"装置の準備ができていません", "the device is not ready"}},
      {72, {"装置に異常があります", "device failure"}},
      {73, {"書き込みが禁止されています", "the medium is write-protected"}},
      {75, {"アクセスが拒否されました", "access denied"}},
      {1000, {"その番号のウィンドウはありません", "no such window"}},
      {1001, {"ピクチャオブジェクトはすでに作成されています", "the picture object already exists"}},
      {1002, {"この操作はこの種類のウィンドウではできません", "the window cannot do this"}},
      {1003, {"ピクチャオブジェクトがありません", "the picture object is missing"}},
      {1004, {"ピクチャオブジェクトを作成できません", "the picture object cannot be created"}},
  };
  return table;
}

ErrorTexts textsOf(int code) {
  const auto& table = textTable();
  auto it = table.find(code);
  return it == table.end() ? ErrorTexts{} : it->second;
}

// "void kestrun::game::{anonymous}::buyItem(kestrun::game::Game&)" -> "buyItem".
std::string procedureName(const char* signature) {
  std::string name(signature);
  name = name.substr(0, name.find('('));
  if (const size_t colons = name.rfind("::"); colons != std::string::npos)
    name = name.substr(colons + 2);
  if (const size_t blank = name.rfind(' '); blank != std::string::npos)
    name = name.substr(blank + 1);
  return name;
}

// The source file from the project's src folder on ("game/town/shop.cpp").
std::string sourceFileName(const char* path) {
  const std::string file(path);
  const size_t src = file.rfind("src/");
  return src == std::string::npos ? file : file.substr(src + 4);
}
}  // namespace

RuntimeError::RuntimeError(int code, unsigned line, std::string module, std::string procedure,
                           std::string sourceFile)
    : code_(code),
      line_(line),
      module_(std::move(module)),
      procedure_(std::move(procedure)),
      sourceFile_(std::move(sourceFile)) {
  what_ = module_ + " line " + std::to_string(line_) + ": error " + std::to_string(code_);
}

void RuntimeError::setDataFile(std::string name, long item) {
  dataFile_ = std::move(name);
  item_ = item;
}

void raise(int code, std::source_location where) {
  throw RuntimeError(code, where.line() & 0xFFFFu, gModule, procedureName(where.function_name()),
                     sourceFileName(where.file_name()));
}

ModuleScope::ModuleScope(const char* name) : previous_(gModule) {
  gModule = name;
}
ModuleScope::~ModuleScope() {
  gModule = previous_;
}
const char* currentModule() {
  return gModule;
}

std::string_view errorMessage(int code) {
  return textsOf(code).screen;
}

std::string_view errorMeaning(int code) {
  return textsOf(code).meaning;
}

std::string describeError(const RuntimeError& e) {
  std::string line = "run-time error " + std::to_string(e.code());
  const std::string_view meaning = errorMeaning(e.code());
  line += meaning.empty() ? std::string(" (no description)") : ": " + std::string(meaning);
  if (!e.procedure().empty()) line += ", in " + e.procedure();
  line += " (";
  if (!e.sourceFile().empty()) line += e.sourceFile() + " ";
  line += "line " + std::to_string(e.line()) + ", module " + e.module() + ")";
  if (!e.dataFile().empty()) {
    line += e.item() == 0 ? ", opening " + e.dataFile()
                          : ", at item " + std::to_string(e.item()) + " of " + e.dataFile();
  }
  return line;
}

void logFatalError(const RuntimeError& e) {
  std::cerr << "kestrun: " << describeError(e) << std::endl;
}

std::string errorReportHeader(const RuntimeError& e) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%s [%u行]:エラー[%d]", e.module().c_str(), e.line(),
                e.code());
  return buffer;
}

}  // namespace kestrun::rt
