// CSV as RFC 4180 writes it (fields separated by commas, quoted with '"' when they hold a
// comma, a quote or a line break, a quote inside doubled), read one record at a time so that a
// file of any length needs only the memory of its longest record. Lines may end in CRLF or LF.
//
// The text of a file is UTF-8 (with or without a byte-order mark) or Shift_JIS (code page
// 932), told apart by its bytes; the fields come out as code page 932, the program's own
// text. Each field knows the line and character column where it starts, so that a person can
// be pointed at the place.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace ledvia {

struct CsvField {
  std::string text;  // code page 932
  int line = 0;      // physical line of the field's first character, from 1
  int column = 0;    // character column there, from 1
};

struct CsvRecord {
  std::vector<CsvField> fields;
  int line = 0;  // physical line where the record starts
  // The first problem of the record (its fields are then not to be used); empty when none.
  std::string error;
  int errorLine = 0;
  int errorColumn = 0;
};

class CsvReader {
 public:
  // Longest field taken: a longer one is an unbalanced quote far more often than a real field,
  // and reading on would hold the rest of the file in memory.
  static constexpr std::size_t kMaxField = 1 << 20;

  // Reads from `in`, which must outlive the reader.
  explicit CsvReader(std::istream& in);

  // The next record into `*record`; false at the end of the input. A record with an error is
  // returned like any other (with `error` set), and reading goes on at the next record, except
  // after a quote that is never closed or a field too long, which end the input. Empty lines
  // are no records.
  bool Next(CsvRecord* record);

  // "UTF-8", "Shift_JIS", or "" while only ASCII has been read.
  const char* Encoding() const;

 private:
  enum class Text { kUnknown, kUtf8, kShiftJis };
  struct RawField {
    std::string bytes;
    int line = 0;
    int utf8Column = 0;  // the column as counted for each encoding; one of them is the answer
    int sjisColumn = 0;
  };

  bool Fill();
  int Get();
  void Count(int c);
  bool ReadRaw(CsvRecord* record);
  void Decode(CsvRecord* record);

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
  bool atStart_ = true;
  bool finished_ = false;
  Text text_ = Text::kUnknown;
  int decidedLine_ = 0;  // the line whose bytes decided the encoding
  int line_ = 1;
  int utf8Column_ = 1;
  int sjisColumn_ = 1;
  bool sjisTrail_ = false;  // the next byte is the second of a Shift_JIS pair
  int byteLine_ = 1;        // the position of the byte read last
  int byteUtf8Column_ = 1;
  int byteSjisColumn_ = 1;
  std::vector<RawField> raw_;
  std::size_t rawCount_ = 0;  // fields of raw_ in use; the rest keep their capacity
};

// Appends `field` to `*line` as RFC 4180 writes it: quoted only when it holds a comma, a quote,
// a CR or an LF, or begins or ends with a space.
void AppendCsvField(std::string* line, std::string_view field);

// Whether `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

}  // namespace ledvia
