#include "runtime/errors.h"

#include <cstdio>
#include <iostream>
#include <map>

namespace kestrun::rt {

namespace {
const char* gModule = "Kestmain";

const std::map<int, std::string_view>& messageTable() {
  static const std::map<int, std::string_view> table = {
      {5, "関数の引数が正しくありません"},
      {6, "オーバーフローしました"},
      {7, "メモリが足りません"},
      {9, "配列の添字が範囲外です"},
      {10, "配列が二重に定義されています"},
      {11, "0 で除算しました"},
      {13, "型が一致しません"},
      {15, "文字列が長すぎます"},
      {19, "エラー処理中に手続きを抜けました"},
      {20, "エラー処理中ではないのに RESUME を実行しました"},
      {27, "画面またはイベントの資源が使えません"},
      {50, "ファイル番号が正しくありません"},
      {51, "ファイルモードが正しくありません"},
      {52, "ファイルはすでに開かれています"},
      {53, "入力できない装置です"},
      {54, "ファイルの終わりを越えて読み込もうとしました"},
      {55, "ファイル名が正しくありません"},
      {57, "ファイルが開かれていません"},
      {59, "ネットワークの資源が使えません"},
      {60, "ディスクの媒体に異常があります"},
      {61, "ファイル名が長すぎます"},
      {63, "ファイルが見つかりません"},
      {64, "ファイルはすでに存在します"},
      {66, "開いているファイルが多すぎます"},
      {67, "ディスクがいっぱいです"},
      {71, "装置の準備ができていません"},
      {72, "装置に異常があります"},
      {73, "書き込みが禁止されています"},
      {75, "アクセスが拒否されました"},
      {1000, "その番号のウィンドウはありません"},
      {1001, "ピクチャオブジェクトはすでに作成されています"},
      {1002, "この操作はこの種類のウィンドウではできません"},
      {1003, "ピクチャオブジェクトがありません"},
      {1004, "ピクチャオブジェクトを作成できません"},
  };
  return table;
}

const std::map<int, std::string_view>& meaningTable() {
  static const std::map<int, std::string_view> table = {
      {5, "invalid argument (a count, position, colour or index the statement cannot take)"},
      {6, "overflow (a number too large for where it is stored)"},
      {7, "out of memory"},
      {9, "index out of range (a table was read or written outside its size)"},
      {10, "a table was created twice"},
      {11, "division by zero"},
      {13, "type mismatch (text where a number was expected)"},
      {15, "text too long"},
      {19, "a procedure was left while its error handler ran"},
      {20, "resume without an error"},
      {27, "a screen or event resource is not available"},
      {50, "bad file number"},
      {51, "bad file mode"},
      {52, "the file is already open"},
      {53, "the device cannot be read"},
      {54, "read past the end of the file (it holds fewer items than expected)"},
      {55, "bad file name"},
      {57, "the file is not open"},
      {59, "a network resource is not available"},
      {60, "the disk medium failed"},
      {61, "the file name is too long"},
      {63, "file not found"},
      {64, "the file already exists"},
      {66, "too many open files"},
      {67, "the disk is full"},
      {71, "the device is not ready"},
      {72, "device failure"},
      {73, "the medium is write-protected"},
      {75, "access denied"},
      {1000, "no such window"},
      {1001, "the picture object already exists"},
      {1002, "the window cannot do this"},
      {1003, "the picture object is missing"},
      {1004, "the picture object cannot be created"},
  };
  return table;
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
  const auto& table = messageTable();
  auto it = table.find(code);
  return it == table.end() ? std::string_view{} : it->second;
}

std::string_view errorMeaning(int code) {
  const auto& table = meaningTable();
  auto it = table.find(code);
  return it == table.end() ? std::string_view{} : it->second;
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
