// Test support for the aggregation engine: a company written into the real store, the engine
// working on it, and a recording fake of the progress window.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "accounting/ClDataMgr.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "aggregate/AddTax.h"
#include "aggregate/aggregation_progress.h"
#include "tests/support/company_fixture.h"

namespace engine_testing {

using ledvia::Yen;
namespace chart = ledvia::chart;

// Records the lower-bar calls as letters: R reset, s activity step, W sweep, F full.
class RecordingProgress : public AggregationProgress {
 public:
  void ResetActivity() override { events += 'R'; }
  void StepActivity(std::int64_t steps) override {
    events.append(static_cast<std::size_t>(steps), 's');
  }
  void SweepActivity() override { events += 'W'; }
  void FillActivity() override { events += 'F'; }

  // The events with each run written as its letter and, above one, its length: "R s35 F W".
  std::string Runs() const {
    std::string runs;
    for (std::size_t i = 0; i < events.size();) {
      std::size_t j = i;
      while (j < events.size() && events[j] == events[i]) ++j;
      if (!runs.empty()) runs += ' ';
      runs += events[i];
      if (j - i > 1) runs += std::to_string(j - i);
      i = j;
    }
    return runs;
  }

  std::string events;
};

class EngineTest : public ledvia::testing::OwnCompany {
 protected:
  void TearDown() override {
    engine_.reset();
    OwnCompany::TearDown();
  }

  // `account` on the debit side for `yen` with `taxYen` in `category`; the payable takes the
  // credit side (category 0). Month index 0: the month of the date.
  void Debit(int account, std::int64_t yen, std::int64_t taxYen, int category, int monthIndex,
             int dept = 0) {
    ledvia::EntrySpec entry;
    entry.date = DateOf(monthIndex);
    entry.monthIndex = monthIndex;
    entry.debitAccount = account;
    entry.debitDept = dept;
    entry.debitAmount = Yen(yen);
    entry.debitTax = Yen(taxYen);
    entry.debitCategory = category;
    entry.creditAccount = chart::kPayable;
    entry.creditDept = dept;
    entry.creditAmount = Yen(yen + taxYen);
    entry.rate = taxYen != 0 ? 1000 : 0;
    Add(entry);
  }
  // `account` on the credit side; cash takes the debit side (category 0).
  void Credit(int account, std::int64_t yen, std::int64_t taxYen, int category, int monthIndex,
              int dept = 0) {
    ledvia::EntrySpec entry;
    entry.date = DateOf(monthIndex);
    entry.monthIndex = monthIndex;
    entry.debitAccount = chart::kCash;
    entry.debitDept = dept;
    entry.debitAmount = Yen(yen + taxYen);
    entry.creditAccount = account;
    entry.creditDept = dept;
    entry.creditAmount = Yen(yen);
    entry.creditTax = Yen(taxYen);
    entry.creditCategory = category;
    entry.rate = taxYen != 0 ? 1000 : 0;
    Add(entry);
  }
  void Add(const ledvia::EntrySpec& entry) {
    ASSERT_EQ(writer_.AddEntry(data_.dataNo, entry), 0) << writer_.Error();
  }
  void Asset(int assetNo, int date, int kind, std::int64_t yen, int incomeCategory = 0) {
    ASSERT_EQ(writer_.AddAsset(data_.dataNo, assetNo, "資産", date, kind, Yen(yen), incomeCategory),
              0)
        << writer_.Error();
  }
  void Department(int code, int value, int kind, int incomeCategory) {
    ASSERT_EQ(writer_.AddDepartment(data_.dataNo, code, "部門", value, kind, incomeCategory), 0)
        << writer_.Error();
  }

  // Attaches, reads the data record and tax settings as the run does, and makes the engine with
  // the month find of months `first` to `last` and the adjustments asked for.
  void Start(int first, int last, bool interim = false, bool yearEnd = false) {
    Attach();
    std::memset(&info_, 0, sizeof info_);
    std::memset(&settings_, 0, sizeof settings_);
    auto* dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
    ASSERT_EQ(dataSet->GetSelectedInfo(&info_), 0);
    auto* taxSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
    ASSERT_EQ(taxSet->Get(&settings_), 0);
    engine_ = std::make_unique<AggregationEngine>(progress_);
    engine_->monthFind() = MonthFind::Build(first, last, interim, yearEnd);
    engine_->SetTaxationKind(settings_.taxationKind);
    totals_.Allocate(kRateSlotCount);
  }

  int Corporate() { return engine_->SumCorporateStatement(totals_, info_, settings_); }
  int SoleProprietor() { return engine_->SumSoleProprietorStatement(totals_, info_, settings_); }

  RecordingProgress progress_;
  std::unique_ptr<AggregationEngine> engine_;
  TaxTotals totals_;
  StDATAINFO info_;
  StSHOHIZEIINFO settings_;

 private:
  // A date in month index `monthIndex` of an April-to-March year (the adjustments: its end).
  static int DateOf(int monthIndex) {
    if (monthIndex == 15) return 20200930;
    if (monthIndex == 18 || monthIndex == 0) return 20210331;
    int month = (monthIndex + 2) % 12 + 1;
    return (month >= 4 ? 20200000 : 20210000) + month * 100 + 15;
  }
};

}  // namespace engine_testing
