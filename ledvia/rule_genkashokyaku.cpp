// Fixed-asset rule: assets of a find, read forward by index.
#include <cstring>

#include "accounting/ClRuleGenkashokyaku.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/find_sql.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

ClRuleGenkashokyaku::ClRuleGenkashokyaku() = default;
ClRuleGenkashokyaku::~ClRuleGenkashokyaku() = default;

int ClRuleGenkashokyaku::MoveReady(const StFINDINFO* find, int /*sortType*/, int /*sumType*/) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::MoveReady")) return fault;
  cursor_.reset();
  next_ = 0;
  count_ = 0;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::SqlCondition condition;
  if (int code = ledvia::TranslateFind(find, ledvia::FindTarget::kAssets, 2, &condition)) {
    return code;
  }
  std::string where = " FROM fixed_assets WHERE data_no = ?1 AND " + condition.sql;
  ledvia::Statement count(ledvia::CompanyDatabase(), "SELECT COUNT(*)" + where);
  if (!count.ok()) return count.PrepareCode();
  count.BindInt(1, dataNo);
  count.BindAll(2, condition.params);
  int status = count.StepStatus();
  if (status != ledvia::kOk) return status;
  auto cursor = std::make_unique<ledvia::Statement>(
      ledvia::CompanyDatabase(), "SELECT asset_no, name, date, kind, amount, income_category" +
                                     where + " ORDER BY date, asset_no");
  if (!cursor->ok()) return cursor->PrepareCode();
  cursor->BindInt(1, dataNo);
  cursor->BindAll(2, condition.params);
  count_ = static_cast<int>(count.Int(0));
  cursor_ = std::move(cursor);
  return ledvia::kOk;
}

int ClRuleGenkashokyaku::GetCount(int* count) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::GetCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  *count = count_;
  return ledvia::kOk;
}

int ClRuleGenkashokyaku::Move(int index, StKOTEISHISANINFO* asset, StKOTEINENINFO* yearly,
                              StKOTEITSUKIINFO* monthly) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::Move")) return fault;
  if (asset == nullptr || index < 0) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  if (index < next_) {
    cursor_->Reset();
    next_ = 0;
  }
  int status = ledvia::kOk;
  while (next_ <= index) {
    status = cursor_->StepStatus();
    if (status != ledvia::kOk) return status;
    ++next_;
  }
  const ledvia::Statement& row = *cursor_;
  std::memset(asset, 0, sizeof *asset);
  asset->assetNo = static_cast<std::int32_t>(row.Int(0));
  ledvia::CopyTextField(asset->name, sizeof asset->name, row.Bytes(1));
  asset->date = static_cast<std::int32_t>(row.Int(2));
  asset->kind = static_cast<std::int32_t>(row.Int(3));
  asset->amount = row.Int(4);
  asset->incomeCategory = static_cast<std::int16_t>(row.Int(5));
  if (yearly != nullptr) {
    std::memset(yearly, 0, sizeof *yearly);
    yearly->assetNo = asset->assetNo;
  }
  if (monthly != nullptr) {
    std::memset(monthly, 0, sizeof *monthly);
    monthly->assetNo = asset->assetNo;
  }
  return ledvia::kOk;
}

int ClRuleGenkashokyaku::MoveFinish() {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::MoveFinish")) return fault;
  cursor_.reset();
  return ledvia::kOk;
}
