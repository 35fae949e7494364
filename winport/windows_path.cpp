#include "winport/windows_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "winport/cp932.h"
#include "winport/cp932_case.h"
#include "winport/drive_map.h"
#include "winport/encoding.h"
#include "winport/files.h"

namespace winport {
namespace {

// Length of the character at i: a lead byte takes the next byte with it, whatever it is.
std::size_t CharLength(std::string_view text, std::size_t i) {
  return cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Position of the first separator character at or after from; npos when none.
std::size_t FindSeparator(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); i += CharLength(text, i)) {
    if (IsPathSeparator(text[i])) return i;
  }
  return std::string_view::npos;
}

void SetError(DWORD* error, DWORD code) {
  if (error) *error = code;
}

// Windows drops the trailing dots and blanks of the last name: "report.xml." opens
// "report.xml". A name of dots only is left to the "." and ".." rules.
void TrimLastName(std::string& name) {
  if (name.find_first_not_of('.') == std::string::npos) return;
  std::size_t end = name.size();
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ') &&
         !cp932::IsTrailPosition(name, end - 1)) {
    --end;
  }
  name.resize(end);
}

// Appends names to path, resolving "." and ".." (never above the root).
bool AppendNames(WindowsPath& path, std::string_view text, DWORD* error) {
  std::vector<std::string> names = SplitPathNames(text);
  path.trailingSeparator = !text.empty() && cp932::FindLastChar(text, '\\') == text.size() - 1;
  if (!text.empty() && text.back() == '/') path.trailingSeparator = true;
  if (!names.empty() && !path.trailingSeparator) {
    TrimLastName(names.back());
    if (names.back().empty()) names.pop_back();
  }
  for (std::string& name : names) {
    if (name == ".") continue;
    if (name == "..") {
      if (!path.names.empty()) path.names.pop_back();
      continue;
    }
    if (!IsValidFileName(name)) {
      SetError(error, ERROR_INVALID_NAME);
      return false;
    }
    path.names.push_back(std::move(name));
  }
  if (path.names.empty()) path.trailingSeparator = false;
  return true;
}

// "\\server\share..." with prefix the two separators; the rest after the share is returned.
std::optional<WindowsPath> ParseShareRoot(std::string_view text, std::string_view* rest,
                                          DWORD* error) {
  std::size_t serverEnd = FindSeparator(text, 2);
  if (serverEnd == std::string_view::npos || serverEnd == 2) {
    SetError(error, ERROR_BAD_PATHNAME);
    return std::nullopt;
  }
  std::size_t shareEnd = FindSeparator(text, serverEnd + 1);
  if (shareEnd == std::string_view::npos) shareEnd = text.size();
  if (shareEnd == serverEnd + 1) {
    SetError(error, ERROR_BAD_PATHNAME);
    return std::nullopt;
  }
  WindowsPath path;
  path.server = std::string(text.substr(2, serverEnd - 2));
  path.share = std::string(text.substr(serverEnd + 1, shareEnd - serverEnd - 1));
  if (!IsValidFileName(path.server) || !IsValidFileName(path.share)) {
    SetError(error, ERROR_INVALID_NAME);
    return std::nullopt;
  }
  *rest = text.substr(shareEnd);
  return path;
}

// Folds UTF-8 text the way Windows file systems compare names: ASCII letters, and the letters
// code page 932 has in both cases (full-width Latin, Greek, Cyrillic, roman numerals), to upper
// case. Each folded character keeps its UTF-8 length. Kana and everything else stay.
std::string FoldUtf8(std::string_view utf8) {
  std::string out(utf8);
  auto continuation = [&out](std::size_t k) {
    return k < out.size() && (static_cast<unsigned char>(out[k]) & 0xC0) == 0x80;
  };
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
      continue;
    }
    // Two-byte sequences: Greek U+03B1-03C9 and Cyrillic U+0430-045F.
    if ((c == 0xCE || c == 0xCF || c == 0xD0 || c == 0xD1) && continuation(i + 1)) {
      char32_t cp = (c & 0x1F) << 6 | (static_cast<unsigned char>(out[i + 1]) & 0x3F);
      char32_t upper = cp;
      if (cp >= 0x03B1 && cp <= 0x03C9 && cp != 0x03C2) upper = cp - 0x20;
      if (cp >= 0x0430 && cp <= 0x044F) upper = cp - 0x20;
      if (cp >= 0x0450 && cp <= 0x045F) upper = cp - 0x50;
      out[i] = static_cast<char>(0xC0 | (upper >> 6));
      out[i + 1] = static_cast<char>(0x80 | (upper & 0x3F));
      ++i;
      continue;
    }
    // Three-byte sequences: small roman numerals U+2170-217F, full-width a-z U+FF41-FF5A.
    if ((c == 0xE2 || c == 0xEF) && continuation(i + 1) && continuation(i + 2)) {
      char32_t cp = (c & 0x0F) << 12 | (static_cast<unsigned char>(out[i + 1]) & 0x3F) << 6 |
                    (static_cast<unsigned char>(out[i + 2]) & 0x3F);
      char32_t upper = cp;
      if (cp >= 0x2170 && cp <= 0x217F) upper = cp - 0x10;
      if (cp >= 0xFF41 && cp <= 0xFF5A) upper = cp - 0x20;
      out[i] = static_cast<char>(0xE0 | (upper >> 12));
      out[i + 1] = static_cast<char>(0x80 | ((upper >> 6) & 0x3F));
      out[i + 2] = static_cast<char>(0x80 | (upper & 0x3F));
      i += 2;
    }
  }
  return out;
}

bool IsDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// The root of path alone (its names dropped).
WindowsPath RootOf(const WindowsPath& path) {
  WindowsPath root;
  root.drive = path.drive;
  root.server = path.server;
  root.share = path.share;
  return root;
}

}  // namespace

std::string WindowsPath::ToString() const {
  std::string out;
  if (drive != 0) {
    out = std::string(1, drive) + ":";
  } else {
    out = "\\\\" + server + "\\" + share;
  }
  for (const std::string& name : names) out += "\\" + name;
  if (drive != 0 && names.empty()) out += "\\";
  return out;
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitPathNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = FindSeparator(text, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) names.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

bool IsValidFileName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (CharLength(name, i) == 2) continue;
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr) return false;
  }
  return true;
}

std::optional<WindowsPath> ResolveWindowsPath(std::string_view text,
                                              std::string_view currentDirectory, DWORD* error) {
  if (text.empty()) {
    SetError(error, ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  // "\\?\C:\x" and "\\?\UNC\server\share" name the same files as their plain forms.
  if (text.size() >= 4 && text.substr(0, 4) == "\\\\?\\") {
    std::string_view rest = text.substr(4);
    if (rest.size() >= 4 && cp932::EqualsIgnoreCase(rest.substr(0, 4), "UNC\\")) {
      std::string plain = "\\\\" + std::string(rest.substr(4));
      return ResolveWindowsPath(plain, currentDirectory, error);
    }
    text = rest;
  }

  std::optional<WindowsPath> base;
  std::string_view rest;
  auto current = [&]() -> std::optional<WindowsPath> {
    std::optional<WindowsPath> cwd;
    if (!currentDirectory.empty()) cwd = ResolveWindowsPath(currentDirectory, {}, nullptr);
    if (!cwd) SetError(error, ERROR_PATH_NOT_FOUND);
    return cwd;
  };

  if (text.size() >= 2 && IsPathSeparator(text[0]) && IsPathSeparator(text[1])) {
    base = ParseShareRoot(text, &rest, error);
    if (!base) return std::nullopt;
  } else if (text.size() >= 2 && text[1] == ':' &&
             !cp932::IsLeadByte(static_cast<unsigned char>(text[0]))) {
    if (!IsDriveLetter(text[0])) {
      SetError(error, ERROR_INVALID_NAME);
      return std::nullopt;
    }
    char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    rest = text.substr(2);
    if (rest.empty() || !IsPathSeparator(rest[0])) {
      // "X:rel": the current folder when it is on that drive, else the drive's root.
      std::optional<WindowsPath> cwd;
      if (!currentDirectory.empty()) cwd = ResolveWindowsPath(currentDirectory, {}, nullptr);
      if (cwd && cwd->drive == drive) base = cwd;
    }
    if (!base) {
      base = WindowsPath{};
      base->drive = drive;
    }
  } else if (IsPathSeparator(text[0])) {
    base = current();
    if (!base) return std::nullopt;
    base = RootOf(*base);
    rest = text;
  } else {
    base = current();
    if (!base) return std::nullopt;
    rest = text;
  }
  base->trailingSeparator = false;
  if (!AppendNames(*base, rest, error)) return std::nullopt;
  return base;
}

std::optional<std::string> WindowsPathToLinux(const char* text, DWORD* error,
                                              WindowsPath* resolved) {
  if (text == nullptr) {
    SetError(error, ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  // Only a relative form needs the current directory (which costs a getcwd and a realpath).
  std::string_view view = text;
  bool absolute = (view.size() >= 3 && view[1] == ':' && IsPathSeparator(view[2])) ||
                  (view.size() >= 2 && IsPathSeparator(view[0]) && IsPathSeparator(view[1]));
  std::optional<std::string> cwd = absolute ? std::nullopt : CurrentWindowsDirectory();
  std::optional<WindowsPath> path = ResolveWindowsPath(text, cwd.value_or(""), error);
  if (!path) return std::nullopt;
  if (resolved) *resolved = *path;
  return MapToLinux(*path, error);
}

std::optional<std::string> MapToLinux(const WindowsPath& path, DWORD* error) {
  const DriveMap& map = CurrentDriveMap();
  std::optional<std::string> mapped = map.ToLinux(RootOf(path).ToString());
  if (!mapped) {
    SetError(error, path.drive != 0 ? ERROR_PATH_NOT_FOUND : ERROR_BAD_NETPATH);
    return std::nullopt;
  }
  // Name by name, so that a folder found without regard to case is used for what lies below.
  for (const std::string& name : path.names) {
    std::optional<std::string> utf8 = Cp932ToUtf8Exact(name);
    if (!utf8) {
      SetError(error, ERROR_INVALID_NAME);
      return std::nullopt;
    }
    std::string candidate = (*mapped == "/" ? "" : *mapped) + "/" + *utf8;
    struct stat st;
    if (lstat(candidate.c_str(), &st) != 0) {
      if (DIR* dir = opendir(mapped->c_str())) {
        std::string wanted = FoldUtf8(*utf8);
        while (dirent* entry = readdir(dir)) {
          std::string found = entry->d_name;
          if (found.size() == wanted.size() && FoldUtf8(found) == wanted &&
              Utf8ToCp932Exact(found)) {
            candidate = (*mapped == "/" ? "" : *mapped) + "/" + found;
            break;
          }
        }
        closedir(dir);
      }
    }
    mapped = candidate;
  }
  return mapped;
}

}  // namespace winport
