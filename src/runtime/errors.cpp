#include "runtime/errors.h"

#include <cstdio>
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
}  // namespace

RuntimeError::RuntimeError(int code, unsigned line, std::string module)
    : code_(code), line_(line), module_(std::move(module)) {
  what_ = module_ + " line " + std::to_string(line_) + ": error " + std::to_string(code_);
}

void raise(int code, std::source_location where) {
  throw RuntimeError(code, where.line() & 0xFFFFu, gModule);
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

std::string errorReportHeader(const RuntimeError& e) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%s [%u行]:エラー[%d]", e.module().c_str(), e.line(),
                e.code());
  return buffer;
}

}  // namespace kestrun::rt
