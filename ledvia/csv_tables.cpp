#include "ledvia/csv_tables.h"

namespace ledvia::csv {

const Table& Company() {
  static const Table table{"company.csv",
                           {{"data", "1"},
                            {"id", nullptr},
                            {"name", nullptr},
                            {"period_start", nullptr},
                            {"period_end", nullptr},
                            {"closing_day", "31"},
                            {"interim_closing", "0"},
                            {"data_kind", "0"},
                            {"entity_kind", "0"},
                            {"income_kinds", "0"},
                            {"taxation", nullptr},
                            {"deduction_method", "0"},
                            {"rounding", "0"},
                            {"main_business_type", "0"},
                            {"tax_inclusive", "0"}}};
  return table;
}

const Table& Users() {
  static const Table table{"users.csv", {{"user", nullptr}, {"group", "1"}, {"data", "1"}}};
  return table;
}

const Table& Accounts() {
  static const Table table{"accounts.csv",
                           {{"data", "1"},
                            {"code", nullptr},
                            {"code_text", ""},
                            {"name", nullptr},
                            {"parent", "0"},
                            {"normal_side", nullptr},
                            {"class_code", nullptr},
                            {"total", "0"},
                            {"excluded", "0"},
                            {"skip126", "0"},
                            {"skip128", "0"}}};
  return table;
}

const Table& Departments() {
  static const Table table{"departments.csv",
                           {{"data", "1"},
                            {"code", nullptr},
                            {"name", nullptr},
                            {"value", "0"},
                            {"kind", "0"},
                            {"income_category", "1"}}};
  return table;
}

const Table& Journal() {
  static const Table table{"journal.csv",
                           {{"data", "1"},
                            {"date", nullptr},
                            {"month", ""},
                            {"debit_account", nullptr},
                            {"debit_department", "0"},
                            {"debit_amount", nullptr},
                            {"debit_tax", "0"},
                            {"debit_category", "0"},
                            {"credit_account", nullptr},
                            {"credit_department", "0"},
                            {"credit_amount", nullptr},
                            {"credit_tax", "0"},
                            {"credit_category", "0"},
                            {"rate", "0"},
                            {"reduced", "0"},
                            {"business_type", "0"},
                            {"summary", ""}}};
  return table;
}

const Table& Assets() {
  static const Table table{"assets.csv",
                           {{"data", "1"},
                            {"asset_no", nullptr},
                            {"name", nullptr},
                            {"date", nullptr},
                            {"kind", nullptr},
                            {"amount", nullptr},
                            {"income_category", "1"}}};
  return table;
}

const Table& SavedFigures() {
  static const Table table{
      "saved_figures.csv",
      {{"data", "1"}, {"offset", nullptr}, {"width", nullptr}, {"value", nullptr}}};
  return table;
}

}  // namespace ledvia::csv
