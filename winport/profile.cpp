#include "winport/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "winport/cp932.h"
#include "winport/cp932_case.h"
#include "winport/drive_map.h"
#include "winport/encoding.h"
#include "winport/files.h"
#include "winport/windows_path.h"

namespace {

struct Entry {
  std::string name;
  std::optional<std::string> value;  // none for a line without '='
};

struct Section {
  std::string name;
  std::vector<Entry> entries;
};

// The blanks Windows trims around names and values; Ctrl-Z counts, as old editors left it.
bool IsBlank(char c) { return c != '\0' && std::strchr(" \t\r\n\v\f\x1a", c) != nullptr; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// Lines end at CR or LF (neither can be the second byte of a double-byte character). Lines
// before the first section belong to a nameless one, which the section list leaves out.
std::vector<Section> Parse(std::string_view text) {
  std::vector<Section> sections(1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() == '[') {
      // The name runs to the last ']' (a second byte 0x5D of a kanji is not one), without the
      // blanks inside the brackets; a line with no ']' is read as a key line, as Windows does.
      std::size_t close = winport::cp932::FindLastChar(line, ']');
      if (close != std::string_view::npos) {
        sections.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}});
        continue;
      }
    }
    Entry entry;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      entry.name = std::string(line);
    } else {
      entry.name = std::string(TrimRight(line.substr(0, eq)));
      entry.value = std::string(TrimLeft(line.substr(eq + 1)));
    }
    sections.back().entries.push_back(std::move(entry));
  }
  return sections;
}

// One pair of enclosing quotes, double or single, is not part of the value.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The folder where Windows looks for a profile given by a bare file name.
std::string WindowsFolder() {
  const char* configured = std::getenv("WINPORT_WINDIR");
  if (configured != nullptr && *configured != '\0') {
    if (configured[0] == '/') {
      if (auto mapped = winport::CurrentDriveMap().ToWindows(configured)) return *mapped;
    } else if (auto text = winport::Utf8ToCp932Exact(configured)) {
      return *text;
    }
  }
  return "C:\\windows";
}

// The profile's text, or nullopt with the Win32 error that reading it met.
std::optional<std::string> ReadProfile(LPCSTR fileName, DWORD* error) {
  if (fileName != nullptr && *fileName == '\0') {
    *error = ERROR_ACCESS_DENIED;  // an empty name is refused; only nullptr means "win.ini"
    return std::nullopt;
  }
  std::string name = fileName != nullptr ? fileName : "win.ini";
  // A bare name is never looked for in the current directory: Windows takes it from the
  // Windows folder. A name with any folder in it is relative to the current directory.
  if (winport::cp932::FindChar(name, '\\') == std::string::npos &&
      name.find_first_of("/:") == std::string::npos) {
    name = WindowsFolder() + "\\" + name;
  }
  std::optional<std::string> linuxPath = winport::WindowsPathToLinux(name.c_str(), error);
  if (!linuxPath) return std::nullopt;
  // Non-blocking, so that a named pipe put where the profile should be cannot hold the
  // program up; anything but a regular file is refused before a byte is read.
  int fd = open(linuxPath->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    *error = winport::FileErrorFromErrno(errno, *linuxPath);
    return std::nullopt;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    *error = ERROR_ACCESS_DENIED;
    return std::nullopt;
  }
  std::string text;
  char chunk[4096];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  // A profile saved as UTF-8 or UTF-16 with a byte-order mark is read as such, as Windows
  // does; characters without a code page 932 form become '?'.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) return winport::Utf8ToCp932(text.substr(3));
  if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) {
    return winport::Utf16ToCp932(std::string_view(text).substr(2), text[0] == '\xFE');
  }
  return text;
}

// Copies one text, cut to size-1 bytes without splitting a double-byte character.
DWORD CopyText(std::string_view text, LPSTR buffer, DWORD size) {
  std::size_t n = winport::cp932::CutLength(text, size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// Copies a list of NUL-terminated names followed by one more NUL. When the list with its
// final NUL does not leave a byte to spare, it counts as not fitting, as on Windows: the last
// name is cut and the list still ends with two NULs; the result is then the bytes before those.
DWORD CopyList(const std::string& list, LPSTR buffer, DWORD size) {
  if (list.size() + 2 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t n = winport::cp932::CutLength(list, size - 2);
  std::memcpy(buffer, list.data(), n);
  buffer[n] = '\0';
  buffer[n + 1] = '\0';
  return static_cast<DWORD>(n);
}

// The empty name means the lines before the first section; a section headed "[]" (or "[ ]")
// is never found and never listed.
const Section* FindSection(const std::vector<Section>& sections, std::string_view name) {
  if (name.empty()) return &sections[0];
  for (std::size_t i = 1; i < sections.size(); ++i) {
    if (winport::cp932::EqualsIgnoreCase(sections[i].name, name)) return &sections[i];
  }
  return nullptr;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR fileName) {
  if (buffer == nullptr || size == 0) return 0;
  DWORD error = ERROR_SUCCESS;
  std::optional<std::string> text = ReadProfile(fileName, &error);
  if (!text) SetLastError(error);
  std::vector<Section> sections = Parse(text.value_or(""));

  std::string_view fallback = defaultText != nullptr ? defaultText : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  fallback = Unquote(fallback);

  if (section == nullptr) {
    std::string list;
    for (std::size_t i = 1; i < sections.size(); ++i) {
      if (!sections[i].name.empty()) list += sections[i].name + '\0';
    }
    return CopyList(list, buffer, size);
  }
  const Section* found = FindSection(sections, Trim(section));
  if (key == nullptr) {
    std::string list;
    if (found) {
      for (const Entry& entry : found->entries) {
        // Only keys with a value are listed; comment lines are kept as entries (a key named
        // ";x" can be read) but never listed. A key with an empty name is listed as an empty
        // name, which ends the list for any reader.
        if (!entry.value || (!entry.name.empty() && entry.name.front() == ';')) continue;
        list += entry.name + '\0';
      }
    }
    // A list that reads as empty (no keys, or an empty name first) gives the default.
    if (list.empty() || list.front() == '\0') return CopyText(fallback, buffer, size);
    return CopyList(list, buffer, size);
  }
  std::string_view wanted = Trim(key);
  if (found) {
    for (const Entry& entry : found->entries) {
      if (!winport::cp932::EqualsIgnoreCase(entry.name, wanted)) continue;
      // The first line of the key decides, even a line without '=', which reads as missing.
      if (entry.value) return CopyText(Unquote(*entry.value), buffer, size);
      break;
    }
  }
  return CopyText(fallback, buffer, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
  // Windows reads the value through a 30-character buffer, then converts it as the system's
  // RtlCharToInteger does with base 0.
  char text[30];
  if (GetPrivateProfileStringA(section, key, "", text, sizeof text, fileName) == 0) {
    return static_cast<UINT>(defaultValue);
  }
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != '\0' && *p <= ' ') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  unsigned base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
    base = p[1] == 'x' ? 16 : (p[1] == 'o' ? 8 : 2);
    p += 2;
  }
  UINT total = 0;
  for (; *p != '\0'; ++p) {
    unsigned digit;
    if (*p >= '0' && *p <= '9') {
      digit = *p - '0';
    } else if (*p >= 'a' && *p <= 'z') {
      digit = *p - 'a' + 10;
    } else if (*p >= 'A' && *p <= 'Z') {
      digit = *p - 'A' + 10;
    } else {
      break;
    }
    if (digit >= base) break;
    total = total * base + digit;  // wraps modulo 2^32, as the system's conversion does
  }
  return negative ? 0u - total : total;
}
