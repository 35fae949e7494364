#include "aggregate/income_category.h"

IncomeCategories ClassifyIncome(std::uint8_t incomeKinds, bool withDepartments,
                                const StBUMONINFO* department) {
  std::uint8_t category = department != nullptr ? department->incomeCategory : 0;
  bool kindOne = department != nullptr && department->kind == 1;
  bool kindOneZero = kindOne && department->value == 0;
  bool kindOneNonZero = kindOne && department->value != 0;
  bool several = incomeKinds == 3;
  IncomeCategories result;
  result.business =
      incomeKinds == 1 || (several && (!withDepartments || category == 1 || kindOneZero));
  result.realEstate = incomeKinds == 2 || (several && withDepartments && category == 3);
  result.other = several && withDepartments && !kindOneZero &&
                 (kindOneNonZero || (category != 1 && category != 3));
  return result;
}
