// cp932_source SRC DST FILE...: copies each FILE (relative to SRC) to DST, rewriting the
// non-ASCII characters of ordinary string and character literals of C++ sources as octal
// escapes of their code page 932 bytes. clang cannot be told to encode literals in code page
// 932 (-fexec-charset takes UTF-8 only), so the fuzzing build compiles this copy instead: its
// literals are the same bytes the regular build's -fexec-charset=CP932 gives. Comments,
// u8/u/U/L literals and raw strings are left as they are. A file is written only when its
// content changes, so the build stays incremental.
#include <iconv.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

bool IsIdentifier(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool ToCp932(const std::string& utf8, std::string* out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string buffer(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = buffer.data();
  std::size_t dstLeft = buffer.size();
  bool ok = iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  out->assign(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
  return ok;
}

// The source with the literals rewritten; false (with a message) when a literal cannot be.
bool Transcode(const std::string& in, std::string* out, const std::string& name) {
  std::size_t i = 0;
  auto literal = [&](char quote) {
    out->push_back(quote);
    ++i;
    while (i < in.size() && in[i] != quote && in[i] != '\n') {
      if (in[i] == '\\' && i + 1 < in.size()) {
        out->append(in, i, 2);
        i += 2;
        continue;
      }
      if (static_cast<unsigned char>(in[i]) < 0x80) {
        out->push_back(in[i++]);
        continue;
      }
      std::size_t end = i;
      while (end < in.size() && static_cast<unsigned char>(in[end]) >= 0x80) ++end;
      std::string bytes;
      if (!ToCp932(in.substr(i, end - i), &bytes)) {
        std::fprintf(stderr, "%s: no code page 932 form for a literal\n", name.c_str());
        return false;
      }
      for (unsigned char b : bytes) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\%03o", b);
        out->append(escape);
      }
      i = end;
    }
    if (i < in.size() && in[i] == quote) out->push_back(in[i++]);
    return true;
  };
  while (i < in.size()) {
    char c = in[i];
    if (c == '/' && i + 1 < in.size() && in[i + 1] == '/') {
      std::size_t end = in.find('\n', i);
      end = end == std::string::npos ? in.size() : end;
      out->append(in, i, end - i);
      i = end;
    } else if (c == '/' && i + 1 < in.size() && in[i + 1] == '*') {
      std::size_t end = in.find("*/", i + 2);
      end = end == std::string::npos ? in.size() : end + 2;
      out->append(in, i, end - i);
      i = end;
    } else if (c == '"' || c == '\'') {
      std::size_t start = i;
      while (start > 0 && IsIdentifier(in[start - 1])) --start;
      std::string prefix = in.substr(start, i - start);
      if (c == '\'' && !prefix.empty() &&
          !(prefix == "u8" || prefix == "u" || prefix == "U" || prefix == "L")) {
        out->push_back(in[i++]);  // a digit separator
      } else if (c == '"' && !prefix.empty() && prefix.back() == 'R' &&
                 (prefix == "R" || prefix == "u8R" || prefix == "uR" || prefix == "UR" ||
                  prefix == "LR")) {
        std::size_t open = in.find('(', i);
        std::string close = ")" + in.substr(i + 1, open - i - 1) + "\"";
        std::size_t end = in.find(close, open);
        end = end == std::string::npos ? in.size() : end + close.size();
        out->append(in, i, end - i);
        i = end;
      } else if (prefix == "u8" || prefix == "u" || prefix == "U" || prefix == "L") {
        std::size_t end = i + 1;
        while (end < in.size() && in[end] != c) end += in[end] == '\\' ? 2 : 1;
        end = std::min(end + 1, in.size());
        out->append(in, i, end - i);
        i = end;
      } else if (!literal(c)) {
        return false;
      }
    } else {
      out->push_back(c);
      ++i;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: cp932_source SRC DST FILE...\n");
    return 2;
  }
  fs::path src = argv[1], dst = argv[2];
  int failures = 0;
  for (int k = 3; k < argc; ++k) {
    std::string name = argv[k];
    std::ifstream file(src / name, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(file)), {});
    std::string ext = fs::path(name).extension().string();
    std::string result;
    if (ext == ".cpp" || ext == ".h") {
      if (!Transcode(content, &result, name)) {
        ++failures;
        continue;
      }
    } else {
      result = content;
    }
    fs::path target = dst / name;
    std::ifstream old(target, std::ios::binary);
    if (old && std::string((std::istreambuf_iterator<char>(old)), {}) == result) continue;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << result;
  }
  return failures == 0 ? 0 : 1;
}
