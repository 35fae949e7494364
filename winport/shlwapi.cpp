#include "winport/shlwapi.h"

#include <string>
#include <string_view>

#include "winport/cp932.h"
#include "winport/files.h"

namespace {

using winport::cp932::FindChar;

std::size_t CharLength(std::string_view text, std::size_t i) {
  bool pair =
      winport::cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
  return pair ? 2 : 1;
}

bool IsRoot(std::string_view text) {
  if (text.empty()) return false;
  if (text[0] != '\\') return text.size() == 3 && text[1] == ':' && text[2] == '\\';
  if (text.size() == 1) return true;
  if (text[1] != '\\') return false;
  // A network root: the server, and at most one separator and the share after it.
  std::string_view afterServer = text.substr(2);
  std::size_t first = FindChar(afterServer, '\\');
  return first == std::string_view::npos ||
         FindChar(afterServer.substr(first + 1), '\\') == std::string_view::npos;
}

// Drops the last name and the separator before it, except where that separator belongs to
// the root ("X:\", a leading "\" or "\\"); false when there is nothing to drop.
bool DropLastName(std::string& text) {
  std::size_t i = 0;
  std::size_t cut = 0;
  for (int leading = 0; leading < 2 && i < text.size() && text[i] == '\\'; ++leading) cut = ++i;
  while (i < text.size()) {
    if (text[i] == '\\') {
      cut = i;
    } else if (text[i] == ':') {
      cut = ++i;
      if (i < text.size() && text[i] == '\\') ++cut;
      // The character right after the colon is not looked at again, as in shlwapi.
      if (i >= text.size()) break;
    }
    i += CharLength(text, i);
  }
  if (cut >= text.size()) return false;
  text.resize(cut);
  return true;
}

}  // namespace

LPSTR PathSkipRootA(LPCSTR path) {
  if (path == nullptr || *path == '\0') return nullptr;
  std::string_view text(path);
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
    std::size_t serverEnd = FindChar(text.substr(2), '\\');
    if (serverEnd == std::string_view::npos) return nullptr;
    serverEnd += 2;
    std::size_t shareEnd = FindChar(text.substr(serverEnd + 1), '\\');
    if (shareEnd == std::string_view::npos) return nullptr;
    return const_cast<LPSTR>(path + serverEnd + 1 + shareEnd + 1);
  }
  if (winport::cp932::IsLeadByte(static_cast<unsigned char>(text[0]))) return nullptr;
  if (text.size() >= 3 && text[1] == ':' && text[2] == '\\') return const_cast<LPSTR>(path + 3);
  return nullptr;
}

BOOL PathStripToRootA(LPSTR path) {
  if (path == nullptr) return FALSE;
  std::string text(path);
  BOOL reached = TRUE;
  while (!IsRoot(text)) {
    if (!DropLastName(text)) {
      reached = FALSE;
      break;
    }
  }
  path[text.size()] = '\0';  // only ever shortened
  return reached;
}

BOOL PathIsDirectoryA(LPCSTR path) {
  if (path == nullptr) return FALSE;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return FALSE;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY : FALSE;
}
