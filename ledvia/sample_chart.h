// The chart of accounts shared by the sample companies and the generated ones, and small
// helpers that book balanced entries on it.
#pragma once

#include "ledvia/company_writer.h"

namespace ledvia::chart {

// Account codes of the chart.
enum : int {
  kCash = 100,
  kBank = 110,
  kReceivable = 130,
  kSecuritiesHeld = 140,
  kPrepaidTax = 190,
  kFixedAssetAccount = 200,
  kDeferredAssetAccount = 205,
  kPayable = 210,
  kSales = 400,
  kOtherIncome = 410,
  kOpeningStock = 500,
  kPurchases = 510,
  kPurchaseDiscounts = 511,
  kPurchaseReturns = 512,
  kOutsourcing = 515,
  kClosingStock = 520,
  kCostOfSalesTotal = 550,
  kMaterials = 551,
  kSgaTotal = 600,
  kSalaries = 610,
  kTravel = 620,
  kCommunication = 630,
  kSupplies = 640,
  kFees = 650,
  kRent = 660,
  kBadDebtLoss = 670,
  kNonOperatingTotal = 700,
  kInterest = 710,
  kExtraordinaryTotal = 800,
  kExtraordinaryLoss = 810,
  kMiscLoss = 820,
  kAssetSaleGain = 850,
  kAssetSaleLoss = 860,
  kRetiredSalaries = 990,
  kSundry = 991,
};

int AddChart(CompanyWriter& writer, int dataNo);

// Tax of a tax-excluded yen amount at `rate` hundredths of a percent, truncated.
constexpr std::int64_t TaxOf(std::int64_t yen, int rate) { return yen * rate / 10000; }

// A sale booked tax-excluded: receivable / `account` with tax.
EntrySpec Sale(int date, std::int64_t yen, int rate, int reduced, int businessType,
               int category = 1, int account = kSales, int dept = 0);
// A purchase or expense booked tax-excluded: `account` with tax / payable.
EntrySpec Purchase(int date, std::int64_t yen, int rate, int reduced, int category = 21,
                   int account = kPurchases, int dept = 0);

}  // namespace ledvia::chart
