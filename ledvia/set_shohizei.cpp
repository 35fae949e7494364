// Set object 4: consumption-tax settings.
#include <cstring>
#include <string>

#include "accounting/ClSetShohizei.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/session.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace {

// The data id chosen with SetCurDataID; empty = the selected data. One set object serves the
// whole process, so this is its state. The id, not the number, is kept so that a session
// attached to another database later resolves it afresh.
std::string g_currentDataId;
// Not 0 after a refused id: Get fails with it rather than answer for some other data.
int g_refusedCode = 0;
// The session the id was chosen in: a later session starts again from the selected data.
unsigned g_currentDataIdSession = 0;

}  // namespace

int ClSetShohizei::AttachSetMgr(ClSetMgr* setMgr) {
  if (int fault = ledvia::FaultFor("ClSetShohizei::AttachSetMgr")) return fault;
  return setMgr == nullptr ? ledvia::kBadArgument : ledvia::kOk;
}

int ClSetShohizei::SetCurDataID(const char* dataId) {
  if (int fault = ledvia::FaultFor("ClSetShohizei::SetCurDataID")) return fault;
  int dataNo = 0;
  g_currentDataId.clear();
  g_refusedCode = ledvia::DataNoForId(dataId, &dataNo);
  if (g_refusedCode == ledvia::kOk) g_currentDataId.assign(dataId, strnlen(dataId, 16));
  g_currentDataIdSession = ledvia::CompanyDatabaseGeneration();
  return g_refusedCode;
}

int ClSetShohizei::Get(StSHOHIZEIINFO* info) {
  if (int fault = ledvia::FaultFor("ClSetShohizei::Get")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (g_currentDataIdSession != ledvia::CompanyDatabaseGeneration()) {
    g_currentDataId.clear();
    g_refusedCode = ledvia::kOk;
  }
  if (g_refusedCode != ledvia::kOk) return g_refusedCode;
  int code = g_currentDataId.empty() ? ledvia::SelectedDataNo(&dataNo)
                                     : ledvia::DataNoForId(g_currentDataId.c_str(), &dataNo);
  if (code != ledvia::kOk) return code;
  ledvia::Statement stmt(ledvia::CompanyDatabase(),
                         "SELECT taxation_kind, rounding_mode, deduction_method, "
                         "main_business_type, tax_inclusive FROM tax_settings WHERE data_no = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindInt(1, dataNo);
  int status = stmt.StepStatus();
  if (status == ledvia::kEndOfData) return ledvia::kNotFound;
  if (status != ledvia::kOk) return status;
  StSHOHIZEIINFO filled;
  std::memset(&filled, 0, sizeof filled);
  filled.taxationKind = static_cast<std::uint8_t>(stmt.Int(0));
  filled.roundingMode = static_cast<std::uint8_t>(stmt.Int(1));
  filled.deductionMethod = static_cast<std::uint8_t>(stmt.Int(2));
  filled.mainBusinessType = static_cast<std::uint8_t>(stmt.Int(3));
  filled.taxInclusive = static_cast<std::uint8_t>(stmt.Int(4));
  *info = filled;
  return ledvia::kOk;
}

int ClSetShohizei::GetTaxRateCount() {
  // An injected fault here gives the count to return, so that callers can be tried with
  // settings that know fewer rates.
  if (int fault = ledvia::FaultFor("ClSetShohizei::GetTaxRateCount")) return fault;
  return 5;
}
