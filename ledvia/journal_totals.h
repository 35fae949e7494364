// The journal summaries of a database being written, kept in memory while its entries are
// loaded and written into the summary tables once at the end: the same rows the triggers keep
// (schema.cpp), without their five upserts per entry, which cost a bulk load most of its time.
#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace ledvia {

struct EntrySpec;

class JournalTotals {
 public:
  // Counts the entry, stored with `monthIndex`, into the totals of data `dataNo`.
  void Add(int dataNo, int monthIndex, const EntrySpec& entry);
  // Inserts the totals into the empty summary tables of `db`. 0, or a failure code with
  // `*error` set.
  int Write(sqlite3* db, std::string* error) const;

 private:
  // A sum as SQLite's + makes it: an exact integer until it leaves 64 bits, a real number from
  // then on (which the business core refuses when it reads it).
  struct Sum {
    bool real = false;
    std::int64_t exact = 0;
    double approximate = 0;
    void Add(std::int64_t value);
  };
  template <std::size_t N>
  struct KeyHash {
    std::size_t operator()(const std::array<std::int64_t, N>& key) const {
      std::size_t hash = 0;
      for (std::int64_t part : key) hash = hash * 1000003u ^ static_cast<std::size_t>(part);
      return hash;
    }
  };
  struct Totals {
    std::int64_t count = 0;
    Sum sums[4];
  };
  using GroupKey = std::array<std::int64_t, 7>;
  using DepartmentKey = std::array<std::int64_t, 5>;
  using TaxedKey = std::array<std::int64_t, 6>;
  using SideKey = std::array<std::int64_t, 6>;

  std::unordered_map<GroupKey, Totals, KeyHash<7>> groups_;
  std::unordered_map<DepartmentKey, Totals, KeyHash<5>> departments_;
  std::unordered_map<TaxedKey, Totals, KeyHash<6>> taxed_;
  std::unordered_map<SideKey, Totals, KeyHash<6>> sides_;
};

}  // namespace ledvia
