#include "aggregate/AddTax.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "accounting/ClLinkMgr.h"
#include "accounting/ClMsgMgr.h"
#include "accounting/ClRuleGenkashokyaku.h"
#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClRuleShohizei.h"
#include "accounting/ClRuleShohizeiShinkoku.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetKamoku.h"
#include "accounting/ClSetShohizei.h"
#include "accounting/StTAXSUMINFO.h"
#include "aggregate/amount.h"
#include "aggregate/engine_finds.h"
#include "aggregate/engine_guards.h"
#include "aggregate/engine_rules.h"
#include "aggregate/engine_sums.h"

namespace {

constexpr int kSixthBusinessType = 6;

// The id field is 16 bytes and may fill them all.
struct DataIdText {
  char text[sizeof StDATAINFO::dataId + 1] = {};
};

DataIdText SelectedDataId() {
  DataIdText id;
  StDATAINFO data;
  std::memset(&data, 0, sizeof data);
  if (auto* dataSet = SetObject<ClSetData>(kDataSet)) dataSet->GetSelectedInfo(&data);
  std::memcpy(id.text, data.dataId, sizeof data.dataId);
  return id;
}

bool SameCodeText(const char (&a)[16], const char (&b)[16]) {
  return std::strncmp(a, b, sizeof a) == 0;
}

}  // namespace

AggregationEngine::AggregationEngine(AggregationProgress& progress) : progress_(progress) {}

AggregationEngine::~AggregationEngine() = default;

void AggregationEngine::ClearAccountList() {
  accountList_.clear();
  accountList_.shrink_to_fit();
}

void AggregationEngine::PrepareRule(ClRuleBase& rule) {
  rule.AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
  rule.SetCurDataID(SelectedDataId().text);
  rule.AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
}

bool AggregationEngine::Failed(int code) {
  if (failureCode_ == 0) failureCode_ = code;
  return false;
}

bool AggregationEngine::BuildAccountList(AccountListType type) {
  accountList_.clear();
  std::vector<StFINDINFO> find = BuildClassificationFind(AccountListCodes(type));
  constexpr int kNoAccountSet = -1;
  int code = kNoAccountSet;
  if (auto* accounts = SetObject<ClSetKamoku>(kAccountsSet)) {
    SetCursorHold<ClSetKamoku> cursor(*accounts);
    code = cursor.Open();
    if (code == 0) code = accounts->ReadyCursor(cursor.cursor());
    StKAMOKUINFO info;
    while (code == 0) {
      std::memset(&info, 0, sizeof info);
      code = accounts->WalkFind(find.data(), &info, cursor.cursor());
      if (code != 0) break;
      progress_.StepActivity(1);
      if (info.excluded == 0) accountList_.push_back(info);
    }
  }
  progress_.FillActivity();
  return code == kEndOfData || Failed(code == kNoAccountSet ? 0 : code);
}

int AggregationEngine::CountSixthBusinessTypeEntries(int* count) {
  std::unique_ptr<ClRuleShiwake> rule = NewPreparedRule<ClRuleShiwake>();
  if (rule == nullptr) {
    return ClMsgMgr::Inst()->SetLastError(kRuleNotCreated, kAddTaxSource, kSixthTypeRuleLine);
  }
  int code = rule->CheckExistSwkByJigyoBunrui(monthFind_.data(), kSixthBusinessType, count);
  rule.reset();
  if (code == 0) return ClMsgMgr::Inst()->SetLastError(0, nullptr, 0);
  return ClMsgMgr::Inst()->SetLastError(code, kAddTaxSource, kSixthTypeCheckLine);
}

int AggregationEngine::HasImportCategoryEntries() {
  std::unique_ptr<ClRuleShiwake> rule = NewPreparedRule<ClRuleShiwake>();
  if (rule == nullptr) return kCheckFailed;
  ImportCheckFind find = BuildImportCheckFind(monthFind_);
  int count = 0;
  int code = rule->GetSwkCount(find.data(), nullptr, &count);
  if (code != 0) {
    Failed(code);
    return kCheckFailed;
  }
  return count != 0 ? 1 : 0;
}

int AggregationEngine::SumTaxByRate(TaxTotals& totals) {
  auto* taxSet = SetObject<ClSetShohizei>(kTaxSettingsSet);
  if (taxSet == nullptr) return 0;
  int rateCount = taxSet->GetTaxRateCount();
  if (rateCount < 0) return Failed(rateCount);
  // SumTax fills one record per rate the settings know: smaller arrays would be overrun.
  if (totals.SlotCount() < rateCount ||
      totals.businessTypeRecords.size() <
          static_cast<std::size_t>(totals.SlotCount()) * kBusinessTypeCount) {
    return 0;
  }
  int tableSlots = std::min(rateCount, kRateSlotCount);
  for (int r = 0; r < tableSlots; ++r) {
    const TaxRateSlot& slot = TaxRateTable()[static_cast<std::size_t>(r)];
    StTAXREPORTRATEINFO& record = totals.rateRecords[static_cast<std::size_t>(r)];
    record.rate = slot.rate;
    record.reduced = slot.reduced;
    for (int k = 0; k < kBusinessTypeCount; ++k) {
      StTAXREPORTBUSINESSTYPEINFO& type =
          totals.businessTypeRecords[static_cast<std::size_t>(r * kBusinessTypeCount + k)];
      type.rate = slot.rate;
      type.reduced = slot.reduced;
      type.businessType = static_cast<std::uint8_t>(k + 1);
    }
    progress_.SweepActivity();
  }
  ClRuleShohizeiShinkoku* rule = CachedRule(taxReturnRule_);
  if (rule == nullptr) return 0;
  int code = rule->SumTax(taxationKind_, monthFind_.data(), totals.rateRecords.data(),
                          totals.businessTypeRecords.data());
  if (code != 0) return Failed(code);
  ApplySecuritiesAdjustment(totals);
  return 1;
}

int AggregationEngine::SumSpecialAccounts(TaxTotals& totals, const StSHOHIZEIINFO& taxSettings) {
  ClRuleShohizei* rule = CachedRule(taxSumRule_);
  if (rule == nullptr) return 0;
  progress_.ResetActivity();
  if (!BuildAccountList(AccountListType::kSpecial)) return 0;
  auto* taxSet = SetObject<ClSetShohizei>(kTaxSettingsSet);
  if (taxSet == nullptr) return 0;
  int slots = std::clamp(taxSet->GetTaxRateCount(), 0, kRateSlotCount);
  // The tax-sum rule takes one adjustment period as the last month; the months a first window
  // covers (the regular months and the first adjustment) are followed by one window of its own
  // for each further adjustment, so that nothing is counted twice.
  std::vector<int> adjustments = monthFind_.Adjustments();
  std::vector<std::pair<int, int>> windows = {
      {monthFind_.FirstIndex(), adjustments.empty() ? monthFind_.LastIndex() : adjustments[0]}};
  for (std::size_t a = 1; a < adjustments.size(); ++a) {
    windows.emplace_back(adjustments[a], adjustments[a]);
  }
  for (int r = 0; r < slots; ++r) {
    const TaxRateSlot& slot = TaxRateTable()[static_cast<std::size_t>(r)];
    std::int64_t& sum = totals.specialAccountSums[static_cast<std::size_t>(r)];
    for (auto [first, last] : windows) {
      WalkFinish<ClRuleShohizei> finish(*rule);
      int count = 0;
      int code = rule->MoveReady(2, first, last, slot.rate, nullptr, taxSettings.taxInclusive,
                                 slot.reduced, 0, 0);
      if (code == 0) code = rule->GetSumInfoCount(&count);
      if (code != 0) return Failed(code);
      StTAXSUMINFO row;
      for (int i = 0; i < count; ++i) {
        progress_.StepActivity(1);
        std::memset(&row, 0, sizeof row);
        // A row that cannot be read would leave the sum short without a word.
        if (int read = rule->MoveNext(&row)) return Failed(read);
        for (const StKAMOKUINFO& account : accountList_) {
          progress_.SweepActivity();
          if (SameCodeText(account.codeText, row.codeText)) {
            AddTo(sum, Amount::FromFixed(row.amount));
          }
        }
      }
    }
  }
  progress_.FillActivity();
  return 1;
}
