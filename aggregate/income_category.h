// Which income categories of the sole proprietor's statement an amount belongs to, from the
// data's income kinds and the department it is booked to. The three tests are applied as they
// stand, so an amount can pass more than one and then counts in each.
#pragma once

#include <cstdint>

#include "accounting/StBUMONINFO.h"

struct IncomeCategories {
  bool business = false;
  bool realEstate = false;
  bool other = false;
};

// `incomeKinds`: 1 business only, 2 real estate only, 3 several, split by department.
// `withDepartments`: the data keeps departments (for account sums: a department is being
// summed). `department`: the department booked to, nullptr for none. With kinds 3:
// - business: no departments, or department category 1, or a department of kind 1 whose value
//   (offset 16) is 0;
// - real estate: departments, and department category 3;
// - other: departments, not kind 1 with value 0, and either kind 1 with a non-zero value or a
//   category other than 1 and 3.
IncomeCategories ClassifyIncome(std::uint8_t incomeKinds, bool withDepartments,
                                const StBUMONINFO* department);
