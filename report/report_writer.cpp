#include "report/report_writer.h"

#include "winport/cp932.h"

std::string EscapeText(std::string_view text) {
  // A value that is not well-formed code page 932 (a product name read from a damaged file)
  // would make the whole file unreadable as Shift_JIS; a pair is copied whole below, so the
  // byte-by-byte escaping never touches a second byte.
  const std::string characters = winport::cp932::ReplaceMalformed(text);
  std::string escaped;
  escaped.reserve(characters.size());
  for (char c : characters) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        // XML 1.0 has no way to carry the other control characters, not even as references,
        // and a reader refuses the whole file over one of them (a company name can hold
        // anything its user typed): each becomes a blank.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          escaped += ' ';
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

ReportWriter::~ReportWriter() { Close(); }

int ReportWriter::Open(ReportOutput* file, const char* path) {
  if (file == nullptr || path == nullptr) return -1;
  path_ = path;
  file_ = file;
  failed_ = false;
  // The result is not reported: an output that did not open fails its first write.
  file_->Open(path);
  return 0;
}

int ReportWriter::WriteRaw(std::string_view text) {
  if (file_ == nullptr || failed_) return 0;
  if (file_->Write(text)) return 1;
  // Closed but still attached: every later line fails, even if the disk has room again.
  file_->Close();
  failed_ = true;
  return 0;
}

void ReportWriter::BeginLine(int depth, char opener) {
  line_.assign(depth > 0 ? static_cast<std::size_t>(depth) : 0, '\t');
  line_ += '<';
  if (opener != 0) line_ += opener;
}

void ReportWriter::AppendAttributes(const char* attr1Name, const char* attr1Value,
                                    const char* attr2Name, const char* attr2Value) {
  if (attr1Name == nullptr || attr1Value == nullptr) return;
  const char* names[] = {attr1Name, attr2Name};
  const char* values[] = {attr1Value, attr2Value};
  for (int i = 0; i < 2 && names[i] != nullptr && values[i] != nullptr; ++i) {
    line_ += ' ';
    line_ += names[i];
    line_ += "=\"";
    line_ += EscapeText(values[i]);
    line_ += '"';
  }
}

int ReportWriter::WriteStartTag(std::string_view name, int depth, const char* attr1Name,
                                const char* attr1Value, const char* attr2Name,
                                const char* attr2Value) {
  BeginLine(depth, 0);
  line_ += name;
  AppendAttributes(attr1Name, attr1Value, attr2Name, attr2Value);
  line_ += ">\r\n";
  return WriteRaw(line_);
}

int ReportWriter::WriteElement(std::string_view name, std::string_view value, int depth,
                               const char* attr1Name, const char* attr1Value, const char* attr2Name,
                               const char* attr2Value) {
  BeginLine(depth, 0);
  line_ += name;
  AppendAttributes(attr1Name, attr1Value, attr2Name, attr2Value);
  line_ += '>';
  line_ += EscapeText(value);
  line_ += "</";
  line_ += name;
  line_ += ">\r\n";
  return WriteRaw(line_);
}

int ReportWriter::WriteEndTag(std::string_view name, int depth) {
  BeginLine(depth, '/');
  line_ += name;
  line_ += ">\r\n";
  return WriteRaw(line_);
}

int ReportWriter::Flush() { return file_ != nullptr && !failed_ && file_->Flush() ? 1 : 0; }

int ReportWriter::Close() {
  if (file_ != nullptr) file_->Close();
  file_ = nullptr;
  return 0;
}
