// Stage 5: the corporate refund statement.
#include <algorithm>
#include <cstring>
#include <memory>

#include "accounting/ClAccPeriod.h"
#include "accounting/ClRuleGenkashokyaku.h"
#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClSetData.h"
#include "aggregate/AddTax.h"
#include "aggregate/amount.h"
#include "aggregate/asset_walk.h"
#include "aggregate/engine_finds.h"
#include "aggregate/engine_guards.h"
#include "aggregate/engine_rules.h"
#include "aggregate/engine_sums.h"
#include "aggregate/month_span.h"

int AggregationEngine::SumCorporateStatement(TaxTotals& totals, const StDATAINFO& data,
                                             const StSHOHIZEIINFO& taxSettings) {
  if (data.entityKind != 0 && data.entityKind != 1) return 1;
  bool taxInclusive = taxSettings.taxInclusive != 0;
  progress_.ResetActivity();
  if (!SumCorporateAccounts(totals, taxInclusive)) return 0;
  if (!SumCorporateJournal(totals, taxInclusive)) return 0;
  return SumCorporateAssets(totals, data);
}

bool AggregationEngine::SumCorporateAccounts(TaxTotals& totals, bool taxInclusive) {
  ClRuleKamoku* rule = CachedRule(accountSumRule_);
  if (rule == nullptr) return Failed(0);
  WalkFinish<ClRuleKamoku> finish(*rule);
  int count = 0;
  int code = rule->MoveReady(1, 0, 0, monthFind_.data(), nullptr, 0);
  if (code == 0) code = rule->GetSumCount(&count);
  if (code == 0) code = rule->SetMovePos(0);
  if (code != 0) return Failed(code);
  MonthSpan span = SpanOf(monthFind_);
  StKAMOKUSUMINFO sum;
  for (int i = 0; i < count; ++i) {
    progress_.StepActivity(1);
    std::memset(&sum, 0, sizeof sum);
    code = rule->MoveNext(&sum);
    if (code != 0) break;
    if (sum.skip126 == 1 || sum.skip128 == 1) continue;
    StatementLine* line =
        CorporateAccountSumLine(totals, static_cast<std::uint32_t>(sum.classCode), sum.totalFlag);
    if (line == nullptr) continue;
    AddTo(line->settled,
          DebitTotal(sum, span, taxInclusive) - CreditTotal(sum, span, taxInclusive));
  }
  return WalkEndedWell(code) || Failed(code);
}

bool AggregationEngine::SumCorporateJournal(TaxTotals& totals, bool taxInclusive) {
  ClRuleShiwake* rule = CachedRule(journalRule_);
  if (rule == nullptr) return Failed(0);
  if (!BuildAccountList(AccountListType::kCorporate)) return false;
  JournalFind find = BuildJournalFind(monthFind_);
  int count = 0;
  // A count or a walk that cannot be had would leave the lines short without a word.
  int code = rule->GetSwkCount(find.data(), nullptr, &count);
  if (code != 0) return Failed(code);
  // Of the entries found only the sides in the non-taxable set add anything, and every such
  // side belongs to an entry found: their sums by account, from the business core's running
  // totals, give the lines what a walk of the entries gives them, at a cost that does not grow
  // with the journal.
  WalkFinish<ClRuleShiwake> finish(*rule);
  code = rule->MoveReadySideSum(BuildNonTaxableSideFind(monthFind_).data());
  if (code != 0) return Failed(code);
  StSWKSIDESUMINFO sum;
  while (true) {
    std::memset(&sum, 0, sizeof sum);
    code = rule->MoveNextSideSum(&sum);
    if (code != 0) break;
    if (!InNonTaxableSet(sum.category)) continue;
    Amount amount = SideAmount(sum.amount, sum.tax, taxInclusive);
    if (sum.side == kSwkSideCredit) amount = Amount() - amount;
    for (const StKAMOKUINFO& account : accountList_) {
      if (account.accountCode != sum.account) continue;
      if (StatementLine* line =
              CorporateJournalLine(totals, static_cast<std::uint32_t>(account.classCode))) {
        AddTo(line->nonTaxable, amount);
      }
    }
  }
  if (!WalkEndedWell(code)) return Failed(code);
  // The lower bar ends where a walk of the entries found leaves it: a step for each entry and
  // one for each listed account it was matched against.
  progress_.StepActivity(static_cast<std::int64_t>(count) *
                         (1 + static_cast<std::int64_t>(accountList_.size())));
  return true;
}

int AggregationEngine::SumCorporateAssets(TaxTotals& totals, const StDATAINFO& data) {
  ClRuleGenkashokyaku* rule = CachedRule(assetRule_);
  if (rule == nullptr) return Failed(0);
  auto* dataSet = SetObject<ClSetData>(kDataSet);
  ClAccPeriod* taken = nullptr;
  int code = dataSet != nullptr ? dataSet->GetAccPeriod(&taken) : 0;
  std::unique_ptr<ClAccPeriod> period(taken);
  // Without the period calendar no asset can be placed in the range.
  if (period == nullptr) return Failed(code);

  int monthStart = 0;
  int monthEnd = 0;
  code = period->GetPeriodByMonthKind(monthFind_.FirstIndex(), &monthStart, &monthEnd, 0);
  if (code != 0) return Failed(code);
  // Assets bought before the period began belong to an earlier year, even when the first
  // accounting month started before the period did.
  int startDate = std::max(monthStart, data.periodStart);
  code = period->GetPeriodByMonthKind(monthFind_.LastIndex(), &monthStart, &monthEnd, 0);
  if (code != 0 && monthFind_.Includes(18)) {
    code = period->GetPeriodByMonthKind(18, &monthStart, &monthEnd, 0);
  }
  // A range the calendar cannot end would count no asset at all.
  if (code != 0) return Failed(code);
  code = WalkAssets(
      *rule, BuildAssetFind(startDate, monthEnd), progress_, [&](const StKOTEISHISANINFO& asset) {
        AddTo(asset.kind == kAssetKindDeferred ? totals.deferredAssets : totals.fixedAssets,
              Amount::FromFixed(asset.amount));
      });
  return code == 0 ? 1 : Failed(code);
}
