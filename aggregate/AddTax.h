// The aggregation engine: answers the run's two questions about the journal entries of a month
// range and fills TaxTotals from the open accounting data in four stages. It reads the data
// only through the business core (rule objects, set objects) and never writes to it.
//
// The engine is the working state of the progress window: ui/ProgressDialog owns one, reports
// the engine's progress on its lower bar (AggregationProgress), empties the account list when
// its window is destroyed and releases the engine with itself. The run sets the month find and
// the taxation kind, asks the two checks, and then calls the stages in order:
// SumTaxByRate, SumSpecialAccounts, SumCorporateStatement, SumSoleProprietorStatement.
//
// Stages return 1 for success and 0 for failure. A failed stage leaves its figures short, so
// the run stops there and writes no file; failureCode() tells what failed. An amount
// leaving the data model raises AmountOverflow out of the stage; every walk, cursor, rule and
// period the stage had opened is released first, and the members keep what was added before.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "accounting/StDATAINFO.h"
#include "accounting/StKAMOKUINFO.h"
#include "accounting/StSHOHIZEIINFO.h"
#include "aggregate/aggregation_progress.h"
#include "aggregate/amount.h"
#include "aggregate/month_find.h"
#include "aggregate/statement_groups.h"
#include "aggregate/tax_totals.h"

class ClRuleBase;
class ClRuleGenkashokyaku;
class ClRuleKamoku;
class ClRuleShiwake;
class ClRuleShohizei;
class ClRuleShohizeiShinkoku;
class ClSetBumon;
struct StBUMONINFO;

// Status recorded for a rule object that cannot be created.
constexpr int kRuleNotCreated = -1001;
// Source name and lines under which the sixth-business-type check records its failures.
constexpr const char* kAddTaxSource = "AddTax";
constexpr int kSixthTypeRuleLine = 3808;
constexpr int kSixthTypeCheckLine = 3818;
// HasImportCategoryEntries could not ask the business core.
constexpr int kCheckFailed = -1;

class AggregationEngine {
 public:
  // `progress` must outlive the engine; the engine never calls it while constructed or
  // destroyed.
  explicit AggregationEngine(AggregationProgress& progress);
  AggregationEngine(const AggregationEngine&) = delete;
  AggregationEngine& operator=(const AggregationEngine&) = delete;
  // Releases the account list and every cached rule object.
  ~AggregationEngine();

  // The month range, built by the run (MonthFind::Build); all zero until then.
  MonthFind& monthFind() { return monthFind_; }
  const MonthFind& monthFind() const { return monthFind_; }
  // Byte 0 of the data's tax settings (0 exempt, 1 simplified, 2 general), handed to SumTax.
  void SetTaxationKind(std::uint8_t kind) { taxationKind_ = kind; }
  std::uint8_t taxationKind() const { return taxationKind_; }
  // The main business type (0 none, 1 to 6), kept with the engine's state for the run.
  void SetMainBusinessType(std::uint8_t type) { mainBusinessType_ = type; }
  std::uint8_t mainBusinessType() const { return mainBusinessType_; }

  // Accounts of the list the last stage built (copies of StKAMOKUINFO, not excluded ones).
  const std::vector<StKAMOKUINFO>& accountList() const { return accountList_; }
  // Empties the account list (the progress window does this when it is destroyed).
  void ClearAccountList();

  // Journal entries of the month range with business type 6: `*count` gets their number
  // (above 0 when there are any). Uses a journal rule of its own. Returns what
  // ClMsgMgr::SetLastError returns, having recorded (0, none, 0) on success, (code, "AddTax",
  // 3818) when the library's check fails, (-1001, "AddTax", 3808) when the rule cannot be
  // created (then `*count` is not touched). No progress is shown.
  int CountSixthBusinessTypeEntries(int* count);

  // 1 when the month range holds a journal entry with a debit or credit tax category from 31 to
  // 37 (import payments not split into body, national and local tax), 0 when it holds none,
  // kCheckFailed when the rule cannot be created or the count fails. Uses a journal rule of its
  // own; no progress.
  int HasImportCategoryEntries();

  // The business core's status from the call that made the first failed stage or check fail,
  // or 0 when what failed gave none (a rule or set object that could not be had, a rate count
  // below zero). The run shows the message library's message for it, or one of its own.
  int failureCode() const { return failureCode_; }

  // Stage 3: the per-rate and per-business-type figures. Writes rate, reduced flag and business
  // type of the rate table into the first min(rate count, 5) slots of `totals.rateRecords` and
  // `totals.businessTypeRecords` (one sweep each), has the business core's SumTax add the month
  // range's entries to them, and multiplies the securities sales (offset 33) of every rate
  // record by 20. 0 without tax settings (set object 4), with arrays smaller than the rate
  // count, or when the tax-return rule cannot be created.
  int SumTaxByRate(TaxTotals& totals);

  // Stage 4: `totals.specialAccountSums`: per rate slot, the tax sums of the accounts classified
  // 0x40888000 or 0x40848000, over the month range (every adjustment period the month find
  // names included). 0 when the tax-sum rule cannot be created, the account list cannot be
  // read, there are no tax settings, or a sum cannot be readied, counted or read.
  int SumSpecialAccounts(TaxTotals& totals, const StSHOHIZEIINFO& taxSettings);

  // Stage 5, corporate data (entity kind 0 or 1) only, else 1 at once: goodsPurchases,
  // sellingAdminExpenses, nonOperatingExpenses, otherProfitLoss (settled from the account sums,
  // nonTaxable from journal sides in the non-taxable-purchase set), fixedAssets and
  // deferredAssets (assets dated in the range, not before the data's period start). 0 when a
  // rule cannot be created, a walk cannot be readied, counted or positioned or ends with a
  // failure code, or the period calendar cannot place the range.
  int SumCorporateStatement(TaxTotals& totals, const StDATAINFO& data,
                            const StSHOHIZEIINFO& taxSettings);

  // Stage 6, sole-proprietor data (entity kind 3 or 4) only, else 1 at once: the eight
  // sole-proprietor members by income category (see income_category.h): settled from the
  // account sums of each department (or of the whole data without departments), nonTaxable from
  // journal sides, and the fixed assets. 0 at the first part that fails.
  int SumSoleProprietorStatement(TaxTotals& totals, const StDATAINFO& data,
                                 const StSHOHIZEIINFO& taxSettings);

 private:
  // The rule in `slot`, created and prepared on first use; nullptr when it cannot be created.
  // Defined in aggregate/engine_rules.h.
  template <typename Rule>
  Rule* CachedRule(std::unique_ptr<Rule>& slot);
  // A prepared rule object of the caller's own; nullptr when it cannot be created.
  template <typename Rule>
  static std::unique_ptr<Rule> NewPreparedRule();
  // AttachSetMgr, SetCurDataID with the selected data's id, AttachOptLink (results are not
  // examined: a rule that was refused reports it at its first call).
  static void PrepareRule(ClRuleBase& rule);

  // Rebuilds the account list of `type` (one activity step per account read, then the lower
  // bar full). False when the accounts could not be walked to their end.
  bool BuildAccountList(AccountListType type);
  // Keeps `code` as the failure code unless one is kept already; false, for `return
  // Failed(code);` where a part of a stage ends.
  bool Failed(int code);

  // Parts of stage 5.
  bool SumCorporateAccounts(TaxTotals& totals, bool taxInclusive);
  bool SumCorporateJournal(TaxTotals& totals, bool taxInclusive);
  int SumCorporateAssets(TaxTotals& totals, const StDATAINFO& data);

  // Parts of stage 6.
  bool SumDepartment(const StBUMONINFO* department, TaxTotals& totals, const StDATAINFO& data,
                     bool taxInclusive);
  bool SumSoleProprietorAccounts(ClSetBumon& departments, TaxTotals& totals, const StDATAINFO& data,
                                 bool taxInclusive);
  bool SumSoleProprietorJournal(ClSetBumon& departments, TaxTotals& totals, const StDATAINFO& data,
                                bool taxInclusive);
  bool SumSoleProprietorAssets(TaxTotals& totals, const StDATAINFO& data);

  AggregationProgress& progress_;
  MonthFind monthFind_;
  std::uint8_t taxationKind_ = 0;
  std::uint8_t mainBusinessType_ = 0;
  int failureCode_ = 0;
  std::unique_ptr<ClRuleShohizeiShinkoku> taxReturnRule_;
  std::unique_ptr<ClRuleShohizei> taxSumRule_;
  std::unique_ptr<ClRuleShiwake> journalRule_;
  std::unique_ptr<ClRuleKamoku> accountSumRule_;
  std::unique_ptr<ClRuleGenkashokyaku> assetRule_;
  std::vector<StKAMOKUINFO> accountList_;
};
