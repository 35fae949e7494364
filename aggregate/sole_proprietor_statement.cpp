// Stage 6: the sole proprietor's refund statement, by income category.
#include <cstring>
#include <memory>

#include "accounting/ClAccPeriod.h"
#include "accounting/ClRuleGenkashokyaku.h"
#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClSetBumon.h"
#include "accounting/ClSetData.h"
#include "aggregate/AddTax.h"
#include "aggregate/asset_walk.h"
#include "aggregate/engine_finds.h"
#include "aggregate/engine_guards.h"
#include "aggregate/engine_rules.h"
#include "aggregate/engine_sums.h"
#include "aggregate/income_category.h"
#include "aggregate/month_span.h"

namespace {

// The members an amount of `group` goes to, for each income category it passes.
struct Members {
  StatementLine* business = nullptr;
  StatementLine* realEstate = nullptr;
  StatementLine* other = nullptr;
};

Members MembersOf(TaxTotals& totals, SoleProprietorGroup group) {
  switch (group) {
    case SoleProprietorGroup::kPurchases:
      return {&totals.businessPurchases, nullptr, &totals.otherIncomePurchases};
    case SoleProprietorGroup::kExpenses:
      return {&totals.businessExpenses, &totals.realEstateExpenses, &totals.otherIncomeExpenses};
    case SoleProprietorGroup::kNone:
      break;
  }
  return {};
}

// Adds `amount` to the chosen field of every member the categories select.
void AddToSelected(const Members& members, const IncomeCategories& categories,
                   std::int64_t StatementLine::*field, const Amount& amount) {
  if (categories.business && members.business != nullptr) AddTo(members.business->*field, amount);
  if (categories.realEstate && members.realEstate != nullptr) {
    AddTo(members.realEstate->*field, amount);
  }
  if (categories.other && members.other != nullptr) AddTo(members.other->*field, amount);
}

// The department of `code`, looked up afresh; a cleared record when there is none, so that a
// line booked without a department (or to one that is gone) never takes the category of the
// line looked up before it.
void LookUpDepartment(ClSetBumon& departments, SETCURSOR cursor, std::int32_t code,
                      StBUMONINFO* department) {
  std::memset(department, 0, sizeof *department);
  departments.ReadyCursor(cursor);
  if (departments.GetInfoByCode(cursor, code, department) != 0) {
    std::memset(department, 0, sizeof *department);
  }
}

}  // namespace

int AggregationEngine::SumSoleProprietorStatement(TaxTotals& totals, const StDATAINFO& data,
                                                  const StSHOHIZEIINFO& taxSettings) {
  if (data.entityKind != 3 && data.entityKind != 4) return 1;
  bool taxInclusive = taxSettings.taxInclusive != 0;
  progress_.ResetActivity();
  auto* departments = SetObject<ClSetBumon>(kDepartmentsSet);
  if (departments == nullptr) return Failed(0);
  int count = 0;
  // Which departments there are decides every category: without them nothing can be summed.
  if (int code = departments->GetBmnCount(&count, 0)) return Failed(code);
  if (count != 0) {
    SetCursorHold<ClSetBumon> cursor(*departments);
    int code = cursor.Open();
    if (code == 0) code = departments->ReadyCursor(cursor.cursor());
    StBUMONINFO department;
    while (code == 0) {
      std::memset(&department, 0, sizeof department);
      code = departments->Walk(&department, cursor.cursor());
      if (code == 0 && !SumDepartment(&department, totals, data, taxInclusive)) return 0;
    }
    if (code != kEndOfData) return Failed(code);
  } else if (!SumDepartment(nullptr, totals, data, taxInclusive)) {
    return 0;
  }
  if (!SumSoleProprietorJournal(*departments, totals, data, taxInclusive)) return 0;
  return SumSoleProprietorAssets(totals, data) ? 1 : 0;
}

bool AggregationEngine::SumDepartment(const StBUMONINFO* department, TaxTotals& totals,
                                      const StDATAINFO& data, bool taxInclusive) {
  std::unique_ptr<ClRuleKamoku> rule = NewPreparedRule<ClRuleKamoku>();
  if (rule == nullptr) return Failed(0);
  WalkFinish<ClRuleKamoku> finish(*rule);
  bool summing = department != nullptr && (department->kind == 1 || department->kind == 2);
  int code = rule->MoveReady(1, summing ? 4 : 0, 0, monthFind_.data(), department, 0);
  IncomeCategories categories = ClassifyIncome(data.incomeKinds, department != nullptr, department);
  MonthSpan span = SpanOf(monthFind_);
  StKAMOKUSUMINFO sum;
  while (code == 0) {
    std::memset(&sum, 0, sizeof sum);
    code = rule->MoveNext(&sum);
    if (code != 0) break;
    if (sum.skip126 != 0 || sum.skip128 == 1 || sum.totalFlag == 1) continue;
    Members members =
        MembersOf(totals, SoleProprietorGroupOf(static_cast<std::uint32_t>(sum.classCode)));
    if (members.business == nullptr && members.realEstate == nullptr && members.other == nullptr) {
      continue;
    }
    Amount debit = DebitTotal(sum, span, taxInclusive);
    Amount credit = CreditTotal(sum, span, taxInclusive);
    Amount balance = sum.normalSide == 1 ? debit - credit : credit - debit;
    if (sum.normalSide == 2) balance = Amount() - balance;
    AddToSelected(members, categories, &StatementLine::settled, balance);
  }
  return WalkEndedWell(code) || Failed(code);
}

bool AggregationEngine::SumSoleProprietorJournal(ClSetBumon& departments, TaxTotals& totals,
                                                 const StDATAINFO& data, bool taxInclusive) {
  ClRuleShiwake* rule = CachedRule(journalRule_);
  if (rule == nullptr) return Failed(0);
  if (!BuildAccountList(AccountListType::kSoleProprietor)) return false;
  JournalFind find = BuildJournalFind(monthFind_);
  int count = 0;
  int code = rule->GetSwkCount(find.data(), nullptr, &count);
  if (code != 0) return Failed(code);
  // As in stage 5: the sides that add anything, summed by account and department (which
  // decides the income category), instead of every entry found.
  WalkFinish<ClRuleShiwake> finish(*rule);
  code = rule->MoveReadySideSum(BuildNonTaxableSideFind(monthFind_).data());
  if (code != 0) return Failed(code);
  SetCursorHold<ClSetBumon> lookup(departments);
  int departmentCount = 0;
  // Without the lookup cursor or the count every line would take the wrong category.
  code = lookup.Open();
  if (code == 0) code = departments.GetBmnCount(&departmentCount, 0);
  if (code != 0) return Failed(code);
  bool withDepartments = departmentCount != 0;

  StSWKSIDESUMINFO sum;
  StBUMONINFO department;
  while (true) {
    std::memset(&sum, 0, sizeof sum);
    code = rule->MoveNextSideSum(&sum);
    if (code != 0) break;
    if (!InNonTaxableSet(sum.category)) continue;
    Amount amount = SideAmount(sum.amount, sum.tax, taxInclusive);
    if (sum.side == kSwkSideCredit) amount = Amount() - amount;
    for (const StKAMOKUINFO& account : accountList_) {
      if (account.accountCode != sum.account) continue;
      auto group = SoleProprietorGroupOf(static_cast<std::uint32_t>(account.classCode));
      if (group == SoleProprietorGroup::kNone) continue;
      LookUpDepartment(departments, lookup.cursor(), sum.dept, &department);
      AddToSelected(MembersOf(totals, group),
                    ClassifyIncome(data.incomeKinds, withDepartments, &department),
                    &StatementLine::nonTaxable, amount);
    }
  }
  return WalkEndedWell(code) || Failed(code);
}

bool AggregationEngine::SumSoleProprietorAssets(TaxTotals& totals, const StDATAINFO& data) {
  auto* dataSet = SetObject<ClSetData>(kDataSet);
  ClAccPeriod* taken = nullptr;
  int code = dataSet != nullptr ? dataSet->GetAccPeriod(&taken) : 0;
  std::unique_ptr<ClAccPeriod> period(taken);
  if (period == nullptr) return Failed(code);
  int startDate = 0;
  int endDate = 0;
  int unused = 0;
  code = period->GetPeriodByMonthKind(monthFind_.FirstIndex(), &startDate, &unused, 0);
  if (code == 0) code = period->GetPeriodByMonthKind(monthFind_.LastIndex(), &unused, &endDate, 0);
  // A range the calendar cannot place would count no asset at all.
  if (code != 0) return Failed(code);
  std::unique_ptr<ClRuleGenkashokyaku> rule = NewPreparedRule<ClRuleGenkashokyaku>();
  if (rule == nullptr) return Failed(0);
  std::uint8_t kinds = data.incomeKinds;
  code = WalkAssets(*rule, BuildAssetFind(startDate, endDate), progress_,
                    [&](const StKOTEISHISANINFO& asset) {
                      Amount amount = Amount::FromFixed(asset.amount);
                      if (kinds == 1 || (kinds == 3 && asset.incomeCategory == 1)) {
                        AddTo(totals.businessFixedAssets.settled, amount);
                      }
                      if (kinds == 2 || (kinds == 3 && asset.incomeCategory == 2)) {
                        AddTo(totals.realEstateFixedAssets.settled, amount);
                      }
                    });
  return code == 0 || Failed(code);
}
