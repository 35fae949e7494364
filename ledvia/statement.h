// A prepared SQLite statement owned for its lifetime: the cursors of the business core keep
// one open while the program walks, so memory stays flat however many rows there are.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ledvia {

class Statement {
 public:
  // Prepares `sql` on `db`; a null `db` or a bad statement leaves it not ok().
  Statement(sqlite3* db, const std::string& sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  bool ok() const { return stmt_ != nullptr; }
  // The failure code for a statement that could not be prepared.
  int PrepareCode() const { return prepareCode_; }

  void BindInt(int index, std::int64_t value);
  void BindReal(int index, double value);
  void BindText(int index, std::string_view text);
  void BindBlob(int index, std::string_view bytes);
  // Binds values to ?first, ?first+1, ...
  void BindAll(int first, const std::vector<std::int64_t>& values);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Step reduced to the library convention: 0 row, kEndOfData, or a failure code (kBadData
  // when a SUM left 64 bits). Once the rows are exhausted it keeps answering kEndOfData until
  // Reset, so a cursor never starts over by itself.
  int StepStatus();
  // Back to before the first row; the bound values stay.
  void Reset();

  std::int64_t Int(int column) const;
  // The column as an exact 64-bit integer, NULL as 0. False for anything else: SQLite turns a
  // sum or a tax-included figure that leaves 64 bits into a real number, which Int would clamp.
  bool ExactInt(int column, std::int64_t* value) const;
  // Text or blob bytes of a column (no terminator).
  std::string Bytes(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int prepareCode_ = 0;
  bool exhausted_ = false;
};

// Copies `bytes` into a fixed text field of `size` bytes, cutting so that a NUL always fits and
// never in the middle of a code page 932 double-byte character.
void CopyTextField(char* field, std::size_t size, std::string_view bytes);

}  // namespace ledvia
