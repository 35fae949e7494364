// The read-only texts the conditions dialog shows about the open company data.
#pragma once

#include "accounting/StDATAINFO.h"
#include "accounting/StSHOHIZEIINFO.h"
#include "ui/conditions.h"

// Fills the five texts of `setup` from the data record and its tax settings: " " and the company
// name; the period as " YYYY/MM/DD～YYYY/MM/DD"; " " and the taxation-kind name; the deduction
// label ("主となる事業分類" simplified, "課税仕入控除" general, else empty); " " and the main
// business type (simplified) or the deduction method (general), else empty. A settings value
// outside its table gives an empty name (after the blank).
void FillConditionsTexts(ConditionsSetup& setup, const StDATAINFO& data,
                         const StSHOHIZEIINFO& settings);
