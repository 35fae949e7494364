// Tax-return rule: sums the journal entries of a find into the per-rate and per-business-type
// figures of the consumption-tax return. Which tax category feeds which amount is listed in
// ledvia/README.md.
#pragma once

#include "accounting/ClRuleBase.h"
#include "accounting/StFINDINFO.h"
#include "accounting/StTAXREPORTBUSINESSTYPEINFO.h"
#include "accounting/StTAXREPORTRATEINFO.h"

class ClRuleShohizeiShinkoku : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClRuleShohizeiShinkoku)

 public:
  // `rateRecords` holds GetTaxRateCount() records and `businessTypeRecords` six per rate,
  // rate-major, their rate, reduced flag and business type set by the caller. Adds the entries
  // of `find` (nullptr: all) to the amounts of the record whose rate and reduced flag match
  // the entry's; amounts already there are kept. `taxationKind` is not used to filter: every
  // figure is summed. 0 on success.
  int SumTax(int taxationKind, const StFINDINFO* find, StTAXREPORTRATEINFO* rateRecords,
             StTAXREPORTBUSINESSTYPEINFO* businessTypeRecords);
};
