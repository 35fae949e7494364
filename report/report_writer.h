// ReportWriter: writes the linkage file line by line, each line with a single write, straight
// to the output; no document is kept in memory. Lines end in CR LF and are indented with one
// tab per depth level. Text is code page 932 bytes and is written unchanged, apart from the
// escaping of values.
#pragma once

#include <string>
#include <string_view>

#include "report/report_output.h"

// The declaration line every linkage file starts with, CR LF included.
inline constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

// Escapes the five XML special characters (& > < " ') of a value, byte by byte; a code page 932
// second byte never takes their values, so double-byte text passes unchanged. A control
// character XML cannot hold (below 0x20 except tab, LF and CR) becomes a blank, and what is no
// character of code page 932 the replacement character (cp932::ReplaceMalformed). Any length.
std::string EscapeText(std::string_view text);

class ReportWriter {
 public:
  ReportWriter() = default;
  // Closes the output if it is still attached.
  ~ReportWriter();
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // Attaches `file` (not owned) and opens it on `path` (create or truncate, no sharing).
  // Returns 0 after the attempt, also when the open failed (the first write then fails);
  // -1 when the file or the path is missing.
  int Open(ReportOutput* file, const char* path);

  // Writes text as it is, in one write. 1 written; 0 failed: the output is then closed (it
  // stays attached) so every later line fails too.
  int WriteRaw(std::string_view text);

  // Each builds one whole line and writes it with WriteRaw: 1 written, 0 failed. Attributes
  // are written only when both name and value are given; values are escaped, names are not.
  int WriteStartTag(std::string_view name, int depth, const char* attr1Name = nullptr,
                    const char* attr1Value = nullptr, const char* attr2Name = nullptr,
                    const char* attr2Value = nullptr);
  // An empty value gives a start tag directly followed by the end tag, never <X/>.
  int WriteElement(std::string_view name, std::string_view value, int depth,
                   const char* attr1Name = nullptr, const char* attr1Value = nullptr,
                   const char* attr2Name = nullptr, const char* attr2Value = nullptr);
  int WriteEndTag(std::string_view name, int depth);

  // Puts the lines on the disk (ReportOutput::Flush): 1 done, 0 failed (also after a failed
  // line).
  int Flush();
  // Closes and detaches the output. Returns 0.
  int Close();

  const std::string& path() const { return path_; }

 private:
  void BeginLine(int depth, char opener);
  void AppendAttributes(const char* attr1Name, const char* attr1Value, const char* attr2Name,
                        const char* attr2Value);

  ReportOutput* file_ = nullptr;
  bool failed_ = false;
  std::string path_;
  std::string line_;  // reused for every line; grows to fit, so nothing is ever cut
};
