// The CSV reader of ledvia-db import: any bytes as a file, and any field list written as
// RFC 4180 writes it. Every record and every problem names a line the input has, in order, at
// a column from 1; a field list written by AppendCsvField reads back as the same fields.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "ledvia/csv_file.h"
#include "winport/encoding.h"

using fuzzsupport::Require;

namespace {

std::vector<std::vector<std::string>> ReadAll(const std::string& text, int* lastLine, bool* bad) {
  std::istringstream in(text);
  ledvia::CsvReader reader(in);
  ledvia::CsvRecord record;
  std::vector<std::vector<std::string>> records;
  int lines = 1;
  for (char c : text) lines += c == '\n';
  *bad = false;
  while (reader.Next(&record)) {
    Require(record.line >= *lastLine && record.line <= lines);
    *lastLine = record.line;
    if (!record.error.empty()) {
      Require(record.errorLine >= record.line && record.errorLine <= lines);
      Require(record.errorColumn >= 1);
      *bad = true;
      continue;
    }
    std::vector<std::string> fields;
    for (const ledvia::CsvField& field : record.fields) {
      Require(field.line >= record.line && field.line <= lines && field.column >= 1);
      Require(field.text.size() <= ledvia::CsvReader::kMaxField);
      fields.push_back(field.text);
    }
    records.push_back(fields);
  }
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int lastLine = 1;
  bool bad = false;
  ReadAll(text, &lastLine, &bad);

  // The input as a field list: byte 0x01 ends a field, 0x02 a record. Fields that are UTF-8
  // with a Shift_JIS form are written as UTF-8 behind a byte-order mark and must come back as
  // that Shift_JIS text; a record of one empty field would be an empty line, which is none.
  std::vector<std::vector<std::string>> expected(1, std::vector<std::string>(1));
  for (char c : text) {
    if (c == '\x01') {
      expected.back().emplace_back();
    } else if (c == '\x02') {
      expected.emplace_back(1);
    } else {
      expected.back().back().push_back(c);
    }
  }
  std::string file = "\xEF\xBB\xBF";
  std::vector<std::vector<std::string>> kept;
  for (const std::vector<std::string>& record : expected) {
    if (record.size() == 1 && record[0].empty()) continue;
    std::vector<std::string> cp932;
    std::string line;
    for (const std::string& field : record) {
      std::optional<std::string> converted =
          ledvia::IsUtf8(field) ? winport::Utf8ToCp932Exact(field) : std::nullopt;
      if (!converted) break;
      cp932.push_back(*converted);
      if (!line.empty() || cp932.size() > 1) line += ',';
      ledvia::AppendCsvField(&line, field);
    }
    if (cp932.size() != record.size()) continue;
    file += line + "\r\n";
    kept.push_back(cp932);
  }
  lastLine = 1;
  std::vector<std::vector<std::string>> back = ReadAll(file, &lastLine, &bad);
  Require(!bad && back == kept);
  return 0;
}
