// Whether the journal aggregation found figures at a rate that is no longer the current one
// (the standard 8 %, 5 % or 3 %): BASIC/KEIKASHOCHIKAZEISHISAN of the journal variant.
#pragma once

#include "aggregate/tax_totals.h"

// False without totals (no tax settings). Looks at rate slots 2 to rateCount - 1: the 55
// return figures of each rate record (offsets 9 to 441), the special-account sums of slots 2
// to 4, and the six amounts of each business-type record of those slots.
bool HasSupersededRateFigures(const TaxTotals* totals);
