// The consumption-tax settings of one company data (set object 4), as the run and the saved-figures
// test read them.
#pragma once

#include <optional>

#include "accounting/StSHOHIZEIINFO.h"

class ClSetShohizei;

// The settings of data `dataId` (StDATAINFO offset 0, 16 bytes, need not be terminated) from
// `taxSet`: AttachSetMgr with the data manager's set manager, SetCurDataID, Get. nullopt when
// there is no set object or Get fails.
std::optional<StSHOHIZEIINFO> ReadTaxSettings(ClSetShohizei* taxSet, const char* dataId);

// The same with the data manager's set object 4, taken afresh.
std::optional<StSHOHIZEIINFO> ReadTaxSettings(const char* dataId);
