#include "app/tax_settings.h"

#include <cstring>

#include "accounting/ClDataMgr.h"
#include "accounting/ClSetShohizei.h"
#include "accounting/StDATAINFO.h"

std::optional<StSHOHIZEIINFO> ReadTaxSettings(ClSetShohizei* taxSet, const char* dataId) {
  if (taxSet == nullptr) return std::nullopt;
  // The id field is 16 bytes and may fill them all.
  char id[sizeof StDATAINFO::dataId + 1] = {};
  if (dataId != nullptr) std::memcpy(id, dataId, sizeof StDATAINFO::dataId);
  taxSet->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
  taxSet->SetCurDataID(id);
  StSHOHIZEIINFO settings;
  std::memset(&settings, 0, sizeof settings);
  if (taxSet->Get(&settings) != 0) return std::nullopt;
  return settings;
}

std::optional<StSHOHIZEIINFO> ReadTaxSettings(const char* dataId) {
  return ReadTaxSettings(static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1)),
                         dataId);
}
