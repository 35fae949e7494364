// Builds a company database from the CSV files of a folder (ledvia/csv_tables.h names them and
// their columns): company.csv, and as far as they are there users.csv, accounts.csv,
// departments.csv, journal.csv, assets.csv and saved_figures.csv. Lines are read one at a
// time, so memory does not grow with the journal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ledvia {

// Problems listed one by one; after these many only their count.
constexpr int kMaxListedProblems = 20;

struct ImportResult {
  // "FILE:LINE:COLUMN: reason" (UTF-8), one per bad line (its first problem) in the order read, at
  // most kMaxListedProblems of them, then one line with the count of the rest.
  std::vector<std::string> problems;
  int data = 0;  // what was imported
  std::int64_t entries = 0;
};

// Imports the CSV files of `folder` into a new company database that takes the place of `path`
// (written beside it and renamed onto it, as CompanyWriter does; only a company database there
// is replaced). Nothing is written unless every line of every file is good. 0 on success; else a
// failure code with `result->problems` saying why.
int ImportCompanyCsv(const std::string& folder, const std::string& path, ImportResult* result);

}  // namespace ledvia
