// Account-sum rule: monthly debit and credit totals of every account.
#pragma once

#include <memory>

#include "accounting/ClRuleBase.h"
#include "accounting/StBUMONINFO.h"
#include "accounting/StFINDINFO.h"
#include "accounting/StKAMOKUSUMINFO.h"

namespace ledvia {
class AccountSumCursor;
}

class ClRuleKamoku : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClRuleKamoku)

 public:
  ClRuleKamoku();
  ~ClRuleKamoku() override;

  // Prepares the walk over the accounts, in code order. `baseSumType` 1 is the only kind
  // known; `deptSumType` 0 or 4 and `department` (nullptr: every department) restrict the sums
  // to sides booked to that department; the arrays hold every month whatever `monthFind` says
  // (the caller picks the months). `displayType` and `pastType` are 0.
  int MoveReady(int baseSumType, int deptSumType, int displayType, const StFINDINFO* monthFind,
                const StBUMONINFO* department, int pastType);
  int GetSumCount(int* count);
  // Skips to the account at position `position` (0 = first).
  int SetMovePos(int position);
  // The next account's sums: 0, 5000 after the last, or a failure code.
  int MoveNext(StKAMOKUSUMINFO* info);
  int MoveFinish();

 private:
  std::unique_ptr<ledvia::AccountSumCursor> cursor_;
};
