// linkage-viewer: checks a linkage file, shows its figures, compares two, draws them.
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "tools/viewer/comparison.h"
#include "tools/viewer/figure_blocks.h"
#include "tools/viewer/figures_page.h"
#include "tools/viewer/figures_text.h"
#include "tools/viewer/linkage_check.h"
#include "winport/encoding.h"

namespace {

constexpr const char* kUsage =
    "使い方:\n"
    "  linkage-viewer FILE                 確認して、金額を表示します\n"
    "  linkage-viewer --check FILE         確認だけをします\n"
    "  linkage-viewer --compare A B        A と B の違う要素だけを表示します\n"
    "  linkage-viewer --html OUT FILE      金額の表とグラフを HTML ページ OUT に書きます\n"
    "  linkage-viewer --help               この説明を表示します\n"
    "FILE は連動ファイル（Shift_JIS の XML）です。表示は UTF-8 です。\n"
    "終了コード: 0 問題なし（比較では違いなし）、1 比較で違いあり、\n"
    "            2 ファイルに問題がある・読めない・使い方の誤り\n";

constexpr int kDiffers = 1;
constexpr int kTrouble = 2;

void Print(std::ostream& out, const std::string& cp932) { out << winport::Cp932ToUtf8(cp932); }

// The checked file, or nullopt after its problems were reported, one line each.
std::optional<viewer::CheckedFile> Checked(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path;
    Print(std::cerr, ": ファイルを開けません\n");
    return std::nullopt;
  }
  viewer::CheckedFile file = viewer::CheckLinkageFile(in);
  for (const viewer::Problem& problem : file.problems) {
    std::cerr << path << ':' << problem.line << ": ";
    Print(std::cerr, problem.text + "\n");
  }
  if (!file.ok()) return std::nullopt;
  return file;
}

int Show(const std::string& path) {
  std::optional<viewer::CheckedFile> file = Checked(path);
  if (!file) return kTrouble;
  std::cout << path;
  Print(std::cout, "（確認済み: 問題はありません）\n" + FiguresText(FigureBlocks(*file)));
  return 0;
}

int Check(const std::string& path) {
  if (!Checked(path)) return kTrouble;
  std::cout << path;
  Print(std::cout, ": 問題はありません\n");
  return 0;
}

int CompareFiles(const std::string& before, const std::string& after) {
  std::optional<viewer::CheckedFile> a = Checked(before);
  std::optional<viewer::CheckedFile> b = Checked(after);
  if (!a || !b) return kTrouble;
  const std::vector<viewer::Difference> differences = viewer::Compare(*a, *b);
  std::cout << "A: " << before << "\nB: " << after << '\n';
  Print(std::cout, DifferencesText(differences));
  if (differences.empty()) {
    Print(std::cout, "違いはありません\n");
    return 0;
  }
  Print(std::cout, std::to_string(differences.size()) + " 個の要素が違います\n");
  return kDiffers;
}

int Draw(const std::string& out, const std::string& path) {
  std::optional<viewer::CheckedFile> file = Checked(path);
  if (!file) return kTrouble;
  std::ofstream page(out, std::ios::binary | std::ios::trunc);
  page << viewer::FiguresPage(*file, path);
  page.close();
  if (!page) {
    std::cerr << out;
    Print(std::cerr, ": 書き込めません\n");
    return kTrouble;
  }
  std::cout << out << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--help") {
    Print(std::cout, kUsage);
    return 0;
  }
  if (args.size() == 1 && !args[0].starts_with("--")) return Show(args[0]);
  if (args.size() == 2 && args[0] == "--check") return Check(args[1]);
  if (args.size() == 3 && args[0] == "--compare") return CompareFiles(args[1], args[2]);
  if (args.size() == 3 && args[0] == "--html") return Draw(args[1], args[2]);
  Print(std::cerr, kUsage);
  return kTrouble;
}
