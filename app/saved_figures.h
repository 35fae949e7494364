// The consumption-tax return figures saved in the accounting product's return screen: loading
// them into the run's 24,576-byte buffer and testing that they belong to the data as it is now.
#pragma once

#include "accounting/StDATAINFO.h"
#include "accounting/StSaveTaxInfo.h"

// Fills `buffer` (kSavedFiguresBufferSize bytes, zeroed by the caller) with the figures saved
// for data `dataId` (StDATAINFO offset 0, 16 bytes, need not be terminated). Returns the
// recorded status (0 loaded; a failure is recorded with source "ControlATS31" and line 8436),
// or -1 without recording anything when the save object cannot be created.
int LoadSavedFigures(unsigned char* buffer, const char* dataId);

// 1 when the loaded figures belong to `data` in its present state: saved for its accounting
// period, with its interim-closing setting, its taxation method and its deduction method; 0
// when the data's tax settings cannot be read.
int SavedFiguresMatchData(const unsigned char* buffer, const StDATAINFO& data);

// 1 when the figures could be loaded and match `data`, else 0.
int PrepareSavedFigures(unsigned char* buffer, const StDATAINFO& data);
