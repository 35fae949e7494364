#include "app/saved_figures.h"

#include <cstring>
#include <memory>

#include "accounting/ClAccPeriod.h"
#include "accounting/ClDataMgr.h"
#include "accounting/ClLinkMgr.h"
#include "accounting/ClMsgMgr.h"
#include "accounting/ClSaveTaxShiryo.h"
#include "accounting/ClSetData.h"
#include "app/tax_settings.h"

namespace {

constexpr int kLoadSavedFiguresLine = 8436;

// The id field is 16 bytes and may fill them all.
struct DataIdText {
  explicit DataIdText(const char* field) {
    if (field != nullptr) std::memcpy(text, field, sizeof StDATAINFO::dataId);
  }
  char text[sizeof StDATAINFO::dataId + 1] = {};
};

}  // namespace

int LoadSavedFigures(unsigned char* buffer, const char* dataId) {
  std::unique_ptr<ClSaveTaxShiryo> save(new (std::nothrow) ClSaveTaxShiryo);
  if (save == nullptr) return -1;
  DataIdText id(dataId);
  save->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
  save->SetCurDataID(id.text);
  save->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
  save->RefreshCache();
  int code = save->GetTaxSaveInfo(buffer);
  save.reset();
  if (code == 0) return ClMsgMgr::Inst()->SetLastError(0, nullptr, 0);
  return ClMsgMgr::Inst()->SetLastError(code, "ControlATS31", kLoadSavedFiguresLine);
}

int SavedFiguresMatchData(const unsigned char* buffer, const StDATAINFO& data) {
  auto* dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (dataSet == nullptr) return 0;
  ClAccPeriod* taken = nullptr;
  int code = dataSet->GetAccPeriod(&taken);
  std::unique_ptr<ClAccPeriod> calendar(taken);
  if (code != 0 || calendar == nullptr) return 0;
  int periodStart = 0;
  int periodEnd = 0;
  if (calendar->GetPeriod(&periodStart, &periodEnd) != 0) return 0;
  // Settings that cannot be read say nothing about the data as it is now: read as all zero
  // they would pass for exempt data saved under the general method.
  std::optional<StSHOHIZEIINFO> read = ReadTaxSettings(data.dataId);
  if (!read) return 0;
  const StSHOHIZEIINFO& settings = *read;

  std::int32_t savedStart = StSaveTaxInfo::Int32(buffer, StSaveTaxInfo::kPeriodStart);
  std::int32_t savedEnd = StSaveTaxInfo::Int32(buffer, StSaveTaxInfo::kPeriodEnd);
  bool match =
      savedStart != 0 && savedEnd != 0 && savedStart == periodStart && savedEnd == periodEnd;
  // Compared as the byte the record holds: a flag outside 0 and 1 matches nothing.
  match = match &&
          static_cast<std::int64_t>(StSaveTaxInfo::Byte(buffer, StSaveTaxInfo::kInterimClosing)) ==
              static_cast<std::int64_t>(data.interimClosing) + 1;
  std::uint8_t method = settings.taxationKind == 1 ? 2 : 1;
  match = match && StSaveTaxInfo::Byte(buffer, StSaveTaxInfo::kTaxationMethod) == method;
  match = match && StSaveTaxInfo::Byte(buffer, StSaveTaxInfo::kDeductionMethod) ==
                       settings.deductionMethod + 1;
  return match ? 1 : 0;
}

int PrepareSavedFigures(unsigned char* buffer, const StDATAINFO& data) {
  if (LoadSavedFigures(buffer, data.dataId) != 0) return 0;
  return SavedFiguresMatchData(buffer, data);
}
