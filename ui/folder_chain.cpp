#include "ui/folder_chain.h"

#include <string_view>

#include "winport/cp932.h"
#include "winport/crt_string.h"
#include "winport/files.h"
#include "winport/shlwapi.h"
#include "winport/split_path.h"

namespace {

using winport::cp932::IsInDoubleByte;

// The first n bytes of text (n below kPathBufferSize), never half a character.
std::string Leading(const std::string& text, std::size_t n) {
  char buffer[kPathBufferSize] = {};
  winport::Mbsnbcpy(buffer, text.c_str(), n);
  return buffer;
}

// path's root as PathStripToRootA leaves it, ending with a separator; "" when it has none.
std::string RootWithSeparator(const std::string& path) {
  if (path.size() >= kPathBufferSize) return "";
  char buffer[kPathBufferSize] = {};
  path.copy(buffer, path.size());
  if (!PathStripToRootA(buffer)) return "";
  std::string root = buffer;
  return EnsureSeparator(root, kPathBufferSize) ? root : "";
}

// What follows path's root (PathSkipRootA); false when there is no root.
bool AfterRoot(const std::string& path, std::string& rest) {
  const char* after = PathSkipRootA(path.c_str());
  if (after == nullptr) return false;
  rest = after;
  return true;
}

// After CreateDirectoryA failed for `failed`, removes the folders of its chain below
// `deepestExisting` that exist now: the ones this chain creation made.
void RollBack(std::string failed, std::string deepestExisting) {
  failed = DirectoryOf(failed);
  deepestExisting = DirectoryOf(deepestExisting);
  if (!EnsureSeparator(failed, kPathBufferSize) ||
      !EnsureSeparator(deepestExisting, kPathBufferSize)) {
    return;
  }
  std::string restFailed;
  std::string restExisting;
  if (!AfterRoot(failed, restFailed) || !AfterRoot(deepestExisting, restExisting)) return;
  std::string root = RootWithSeparator(failed);
  std::string rootExisting = RootWithSeparator(deepestExisting);
  if (root.empty() || winport::Stricmp(root.c_str(), rootExisting.c_str()) != 0 ||
      winport::Strnicmp(restExisting.c_str(), restFailed.c_str(), restExisting.size()) != 0) {
    return;  // not the same chain: nothing here is ours to remove
  }
  for (std::size_t k = restFailed.size(); k > 1;) {
    --k;
    if (IsInDoubleByte(restFailed, k)) {
      if (winport::cp932::IsTrailPosition(restFailed, k)) --k;
      continue;
    }
    if (restFailed[k] != '\\') continue;
    if (winport::Strnicmp(restExisting.c_str(), restFailed.c_str(), k) == 0) return;
    std::string folder = root + Leading(restFailed, k) + "\\";
    if (IsFolder(folder) && !RemoveDirectoryA(folder.c_str())) return;
  }
}

}  // namespace

std::string FolderPart(const std::string& path) {
  std::size_t last = winport::cp932::FindLastChar(path, '\\');
  return last == std::string::npos ? "" : path.substr(0, last + 1);
}

std::string FilePart(const std::string& path) {
  std::size_t last = winport::cp932::FindLastChar(path, '\\');
  return last == std::string::npos ? path : path.substr(last + 1);
}

bool EnsureSeparator(std::string& text, std::size_t limit) {
  if (text.empty()) return false;
  // A final 0x5C that is the second byte of 表 is no separator; it needs one like any name.
  if (!IsInDoubleByte(text, text.size() - 1) && text.back() == '\\') return true;
  if (text.size() + 1 >= limit) return false;
  text += '\\';
  return true;
}

std::string DirectoryOf(const std::string& path) {
  char drive[winport::kMaxDrive];
  char dir[winport::kMaxDir];
  char fname[winport::kMaxFname];
  char ext[winport::kMaxExt];
  winport::SplitPath(path.c_str(), drive, dir, fname, ext);
  std::string directory = std::string(drive) + dir;
  // The four parts add up to the path unless _splitpath had to cut one.
  if (directory.size() + std::string_view(fname).size() + std::string_view(ext).size() !=
      path.size()) {
    return "";
  }
  EnsureSeparator(directory, path.size() + 1);
  return directory;
}

bool IsFolder(const std::string& path) {
  std::string directory = DirectoryOf(path);
  return !directory.empty() && PathIsDirectoryA(directory.c_str());
}

bool CreateFolderChain(const std::string& folderPart) {
  std::string chain = DirectoryOf(folderPart);
  if (chain.empty() || !EnsureSeparator(chain, kPathBufferSize)) return false;
  std::string rest;
  if (!AfterRoot(chain, rest) || chain.size() >= kPathBufferSize) return false;
  std::string root = RootWithSeparator(chain);
  // Root and rest must make up the chain again, or the folders made would be other ones (a
  // doubled separator in a network path shifts the root); and nothing can be made under a
  // drive or share root that is not there.
  if (root.empty() || root + rest != chain || !PathIsDirectoryA(root.c_str())) return false;

  std::string deepestExisting = root;
  for (std::size_t i = 0; i < rest.size();) {
    if (IsInDoubleByte(rest, i)) {
      i += 2;
      continue;
    }
    if (rest[i] == '\\') {
      std::string folder = root + Leading(rest, i);
      if (!EnsureSeparator(folder, kPathBufferSize)) return false;
      if (IsFolder(folder)) {
        deepestExisting = folder;
      } else if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        RollBack(folder, deepestExisting);
        return false;
      }
    }
    ++i;
  }
  return true;
}
