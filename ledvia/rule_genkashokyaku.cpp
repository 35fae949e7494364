// Fixed-asset rule: the assets of a find, read in one pass when the walk is prepared (a few per
// thousand entries) and handed out by index, so that the count and every asset come from the
// same rows and going back never runs the query again.
#include <cstring>
#include <vector>

#include "accounting/ClRuleGenkashokyaku.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/find_sql.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

struct AssetRows {
  std::vector<StKOTEISHISANINFO> rows;
};

}  // namespace ledvia

ClRuleGenkashokyaku::ClRuleGenkashokyaku() = default;
ClRuleGenkashokyaku::~ClRuleGenkashokyaku() = default;

int ClRuleGenkashokyaku::MoveReady(const StFINDINFO* find, int /*sortType*/, int /*sumType*/) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::MoveReady")) return fault;
  cursor_.reset();
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::SqlCondition condition;
  if (int code = ledvia::TranslateFind(find, ledvia::FindTarget::kAssets, 2, &condition)) {
    return code;
  }
  ledvia::Statement rows(ledvia::CompanyDatabase(),
                         "SELECT asset_no, name, date, kind, amount, income_category FROM "
                         "fixed_assets WHERE data_no = ?1 AND " +
                             condition.sql + " ORDER BY date, asset_no");
  if (!rows.ok()) return rows.PrepareCode();
  rows.BindInt(1, dataNo);
  rows.BindAll(2, condition.params);
  auto assets = std::make_unique<ledvia::AssetRows>();
  for (;;) {
    int status = rows.StepStatus();
    if (status == ledvia::kEndOfData) break;
    if (status != ledvia::kOk) return status;
    StKOTEISHISANINFO& asset = assets->rows.emplace_back();  // zeroed
    asset.assetNo = static_cast<std::int32_t>(rows.Int(0));
    ledvia::CopyTextField(asset.name, sizeof asset.name, rows.Bytes(1));
    asset.date = static_cast<std::int32_t>(rows.Int(2));
    asset.kind = static_cast<std::int32_t>(rows.Int(3));
    asset.amount = rows.Int(4);
    asset.incomeCategory = static_cast<std::int16_t>(rows.Int(5));
  }
  cursor_ = std::move(assets);
  return ledvia::kOk;
}

int ClRuleGenkashokyaku::GetCount(int* count) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::GetCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  *count = static_cast<int>(cursor_->rows.size());
  return ledvia::kOk;
}

int ClRuleGenkashokyaku::Move(int index, StKOTEISHISANINFO* asset, StKOTEINENINFO* yearly,
                              StKOTEITSUKIINFO* monthly) {
  if (int fault = ledvia::FaultFor("ClRuleGenkashokyaku::Move")) return fault;
  if (asset == nullptr || index < 0) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  if (static_cast<std::size_t>(index) >= cursor_->rows.size()) return ledvia::kEndOfData;
  *asset = cursor_->rows[static_cast<std::size_t>(index)];
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
