// Where the summing and counting calls read the journal: the running totals of a database that
// keeps them (schema version 2), else the journal itself. Both give their rows under the same
// column names, so that every call has one SQL text and only its source differs; the totals
// hold one row per group instead of one per entry.
#pragma once

#include <string>

#include "accounting/StFINDINFO.h"
#include "ledvia/find_sql.h"

namespace ledvia {

// A source of journal sides for a file of schema versions 1 to 3 (version 4 keeps the two sums
// read from it as tables of their own), for FROM: columns data_no, dept, account, side (1 debit, 2
// credit), month_index, taxed (1 when the side's category is not 0), rate, reduced, amount and
// tax (sums over the side rows of a group).
std::string SideRows();

// A source of journal entries for a find, for FROM: the columns of table journal that a find of
// categories and months tests (month_index, debit_category, credit_category), with rate,
// reduced, business_type and the sums debit_amount, debit_tax, credit_amount, credit_tax.
struct EntryRows {
  std::string table;
  std::string count;  // SQL for the number of entries of the rows summed
  SqlCondition condition;
};

// Translates `find` for the entry rows (placeholders from `firstParam`): the groups when the
// database keeps them and the find tests nothing they lack (an account classification), else
// the journal. 0 or kBadFind.
int EntryRowsFor(const StFINDINFO* find, int firstParam, EntryRows* out);

}  // namespace ledvia
