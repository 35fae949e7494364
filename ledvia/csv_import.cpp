#include "ledvia/csv_import.h"

#include <fstream>
#include <map>
#include <set>
#include <unordered_set>

#include "ledvia/company_writer.h"
#include "ledvia/csv_file.h"
#include "ledvia/csv_read_ahead.h"
#include "ledvia/csv_tables.h"
#include "ledvia/csv_values.h"
#include "ledvia/status_codes.h"
#include "winport/encoding.h"

namespace ledvia {
namespace {

class Problems {
 public:
  explicit Problems(ImportResult* result) : result_(result) {}
  void Add(const std::string& file, int line, int column, const std::string& reason) {
    if (++count_ <= kMaxListedProblems) {
      result_->problems.push_back(file + ":" + std::to_string(line) + ":" + std::to_string(column) +
                                  ": " + reason);
    }
  }
  void AddFileProblem(const std::string& text) {
    if (++count_ <= kMaxListedProblems) result_->problems.push_back(text);
  }
  int count() const { return count_; }
  void Close() {
    if (count_ > kMaxListedProblems) {
      result_->problems.push_back("... and " + std::to_string(count_ - kMaxListedProblems) +
                                  " more bad lines");
    }
  }

 private:
  ImportResult* result_;
  int count_ = 0;
};

bool IsAsciiText(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return false;
  }
  return true;
}

// One CSV file read row by row through the column names of its first line. Each row's first
// problem is reported; the caller uses a row only when RowOk().
class TableReader {
 public:
  TableReader(const std::string& folder, const csv::Table& table, Problems& problems)
      : table_(table),
        problems_(problems),
        file_(folder + (!folder.empty() && folder.back() == '/' ? "" : "/") +
              std::string(table.file)),
        in_(file_, std::ios::binary),
        exists_(in_.is_open()),
        reader_(in_),
        positions_(table.columns.size(), -1) {}

  bool Exists() const { return exists_; }
  const std::string& file() const { return file_; }

  // Reads the header; false (with the problem reported) when the file cannot be used.
  bool ReadHeader() {
    if (!reader_.Next(&record_)) {
      problems_.Add(file_, 1, 1, "an empty file; its first line names the columns");
      return false;
    }
    if (!record_.error.empty()) {
      problems_.Add(file_, record_.errorLine, record_.errorColumn, record_.error);
      return false;
    }
    for (std::size_t i = 0; i < record_.fields.size(); ++i) {
      const CsvField& field = record_.fields[i];
      int found = -1;
      for (std::size_t k = 0; k < table_.columns.size(); ++k) {
        if (table_.columns[k].name == field.text) found = static_cast<int>(k);
      }
      if (found < 0 || positions_[found] >= 0) {
        std::string names;
        for (const csv::Column& column : table_.columns) names += " " + std::string(column.name);
        problems_.Add(file_, field.line, field.column,
                      (found < 0 ? "unknown column '" : "a second column '") +
                          winport::Cp932ToUtf8(field.text) + "'; the columns are" + names);
        return false;
      }
      positions_[found] = static_cast<int>(i);
    }
    width_ = record_.fields.size();
    for (std::size_t k = 0; k < table_.columns.size(); ++k) {
      if (positions_[k] < 0 && table_.columns[k].absent == nullptr) {
        problems_.Add(file_, record_.line, 1,
                      "no column '" + std::string(table_.columns[k].name) + "', which " +
                          std::string(table_.file) + " needs");
        return false;
      }
    }
    return true;
  }

  // The next row; false at the end of the file.
  bool Next() {
    if (!reader_.Next(&record_)) return false;
    rowOk_ = true;
    if (!record_.error.empty()) {
      Problem(record_.errorLine, record_.errorColumn, record_.error);
    } else if (record_.fields.size() != width_) {
      const CsvField& last = record_.fields.back();
      Problem(last.line, last.column,
              std::to_string(record_.fields.size()) + " fields where the first line names " +
                  std::to_string(width_) + " columns");
    } else {
      for (std::size_t k = 0; k < table_.columns.size() && rowOk_; ++k) {
        if (table_.columns[k].absent == nullptr && Field(k)->text.empty()) {
          Problem(k, "an empty " + std::string(table_.columns[k].name));
        }
      }
    }
    return true;
  }
  bool RowOk() const { return rowOk_; }
  int line() const { return record_.line; }

  // The field's text, or the value the column means when its field is empty or left out.
  const std::string& Text(std::size_t column) const {
    const CsvField* field = Field(column);
    if (field != nullptr && !field->text.empty()) return field->text;
    const char* absent = table_.columns[column].absent;
    absentText_ = absent == nullptr ? "" : absent;
    return absentText_;
  }
  bool Given(std::size_t column) const {
    const CsvField* field = Field(column);
    return field != nullptr && !field->text.empty();
  }

  // Reports `reason` at the column's field (the row's start when the column is left out),
  // unless the row has a problem already.
  void Problem(std::size_t column, const std::string& reason) {
    const CsvField* field = Field(column);
    if (field == nullptr) {
      Problem(record_.line, 1, reason);
    } else {
      Problem(field->line, field->column, reason);
    }
  }
  void Problem(int line, int column, const std::string& reason) {
    if (!rowOk_) return;
    rowOk_ = false;
    problems_.Add(file_, line, column, reason);
  }

  template <typename T>
  T Whole(std::size_t column, std::int64_t min, std::int64_t max, bool hex = false) {
    std::int64_t value = 0;
    if (!rowOk_) return 0;
    std::string reason = csv::ParseWhole(Text(column), min, max, &value, hex);
    if (!reason.empty()) Problem(column, Name(column) + ": " + reason);
    return static_cast<T>(value);
  }
  int Byte(std::size_t column) { return Whole<int>(column, 0, 255); }
  std::int64_t Amount(std::size_t column) {
    std::int64_t value = 0;
    if (!rowOk_) return 0;
    std::string reason = csv::ParseAmount(Text(column), &value);
    if (!reason.empty()) Problem(column, Name(column) + ": " + reason);
    return value;
  }
  int Date(std::size_t column) {
    int value = 0;
    if (!rowOk_) return 0;
    std::string reason = csv::ParseDate(Text(column), &value);
    if (!reason.empty()) Problem(column, Name(column) + ": " + reason);
    return value;
  }
  int Rate(std::size_t column) {
    int value = 0;
    if (!rowOk_) return 0;
    std::string reason = csv::ParseRate(Text(column), &value);
    if (!reason.empty()) Problem(column, Name(column) + ": " + reason);
    return value;
  }
  // Code page 932 text of at most `most` bytes; ASCII only when `ascii`.
  std::string String(std::size_t column, std::size_t most, bool ascii = false) {
    const std::string& text = Text(column);
    if (text.size() > most) {
      Problem(column, Name(column) + ": longer than " + std::to_string(most) + " bytes");
    } else if (ascii && !IsAsciiText(text)) {
      Problem(column, Name(column) + ": only ASCII letters, digits and signs");
    }
    return text;
  }
  std::string Name(std::size_t column) const { return std::string(table_.columns[column].name); }

 private:
  const CsvField* Field(std::size_t column) const {
    int at = positions_[column];
    if (at < 0 || static_cast<std::size_t>(at) >= record_.fields.size()) return nullptr;
    return &record_.fields[at];
  }

  const csv::Table& table_;
  Problems& problems_;
  std::string file_;
  std::ifstream in_;  // read by reader_'s thread alone
  bool exists_;
  CsvReadAhead reader_;
  std::vector<int> positions_;  // field of each column, -1 when left out
  std::size_t width_ = 0;
  CsvRecord record_;
  bool rowOk_ = true;
  mutable std::string absentText_;
};

std::int64_t Key(int dataNo, std::int64_t code) { return (std::int64_t{dataNo} << 32) ^ code; }

class Importer {
 public:
  Importer(const std::string& folder, CompanyWriter& writer, Problems& problems,
           ImportResult* result)
      : folder_(folder), writer_(writer), problems_(problems), result_(result) {}

  void Run() {
    Company();
    Users();
    Accounts();
    Departments();
    Journal();
    Assets();
    SavedFigures();
  }

 private:
  struct Period {
    int start = 0, end = 0;
  };

  // Opens a table; false when it is not there (reported when `required`) or its header is bad.
  bool Open(TableReader& reader, bool required) {
    if (!reader.Exists()) {
      if (required) problems_.AddFileProblem(reader.file() + ": cannot be read (no such file?)");
      return false;
    }
    return reader.ReadHeader();
  }
  // Whether writing goes on: only while every line so far was good.
  bool Writing() const { return problems_.count() == 0; }
  void Wrote(TableReader& reader, int code) {
    if (code != kOk) reader.Problem(reader.line(), 1, writer_.Error());
  }
  // The row's data number, which company.csv must have named.
  int DataOf(TableReader& reader, bool mustExist = true) {
    int dataNo = reader.Whole<int>(0, 1, 2147483647);
    if (reader.RowOk() && mustExist && periods_.count(dataNo) == 0) {
      reader.Problem(0, "data " + std::to_string(dataNo) + " is not in company.csv");
    }
    return dataNo;
  }

  void Company() {
    namespace c = csv::company;
    TableReader reader(folder_, csv::Company(), problems_);
    if (!Open(reader, true)) return;
    std::set<std::string> ids;
    while (reader.Next()) {
      DataSpec data;
      data.dataNo = DataOf(reader, false);
      data.dataId = reader.String(c::kId, 15, true);
      data.companyName = reader.String(c::kName, 79);
      data.periodStart = reader.Date(c::kPeriodStart);
      data.periodEnd = reader.Date(c::kPeriodEnd);
      data.closingDay = reader.Whole<int>(c::kClosingDay, 1, 31);
      data.interimClosing = reader.Byte(c::kInterimClosing);
      data.dataKind = reader.Byte(c::kDataKind);
      data.entityKind = reader.Byte(c::kEntityKind);
      data.incomeKinds = reader.Byte(c::kIncomeKinds);
      data.taxationKind = reader.Whole<int>(c::kTaxation, 0, 2);
      data.deductionMethod = reader.Byte(c::kDeductionMethod);
      data.roundingMode = reader.Byte(c::kRounding);
      data.mainBusinessType = reader.Byte(c::kMainBusinessType);
      data.taxInclusive = reader.Byte(c::kTaxInclusive);
      if (!reader.RowOk()) continue;
      if (periods_.count(data.dataNo) != 0) {
        reader.Problem(c::kData, "data " + std::to_string(data.dataNo) + " a second time");
      } else if (!ids.insert(data.dataId).second) {
        reader.Problem(c::kId, "id " + data.dataId + " a second time");
      } else if (data.periodEnd < data.periodStart) {
        reader.Problem(c::kPeriodEnd, "period_end before period_start");
      }
      if (!reader.RowOk()) continue;
      periods_[data.dataNo] = {data.periodStart, data.periodEnd};
      if (firstData_ == 0) firstData_ = data.dataNo;
      ++result_->data;
      if (Writing()) Wrote(reader, writer_.AddData(data));
    }
  }

  void Users() {
    namespace c = csv::users;
    TableReader reader(folder_, csv::Users(), problems_);
    if (!reader.Exists()) {
      // Without a list of users, user1 opens the first company data.
      if (Writing() && firstData_ != 0) writer_.AddUser("user1", 1, firstData_);
      return;
    }
    if (!reader.ReadHeader()) return;
    std::set<std::string> users;
    while (reader.Next()) {
      std::string user = reader.String(c::kUser, 64, true);
      int group = reader.Whole<int>(c::kGroup, -2147483647, 2147483647);
      // A user may select data the database does not hold (the program says so when started).
      int dataNo = reader.Whole<int>(c::kData, -2147483647, 2147483647);
      if (reader.RowOk() && !users.insert(user).second) {
        reader.Problem(c::kUser, "user " + user + " a second time");
      }
      if (reader.RowOk() && Writing()) Wrote(reader, writer_.AddUser(user, group, dataNo));
    }
  }

  void Accounts() {
    namespace c = csv::accounts;
    TableReader reader(folder_, csv::Accounts(), problems_);
    if (!Open(reader, false)) return;
    struct Parent {
      int dataNo, code, line;
    };
    std::vector<Parent> parents;
    while (reader.Next()) {
      int dataNo = DataOf(reader);
      AccountSpec account;
      account.code = reader.Whole<int>(c::kCode, 1, 2147483647);
      account.codeText = reader.String(c::kCodeText, 15, true);
      account.name = reader.String(c::kName, 255);
      account.parentCode = reader.Whole<int>(c::kParent, 0, 2147483647);
      account.normalSide = reader.Whole<int>(c::kNormalSide, 1, 2);
      account.classCode = reader.Whole<std::uint32_t>(c::kClassCode, 0, 4294967295LL, true);
      account.totalFlag = reader.Byte(c::kTotal);
      account.excluded = reader.Byte(c::kExcluded);
      account.skip126 = reader.Byte(c::kSkip126);
      account.skip128 = reader.Byte(c::kSkip128);
      if (reader.RowOk() && !accounts_.insert(Key(dataNo, account.code)).second) {
        reader.Problem(c::kCode, "account " + std::to_string(account.code) + " a second time");
      }
      if (!reader.RowOk()) continue;
      if (account.parentCode != 0) parents.push_back({dataNo, account.parentCode, reader.line()});
      if (Writing()) Wrote(reader, writer_.AddAccount(dataNo, account));
    }
    for (const Parent& parent : parents) {
      if (accounts_.count(Key(parent.dataNo, parent.code)) == 0) {
        problems_.Add(reader.file(), parent.line, 1,
                      "parent " + std::to_string(parent.code) + " is no account of data " +
                          std::to_string(parent.dataNo));
      }
    }
  }

  void Departments() {
    namespace c = csv::departments;
    TableReader reader(folder_, csv::Departments(), problems_);
    if (!Open(reader, false)) return;
    while (reader.Next()) {
      int dataNo = DataOf(reader);
      int code = reader.Whole<int>(c::kCode, 1, 2147483647);
      std::string name = reader.String(c::kName, 255);
      int value = reader.Whole<int>(c::kValue, -2147483647, 2147483647);
      int kind = reader.Byte(c::kKind);
      int category = reader.Byte(c::kIncomeCategory);
      if (reader.RowOk() && !departments_.insert(Key(dataNo, code)).second) {
        reader.Problem(c::kCode, "department " + std::to_string(code) + " a second time");
      }
      if (reader.RowOk() && Writing()) {
        Wrote(reader, writer_.AddDepartment(dataNo, code, name, value, kind, category));
      }
    }
  }

  // An account the data's chart holds; a department of the data or 0.
  int Account(TableReader& reader, int dataNo, std::size_t column) {
    int code = reader.Whole<int>(column, 1, 2147483647);
    if (reader.RowOk() && accounts_.count(Key(dataNo, code)) == 0) {
      reader.Problem(column, reader.Name(column) + ": account " + std::to_string(code) +
                                 " is not in the chart of data " + std::to_string(dataNo) +
                                 " (accounts.csv)");
    }
    return code;
  }
  int Department(TableReader& reader, int dataNo, std::size_t column) {
    int code = reader.Whole<int>(column, 0, 2147483647);
    if (reader.RowOk() && code != 0 && departments_.count(Key(dataNo, code)) == 0) {
      reader.Problem(column, reader.Name(column) + ": department " + std::to_string(code) +
                                 " is not among the departments of data " + std::to_string(dataNo) +
                                 " (departments.csv)");
    }
    return code;
  }

  void Journal() {
    namespace c = csv::journal;
    TableReader reader(folder_, csv::Journal(), problems_);
    if (!Open(reader, false)) return;
    while (reader.Next()) {
      int dataNo = DataOf(reader);
      EntrySpec entry;
      entry.date = reader.Date(c::kDate);
      if (reader.Given(c::kMonth)) {
        entry.monthIndex = reader.Whole<int>(c::kMonth, -2147483647, 2147483647);
        int m = entry.monthIndex;
        if (reader.RowOk() && (m < 1 || m > 12) && m != 15 && m != 18) {
          reader.Problem(c::kMonth, "month " + std::to_string(m) +
                                        ": months are 1 to 12, 15 (interim adjustment) or 18 "
                                        "(year-end adjustment)");
        }
      }
      if (reader.RowOk()) {
        const Period& period = periods_[dataNo];
        if (entry.date < period.start || entry.date > period.end) {
          reader.Problem(c::kDate, "date " + csv::FormatDate(entry.date) +
                                       " outside the period of data " + std::to_string(dataNo) +
                                       " (" + csv::FormatDate(period.start) + " to " +
                                       csv::FormatDate(period.end) + ")");
        }
      }
      entry.debitAccount = Account(reader, dataNo, c::kDebitAccount);
      entry.debitDept = Department(reader, dataNo, c::kDebitDepartment);
      entry.debitAmount = reader.Amount(c::kDebitAmount);
      entry.debitTax = reader.Amount(c::kDebitTax);
      entry.debitCategory = reader.Byte(c::kDebitCategory);
      entry.creditAccount = Account(reader, dataNo, c::kCreditAccount);
      entry.creditDept = Department(reader, dataNo, c::kCreditDepartment);
      entry.creditAmount = reader.Amount(c::kCreditAmount);
      entry.creditTax = reader.Amount(c::kCreditTax);
      entry.creditCategory = reader.Byte(c::kCreditCategory);
      entry.rate = reader.Rate(c::kRate);
      entry.reduced = reader.Whole<int>(c::kReduced, 0, 1);
      entry.businessType = reader.Whole<int>(c::kBusinessType, 0, 6);
      entry.summary = reader.String(c::kSummary, 255);
      if (!reader.RowOk()) continue;
      ++result_->entries;
      if (Writing()) Wrote(reader, writer_.AddEntry(dataNo, entry));
    }
  }

  void Assets() {
    namespace c = csv::assets;
    TableReader reader(folder_, csv::Assets(), problems_);
    if (!Open(reader, false)) return;
    std::unordered_set<std::int64_t> numbers;
    while (reader.Next()) {
      int dataNo = DataOf(reader);
      int assetNo = reader.Whole<int>(c::kAssetNo, 0, 2147483647);
      std::string name = reader.String(c::kName, 255);
      int date = reader.Date(c::kDate);
      int kind = reader.Whole<int>(c::kKind, -2147483647, 2147483647);
      std::int64_t amount = reader.Amount(c::kAmount);
      int category = reader.Whole<int>(c::kIncomeCategory, -2147483647, 2147483647);
      if (reader.RowOk() && !numbers.insert(Key(dataNo, assetNo)).second) {
        reader.Problem(c::kAssetNo, "asset " + std::to_string(assetNo) + " a second time");
      }
      if (reader.RowOk() && Writing()) {
        Wrote(reader, writer_.AddAsset(dataNo, assetNo, name, date, kind, amount, category));
      }
    }
  }

  void SavedFigures() {
    namespace c = csv::saved;
    TableReader reader(folder_, csv::SavedFigures(), problems_);
    if (!Open(reader, false)) return;
    while (reader.Next()) {
      int dataNo = DataOf(reader);
      int offset = reader.Whole<int>(c::kOffset, 0, 24575);
      int width = reader.Whole<int>(c::kWidth, 1, 8);
      std::int64_t value = reader.Whole<std::int64_t>(c::kValue, INT64_MIN + 1, INT64_MAX);
      if (reader.RowOk() && (width & (width - 1)) != 0) {
        reader.Problem(c::kWidth, "width: 1, 2, 4 or 8 bytes");
      } else if (reader.RowOk() && offset + width > 24576) {
        reader.Problem(c::kOffset, "offset: the field ends past the 24,576 bytes of the record");
      }
      if (reader.RowOk() && Writing()) {
        Wrote(reader, writer_.AddSavedFigure(dataNo, offset, width, value));
      }
    }
  }

  std::string folder_;
  CompanyWriter& writer_;
  Problems& problems_;
  ImportResult* result_;
  std::map<int, Period> periods_;
  int firstData_ = 0;
  std::unordered_set<std::int64_t> accounts_;
  std::unordered_set<std::int64_t> departments_;
};

}  // namespace

int ImportCompanyCsv(const std::string& folder, const std::string& path, ImportResult* result) {
  CompanyWriter writer;
  if (int code = writer.Create(path)) {
    result->problems.push_back(writer.Error());
    return code;
  }
  Problems problems(result);
  Importer(folder, writer, problems, result).Run();
  problems.Close();
  if (problems.count() != 0) return kBadArgument;
  if (int code = writer.Finish()) {
    result->problems.push_back(writer.Error());
    return code;
  }
  return kOk;
}

}  // namespace ledvia
