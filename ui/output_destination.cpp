#include "ui/output_destination.h"

#include <string_view>

#include "resources/strings.h"
#include "ui/folder_chain.h"
#include "winport/cp932.h"
#include "winport/drive_map.h"
#include "winport/files.h"
#include "winport/message_box.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Position of the first character c at byte `from` or later, read character by character from
// the start so that the second byte of 表 or ソ is never matched; one pass, each search going on
// just after the character found (a character boundary).
std::size_t FindCharFrom(std::string_view text, char c, std::size_t from) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t found = winport::cp932::FindChar(text.substr(at), static_cast<unsigned char>(c));
    if (found == kNone) return kNone;
    if (at + found >= from) return at + found;
    at += found + 1;
  }
  return kNone;
}

// Position of the first "\\" (two separators in a row) at byte `from` or later.
std::size_t FindDoubledSeparator(std::string_view text, std::size_t from) {
  for (std::size_t i = FindCharFrom(text, '\\', from); i != kNone;
       i = FindCharFrom(text, '\\', i + 1)) {
    if (i + 1 < text.size() && text[i + 1] == '\\') return i;
  }
  return kNone;
}

bool IsNetworkPath(std::string_view path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

void ShowError(HWND owner, const char* text) {
  MessageBoxA(owner, text, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
}

bool AskYes(HWND owner, const char* text) {
  return MessageBoxA(owner, text, kMessageCaption, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

constexpr char kNoFileName[] = "ファイル名が指定されていません。";

}  // namespace

bool HasUsableCharacters(const std::string& path) {
  std::string_view examined = path;
  if (IsNetworkPath(path)) {
    if (FindDoubledSeparator(path, 3) != kNone) return false;
    examined.remove_prefix(2);
  } else {
    if (FindDoubledSeparator(path, 0) != kNone) return false;
    std::size_t colon = winport::cp932::FindChar(path, ':');
    if (colon != kNone) examined.remove_prefix(colon + 1);
  }
  for (char forbidden : std::string_view("/:,;*?\"><|")) {
    if (winport::cp932::FindChar(examined, static_cast<unsigned char>(forbidden)) != kNone) {
      return false;
    }
  }
  return true;
}

bool HasUsableDriveOrShare(const std::string& path) {
  if (IsNetworkPath(path)) {
    std::size_t serverEnd = FindCharFrom(path, '\\', 3);
    std::size_t shareEnd = serverEnd == kNone ? kNone : FindCharFrom(path, '\\', serverEnd + 1);
    if (shareEnd == kNone) return false;
    return winport::Access(path.substr(0, shareEnd).c_str(), 6) == 0;
  }
  if (path.empty() || FindDoubledSeparator(path, 0) != kNone) return false;
  char letter = path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return false;
  const char root[] = {letter, ':', '\\', '\0'};
  switch (GetDriveTypeA(root)) {
    case DRIVE_UNKNOWN:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
      return false;
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_REMOTE:
      return winport::Access(root, 6) == 0;
    default:  // no root directory, or a type this program does not know
      return true;
  }
}

OutputCheckResult CheckOutputDestination(HWND owner, const std::string& outputPath,
                                         bool pathFixed) {
  if (outputPath.empty()) {
    ShowError(owner, "データ出力先が指定されていません。\n\n出力先を指定してください。");
    return OutputCheckResult::Stay;
  }
  if (!HasUsableCharacters(outputPath)) {
    ShowError(owner,
              "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。");
    return OutputCheckResult::Stay;
  }
  if (!HasUsableDriveOrShare(outputPath)) {
    ShowError(owner, "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。");
    return OutputCheckResult::Stay;
  }
  if (FilePart(outputPath).empty()) {
    ShowError(owner, kNoFileName);
    return OutputCheckResult::Stay;
  }
  std::string folder = FolderPart(outputPath);
  if (!folder.empty() && winport::Access(folder.c_str(), 0) != 0) {
    if (!AskYes(owner, "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？")) {
      return OutputCheckResult::Stay;
    }
    if (!CreateFolderChain(folder)) {
      ShowError(owner, "フォルダの作成に失敗しました。\n\n出力先を再入力してください。");
      return OutputCheckResult::Stay;
    }
  }
  if (pathFixed) return OutputCheckResult::Accept;

  DWORD attributes = GetFileAttributesA(outputPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return OutputCheckResult::Accept;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    ShowError(owner, kNoFileName);
    return OutputCheckResult::Stay;
  }
  return AskYes(owner, "同名のファイルが存在します。\n\n上書きしてもよろしいですか？")
             ? OutputCheckResult::Accept
             : OutputCheckResult::Stay;
}
