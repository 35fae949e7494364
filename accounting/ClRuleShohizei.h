// Tax-sum rule: per-account sums of the journal sides booked at one tax rate.
#pragma once

#include <memory>

#include "accounting/ClRuleBase.h"
#include "accounting/StTAXSUMINFO.h"

namespace ledvia {
struct TaxSumRows;
struct TaxSumNames;
}  // namespace ledvia

class ClRuleShohizei : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClRuleShohizei)

 public:
  ClRuleShohizei();
  ~ClRuleShohizei() override;

  // Prepares the walk over the accounts with sides at `rate` (hundredths of a percent) and
  // `reduced`, in month indices firstMonth..lastMonth. A lastMonth of 15 means months up to 6
  // and the interim adjustment; 18 months up to 12 and the year-end adjustment. `sumType` 2 is the
  // only kind known; amounts are tax-included when `taxInclusive` is not 0. The pointer and the
  // last two numbers are reserved.
  int MoveReady(int sumType, int firstMonth, int lastMonth, int rate, const void* reserved,
                int taxInclusive, int reduced, int reserved2, int reserved3);
  int GetSumInfoCount(int* count);
  // The next account's sums: 0, 5000 after the last, or a failure code.
  int MoveNext(StTAXSUMINFO* info);
  int MoveFinish();

 private:
  std::unique_ptr<ledvia::TaxSumRows> cursor_;
  std::unique_ptr<ledvia::TaxSumNames> names_;  // read by the first walk of a session
};
