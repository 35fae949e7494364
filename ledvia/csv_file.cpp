#include "ledvia/csv_file.h"

#include <optional>

#include "winport/cp932.h"
#include "winport/encoding.h"

namespace ledvia {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

bool IsAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsShiftJis(std::string_view bytes) { return winport::Cp932ToUtf8Exact(bytes).has_value(); }

}  // namespace

bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int more = 0;
    unsigned int low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      if (c == 0xE0) low = 0xA0;   // overlong
      if (c == 0xED) high = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      if (c == 0xF0) low = 0x90;   // overlong
      if (c == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
      return false;
    }
    if (i + more >= bytes.size()) return false;
    for (int k = 1; k <= more; ++k) {
      unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if (k == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return false;
    }
    i += more + 1;
  }
  return true;
}

void AppendCsvField(std::string* line, std::string_view field) {
  bool quote = !field.empty() && (field.front() == ' ' || field.back() == ' ');
  for (char c : field) {
    if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
  }
  if (!quote) {
    line->append(field);
    return;
  }
  line->push_back('"');
  for (char c : field) {
    if (c == '"') line->push_back('"');
    line->push_back(c);
  }
  line->push_back('"');
}

CsvReader::CsvReader(std::istream& in) : in_(in), buffer_(kBufferSize) {}

const char* CsvReader::Encoding() const {
  switch (text_) {
    case Text::kUtf8:
      return "UTF-8";
    case Text::kShiftJis:
      return "Shift_JIS";
    default:
      return "";
  }
}

// Whether a byte is there to read, reading the next block when the buffer is used up.
bool CsvReader::Fill() {
  if (at_ < end_) return true;
  if (finished_) return false;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  end_ = static_cast<std::size_t>(in_.gcount());
  at_ = 0;
  if (atStart_ && end_ > 0) {
    atStart_ = false;
    // A byte-order mark says UTF-8 and is no part of the text.
    if (end_ >= 3 && buffer_[0] == '\xEF' && buffer_[1] == '\xBB' && buffer_[2] == '\xBF') {
      at_ = 3;
      text_ = Text::kUtf8;
      return Fill();
    }
  }
  if (end_ == 0) finished_ = true;
  return end_ > 0;
}

// The next byte (0 to 255), or -1 at the end; the position moves past it.
int CsvReader::Get() {
  if (!Fill()) return -1;
  int c = static_cast<unsigned char>(buffer_[at_++]);
  // Where this byte stands is where a character starting with it stands, in either encoding.
  byteLine_ = line_;
  byteUtf8Column_ = utf8Column_;
  byteSjisColumn_ = sjisColumn_;
  Count(c);
  return c;
}

// Keeps the line and the character column of the next byte, counted both ways, since the
// encoding may be known only later in the line.
void CsvReader::Count(int c) {
  if (c == '\n') {
    ++line_;
    utf8Column_ = sjisColumn_ = 1;
    sjisTrail_ = false;
    return;
  }
  if ((c & 0xC0) != 0x80) ++utf8Column_;
  if (sjisTrail_) {
    sjisTrail_ = false;
  } else {
    ++sjisColumn_;
    sjisTrail_ = winport::cp932::IsLeadByte(static_cast<unsigned char>(c));
  }
}

bool CsvReader::ReadRaw(CsvRecord* record) {
  rawCount_ = 0;
  record->error.clear();
  int c = Get();
  while (c == '\n' || c == '\r') c = Get();  // empty lines
  if (c < 0) return false;
  // The position of the byte just read, which a field or an error starts at.
  auto here = [this](int* line, int* utf8, int* sjis) {
    *line = byteLine_;
    *utf8 = byteUtf8Column_;
    *sjis = byteSjisColumn_;
  };
  int utf8 = 0, sjis = 0;
  auto fail = [&](const std::string& reason, int line, int utf8Col, int sjisCol) {
    if (!record->error.empty()) return;
    record->error = reason;
    record->errorLine = line;
    // The record is not decoded, so the column follows the encoding known so far.
    record->errorColumn = text_ == Text::kShiftJis ? sjisCol : utf8Col;
  };
  record->line = line_;
  for (;;) {
    if (rawCount_ == raw_.size()) raw_.emplace_back();
    RawField& field = raw_[rawCount_++];
    field.bytes.clear();
    here(&field.line, &field.utf8Column, &field.sjisColumn);
    if (c == '"') {
      for (;;) {
        c = Get();
        if (c < 0) {
          fail("the quote opened here is never closed", field.line, field.utf8Column,
               field.sjisColumn);
          return true;
        }
        if (c == '"') {
          c = Get();
          if (c != '"') break;
        }
        if (field.bytes.size() >= kMaxField) {
          fail("a field longer than 1 MiB (a quote never closed?)", field.line, field.utf8Column,
               field.sjisColumn);
          finished_ = true;
          at_ = end_;
          return true;
        }
        field.bytes.push_back(static_cast<char>(c));
      }
      if (c != ',' && c != '\n' && c != '\r' && c >= 0) {
        int line = 0;
        here(&line, &utf8, &sjis);
        fail("text after a closing quote (a quote inside a field is written twice)", line, utf8,
             sjis);
        while (c >= 0 && c != '\n' && c != '\r') c = Get();
      }
    } else {
      while (c >= 0 && c != ',' && c != '\n' && c != '\r') {
        if (c == '"') {
          int line = 0;
          here(&line, &utf8, &sjis);
          fail("a quote inside a field that does not begin with one", line, utf8, sjis);
        }
        if (field.bytes.size() >= kMaxField) {
          fail("a field longer than 1 MiB", field.line, field.utf8Column, field.sjisColumn);
          finished_ = true;
          at_ = end_;
          return true;
        }
        field.bytes.push_back(static_cast<char>(c));
        c = Get();
      }
    }
    if (c == ',') {
      c = Get();
      continue;
    }
    // CRLF is one line end; a CR alone ends the line as well.
    if (c == '\r' && Fill() && buffer_[at_] == '\n') Get();
    return true;
  }
}

void CsvReader::Decode(CsvRecord* record) {
  record->fields.resize(rawCount_);
  bool ascii = true;
  for (std::size_t i = 0; i < rawCount_; ++i) ascii = ascii && IsAscii(raw_[i].bytes);
  if (!ascii && text_ == Text::kUnknown && record->error.empty()) {
    // The first line with other than ASCII decides the encoding of the file.
    bool utf8 = true, sjis = true;
    for (std::size_t i = 0; i < rawCount_; ++i) {
      utf8 = utf8 && IsUtf8(raw_[i].bytes);
      sjis = sjis && IsShiftJis(raw_[i].bytes);
    }
    if (utf8 || sjis) {
      text_ = utf8 ? Text::kUtf8 : Text::kShiftJis;
      decidedLine_ = record->line;
    }
  }
  for (std::size_t i = 0; i < rawCount_; ++i) {
    const RawField& raw = raw_[i];
    CsvField& field = record->fields[i];
    field.line = raw.line;
    field.column = text_ == Text::kShiftJis ? raw.sjisColumn : raw.utf8Column;
    auto fail = [&](const std::string& reason) {
      if (!record->error.empty()) return;
      record->error = reason;
      record->errorLine = field.line;
      record->errorColumn = field.column;
    };
    if (IsAscii(raw.bytes)) {
      field.text = raw.bytes;
      continue;
    }
    std::string since = decidedLine_ == 0 ? std::string("the byte-order mark says")
                                          : "line " + std::to_string(decidedLine_) + " is";
    if (text_ == Text::kUnknown) {
      fail("text neither UTF-8 nor Shift_JIS");
    } else if (text_ == Text::kUtf8) {
      std::optional<std::string> cp932;
      if (!IsUtf8(raw.bytes)) {
        fail("text not in UTF-8, which " + since + " (one file, one encoding)");
      } else if (!(cp932 = winport::Utf8ToCp932Exact(raw.bytes))) {
        fail("a character Shift_JIS (code page 932) lacks");
      } else {
        field.text = std::move(*cp932);
      }
    } else if (!IsShiftJis(raw.bytes)) {
      fail("text not in Shift_JIS, which " + since + " (one file, one encoding)");
    } else {
      field.text = raw.bytes;
    }
  }
}

bool CsvReader::Next(CsvRecord* record) {
  if (!ReadRaw(record)) return false;
  Decode(record);
  return true;
}

}  // namespace ledvia
