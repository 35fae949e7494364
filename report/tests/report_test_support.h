// Test support for the report writers: an output device that records lines and can fail at
// a chosen write, the fixtures of the golden files, and a reader that parses a produced file
// with libxml2 (declared Shift_JIS).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "aggregate/tax_totals.h"
#include "report/report_context.h"
#include "report/report_output.h"

namespace reporttest {

// Records every write. Write number `failAt` (0-based) fails, once, like a disk that fills up
// and is freed again; writes after Close fail.
class RecordingOutput : public ReportOutput {
 public:
  explicit RecordingOutput(int failAt = -1) : failAt_(failAt) {}
  bool Open(const char* path) override;
  bool Write(std::string_view bytes) override;
  // The flush counts as one more attempt, after the lines.
  bool Flush() override { return attempts++ != failAt_ && open_; }
  void Close() override { open_ = false; }
  bool IsOpen() const { return open_; }

  std::vector<std::string> lines;
  int attempts = 0;
  std::string openedPath;

 private:
  int failAt_;
  bool open_ = false;
};

std::string Joined(const std::vector<std::string>& lines);

// Journal-aggregation fixture: every amount the writers read is non-zero and distinct, and a
// function of where it is stored, so that reading a wrong offset changes the file.
struct JournalFixture {
  JournalFixture(std::uint8_t taxationKind, std::uint8_t entityKind);
  TaxTotals totals;
  ReportContext context;
};

// Saved-figures fixture: every amount the catalogue reads is non-zero and distinct, again a
// function of its offset; the refund block, class bytes, period and flags are set too.
struct SavedFixture {
  SavedFixture(std::uint8_t taxationKind, std::uint8_t entityKind);
  std::vector<unsigned char> buffer;
  ReportContext context;
};

// The common part of both contexts: program texts, company data, tax settings.
ReportContext BaseContext(std::uint8_t taxationKind, std::uint8_t entityKind);

// Fixed-point value stored at a position, distinct per position.
std::int64_t RateFigure(int slot, std::size_t offset);
std::int64_t BusinessFigure(int slot, int businessType, std::size_t offset);
std::int64_t SavedFigure(std::size_t offset);

void SetSaved(std::vector<unsigned char>& buffer, std::size_t offset, std::int64_t value);

// A linkage file parsed back with libxml2.
struct ParsedReport {
  bool ok = false;
  std::string error;
  std::vector<std::string> sections;  // children of REPORT
  // DATA: each child (group or refund section) with its elements' names and values (UTF-8).
  struct Group {
    std::string name;
    std::vector<std::pair<std::string, std::string>> elements;
  };
  std::vector<Group> data;
  int dataLeafCount = 0;  // elements inside the children of DATA
};
ParsedReport ParseReport(const std::string& bytes);

}  // namespace reporttest
