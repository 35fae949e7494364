// Generated companies for benchmarks and for trying the program on data of any size: one
// company data that exercises everything a journal export reads.
#pragma once

#include <cstdint>
#include <string>

namespace ledvia {

struct GeneratedCompanyShape {
  std::int64_t entries = 0;     // journal entries, 0 to kMaxGeneratedEntries
  bool soleProprietor = false;  // entity kind 3 with a calendar year, else a corporation
  int departments = 0;          // departments, their kinds and income categories in turn
  bool taxInclusive = false;    // tax-inclusive books
};

constexpr std::int64_t kMaxGeneratedEntries = 100000000;
constexpr int kMaxGeneratedDepartments = 999;

// Writes data 1 ("GEN0001"), selected by "user1": general taxation, a chart of about 200
// accounts with total accounts, `shape.entries` entries spread over the twelve months with a
// share of closing adjustments (month index 18, and 15 for a corporation, which closes at mid-year
// too), every rate of the rate table and every tax category the business core knows, business
// types 1 to 6, and fixed and deferred assets, some bought before the period. With departments,
// every entry is booked to one; a sole proprietor then keeps several income kinds (3), else
// business income only (1). The same shape always gives the same company. 0 on success, else a
// failure code with `*error` set.
int WriteGeneratedCompany(const std::string& path, const GeneratedCompanyShape& shape,
                          std::string* error);

}  // namespace ledvia
