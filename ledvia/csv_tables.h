// The CSV files a company database is imported from and exported to, and their columns, named
// in each file's first line (any order; a column that may be left out has a value it means
// then). ledvia/README.md describes them for a person.
#pragma once

#include <string_view>
#include <vector>

namespace ledvia::csv {

struct Column {
  std::string_view name;
  // The value meant by an empty field or a column left out; nullptr: the column is required and
  // its fields may not be empty.
  const char* absent;
};

struct Table {
  std::string_view file;
  std::vector<Column> columns;
};

// Column positions in each table, in the order export writes them.
namespace company {
enum {
  kData,
  kId,
  kName,
  kPeriodStart,
  kPeriodEnd,
  kClosingDay,
  kInterimClosing,
  kDataKind,
  kEntityKind,
  kIncomeKinds,
  kTaxation,
  kDeductionMethod,
  kRounding,
  kMainBusinessType,
  kTaxInclusive
};
}
namespace users {
enum { kUser, kGroup, kData };
}
namespace accounts {
enum {
  kData,
  kCode,
  kCodeText,
  kName,
  kParent,
  kNormalSide,
  kClassCode,
  kTotal,
  kExcluded,
  kSkip126,
  kSkip128
};
}
namespace departments {
enum { kData, kCode, kName, kValue, kKind, kIncomeCategory };
}
namespace journal {
enum {
  kData,
  kDate,
  kMonth,
  kDebitAccount,
  kDebitDepartment,
  kDebitAmount,
  kDebitTax,
  kDebitCategory,
  kCreditAccount,
  kCreditDepartment,
  kCreditAmount,
  kCreditTax,
  kCreditCategory,
  kRate,
  kReduced,
  kBusinessType,
  kSummary
};
}
namespace assets {
enum { kData, kAssetNo, kName, kDate, kKind, kAmount, kIncomeCategory };
}
namespace saved {
enum { kData, kOffset, kWidth, kValue };
}

const Table& Company();
const Table& Users();
const Table& Accounts();
const Table& Departments();
const Table& Journal();
const Table& Assets();
const Table& SavedFigures();

}  // namespace ledvia::csv
