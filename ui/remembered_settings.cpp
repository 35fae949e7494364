#include "ui/remembered_settings.h"

#include <new>
#include <string_view>
#include <utility>

#include "accounting/ClFileMgr.h"
#include "ui/folder_chain.h"
#include "ui/whole_file.h"
#include "winport/cfile.h"
#include "winport/crt.h"

namespace {

// A rewrite takes milliseconds; an instance that still holds the lock after this long is stuck.
constexpr DWORD kLockWaitMilliseconds = 20000;
// A reader does not wait that long for a stuck writer: the dialog waits for it.
constexpr DWORD kReadLockWaitMilliseconds = 200;
constexpr std::size_t kOutputPathLimit = 260;

// Where the line after the one starting at lineStart begins (content.size() at the end).
std::size_t NextLine(std::string_view content, std::size_t lineStart) {
  std::size_t end = content.find('\n', lineStart);
  return end == std::string_view::npos ? content.size() : end + 1;
}

// The value of the line starting at lineStart: the text after the key up to the line feed.
std::string_view ValueOf(std::string_view content, std::size_t lineStart, std::size_t keySize) {
  std::size_t start = lineStart + keySize;
  std::size_t end = content.find('\n', start);
  if (end == std::string_view::npos) end = content.size();
  return content.substr(start, end - start);
}

// Text Write makes of a number: digits with an optional minus sign.
bool IsDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The offsets of the first three '/' of value; false when it has fewer. '/' (0x2F) is never
// the second byte of a double-byte character, so a byte search is safe.
bool SplitValue(std::string_view value, std::size_t (&slashes)[3]) {
  std::size_t from = 0;
  for (std::size_t& slash : slashes) {
    slash = value.find('/', from);
    if (slash == std::string_view::npos) return false;
    from = slash + 1;
  }
  return true;
}

// Whether the line starting at lineStart is the record of key. User ids may hold '/' and ':',
// so a line can begin with key and still belong to a user whose id only starts like this one
// ("user1/1/1:0" against "user1" with selection 1 and 1): it is this key's record only when
// what follows is a value as Write makes it, three decimal fields and then the path.
bool IsRecordOf(std::string_view content, std::size_t lineStart, std::string_view key) {
  if (content.substr(lineStart, key.size()) != key) return false;
  std::string_view value = ValueOf(content, lineStart, key.size());
  std::size_t slashes[3];
  return SplitValue(value, slashes) && IsDecimal(value.substr(0, slashes[0])) &&
         IsDecimal(value.substr(slashes[0] + 1, slashes[1] - slashes[0] - 1)) &&
         IsDecimal(value.substr(slashes[1] + 1, slashes[2] - slashes[1] - 1));
}

// The start of the first record of key, or npos. Only whole lines count, so a user id that
// ends another user's id never finds the other's record.
std::size_t FindRecord(std::string_view content, std::string_view key) {
  for (std::size_t line = 0; line < content.size(); line = NextLine(content, line)) {
    if (IsRecordOf(content, line, key)) return line;
  }
  return std::string_view::npos;
}

// content without the records of key; every other byte stays, in its order. All of them go,
// not just the first: a leftover would be found before the record written last.
std::string WithoutRecord(std::string_view content, std::string_view key) {
  std::string kept;
  kept.reserve(content.size());
  for (std::size_t line = 0; line < content.size();) {
    std::size_t next = NextLine(content, line);
    if (!IsRecordOf(content, line, key)) kept.append(content.substr(line, next - line));
    line = next;
  }
  return kept;
}

// A decimal field as the C runtime converts it: text that is not a number gives 0.
long Number(std::string_view text) { return winport::Atol(std::string(text).c_str()); }

}  // namespace

RememberedSettings::RememberedSettings(std::string userId, std::int32_t firstNo,
                                       std::int32_t secondNo, std::string fileName,
                                       std::optional<std::string> folder)
    : userId_(std::move(userId)),
      firstNo_(firstNo),
      secondNo_(secondNo),
      folder_(std::move(folder)),
      fileName_(std::move(fileName)) {}

std::string RememberedSettings::Key() const {
  return userId_ + "/" + std::to_string(firstNo_) + "/" + std::to_string(secondNo_) + ":";
}

std::string RememberedSettings::Folder() const {
  if (folder_) return *folder_;
  return ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::FOLDER_SETTINGS);
}

std::optional<RememberedRecord> RememberedSettings::Read() try {
  const std::string folder = Folder();
  if (folder.empty()) return std::nullopt;
  const std::string path = folder + fileName_;
  CFileStatus status;
  if (!CFile::GetStatus(path.c_str(), status) || (status.m_attribute & CFile::directory)) {
    return std::nullopt;
  }
  // A reader takes the lock only so that its open file never makes a writer's rename fail.
  // Where the lock file cannot be made (a folder one may read but not write, a lock file of
  // another user) no writer can replace the file either, and a holder that does not let go
  // within a moment is stuck: either way the record is read without the lock rather than lost.
  FileLock lock;
  (void)lock.Acquire(path + ".lock", kReadLockWaitMilliseconds);
  std::string content;
  if (ReadWholeFile(path, &content) != WholeFileRead::kRead) return std::nullopt;

  const std::string key = Key();
  std::size_t line = FindRecord(content, key);
  if (line == std::string::npos) return std::nullopt;
  std::string_view value = ValueOf(content, line, key.size());
  std::size_t slashes[3];
  SplitValue(value, slashes);
  const std::size_t first = slashes[0];
  const std::size_t second = slashes[1];
  const std::size_t third = slashes[2];

  RememberedRecord record;
  record.method = static_cast<std::int32_t>(Number(value.substr(0, first)));
  record.startMonth =
      static_cast<std::int16_t>(Number(value.substr(first + 1, second - first - 1)));
  record.endMonth = static_cast<std::int16_t>(Number(value.substr(second + 1, third - second - 1)));
  rememberedPath_ = std::string(value.substr(third + 1));
  // A path cut to fit the buffer would name another file; the dialog proposes its default.
  if (rememberedPath_.size() <= kOutputPathLimit) record.outputPath = rememberedPath_;
  return record;
} catch (const std::bad_alloc&) {
  return std::nullopt;
}

bool RememberedSettings::Write(std::int16_t startMonth, std::int16_t endMonth,
                               const char* outputPath, std::int32_t method) try {
  const std::string key = Key();
  const std::string path = outputPath != nullptr ? std::string(outputPath) : rememberedPath_;
  if (key.find('\n') != std::string::npos || path.find('\n') != std::string::npos) return false;
  const std::string line = key + std::to_string(method) + "/" + std::to_string(startMonth) + "/" +
                           std::to_string(endMonth) + "/" + path + "\n";

  const std::string folder = Folder();
  if (folder.empty()) return false;
  if (!IsFolder(folder) && !CreateFolderChain(folder)) return false;
  const std::string file = folder + fileName_;
  FileLock lock;
  if (!lock.Acquire(file + ".lock", kLockWaitMilliseconds)) return false;
  std::string content;
  switch (ReadWholeFile(file, &content)) {
    case WholeFileRead::kRead:
      break;
    case WholeFileRead::kMissing:
      content.clear();
      break;
    case WholeFileRead::kFailed:
      return false;  // never rewrite from content that was not read whole
  }
  std::string rewritten = WithoutRecord(content, key);
  // A last line without its line feed would otherwise run into the new record.
  if (!rewritten.empty() && rewritten.back() != '\n') rewritten.push_back('\n');
  rewritten += line;
  return ReplaceWholeFile(file, rewritten);
} catch (const std::bad_alloc&) {
  return false;
}
