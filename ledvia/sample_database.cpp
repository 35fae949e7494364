// The bundled sample: one company data per situation the export program must handle, each
// selected by its own user (user1 .. user12).
#include "ledvia/sample_database.h"

#include <algorithm>
#include <iterator>

#include "accounting/StSaveTaxInfo.h"
#include "ledvia/company_writer.h"
#include "ledvia/sample_chart.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

using namespace chart;  // NOLINT: the chart's account names read best unqualified here

// Amount blocks of the saved return, per rate slot (10, 8K, 8, 5, 3).
constexpr const auto& kSalesBlock = StSaveTaxInfo::kSalesBlock;
constexpr const auto& kPurchasesBlock = StSaveTaxInfo::kPurchasesBlock;
constexpr const auto& kBadDebtBlock = StSaveTaxInfo::kBadDebtBlock;
constexpr const auto& kSimplifiedTypes1To5 = StSaveTaxInfo::kBusinessSalesBlock;
constexpr const auto& kSimplifiedType6 = StSaveTaxInfo::kBusinessSalesType6;

// Each sample data goes through this, so that a failed insert stops the whole build.
class Sample {
 public:
  explicit Sample(CompanyWriter& writer) : writer_(writer) {}
  bool ok() const { return code_ == kOk; }
  int code() const { return code_; }

  void Data(const DataSpec& data) {
    Do(writer_.AddData(data));
    Do(AddChart(writer_, data.dataNo));
    dataNo_ = data.dataNo;
  }
  void Entry(const EntrySpec& entry) { Do(writer_.AddEntry(dataNo_, entry)); }
  // An account of this data only, beside the shared chart.
  void Account(const AccountSpec& account) { Do(writer_.AddAccount(dataNo_, account)); }
  void Asset(int no, const std::string& name, int date, int kind, std::int64_t yen,
             int category = 1) {
    Do(writer_.AddAsset(dataNo_, no, name, date, kind, Yen(yen), category));
  }
  void Department(int code, const std::string& name, int value, int kind, int category) {
    Do(writer_.AddDepartment(dataNo_, code, name, value, kind, category));
  }
  void Saved(std::size_t offset, int width, std::int64_t value) {
    Do(writer_.AddSavedFigure(dataNo_, static_cast<int>(offset), width, value));
  }
  void SavedYen(std::size_t offset, std::int64_t yen) { Saved(offset, 8, Yen(yen)); }
  // The header of a saved return: method, deduction, period, business year, taxable period.
  void SavedHeader(int taxationMethod, int deductionPlusOne, int start, int end,
                   int interimPlusOne) {
    Saved(StSaveTaxInfo::kTaxationMethod, 1, taxationMethod);
    Saved(StSaveTaxInfo::kDeductionMethod, 1, deductionPlusOne);
    Saved(StSaveTaxInfo::kPeriodStart, 4, start);
    Saved(StSaveTaxInfo::kPeriodEnd, 4, end);
    Saved(StSaveTaxInfo::kBusinessYearStart, 4, start);
    Saved(StSaveTaxInfo::kBusinessYearEnd, 4, end);
    Saved(StSaveTaxInfo::kTaxablePeriodStart, 4, start);
    Saved(StSaveTaxInfo::kTaxablePeriodEnd, 4, end);
    Saved(StSaveTaxInfo::kInterimClosing, 1, interimPlusOne);
  }

 private:
  void Do(int code) {
    if (code_ == kOk) code_ = code;
  }
  CompanyWriter& writer_;
  int dataNo_ = 0;
  int code_ = kOk;
};

EntrySpec Adjustment(int date, int monthIndex, int debit, int credit, std::int64_t yen) {
  EntrySpec entry;
  entry.date = date;
  entry.monthIndex = monthIndex;
  entry.summary = "決算整理";
  entry.debitAccount = debit;
  entry.debitAmount = Yen(yen);
  entry.creditAccount = credit;
  entry.creditAmount = Yen(yen);
  return entry;
}

EntrySpec Transfer(int date, int debit, int credit, std::int64_t yen, int debitCategory,
                   int creditCategory, int rate, int reduced = 0) {
  EntrySpec entry;
  entry.date = date;
  entry.summary = "振替";
  entry.debitAccount = debit;
  entry.debitAmount = Yen(yen);
  entry.debitCategory = debitCategory;
  entry.creditAccount = credit;
  entry.creditAmount = Yen(yen);
  entry.creditCategory = creditCategory;
  entry.rate = rate;
  entry.reduced = reduced;
  return entry;
}

// Data 1: general taxation, April to March, individual attribution, every rate and most
// categories, saved figures that match.
void GeneralCorporation(Sample& s) {
  DataSpec data;
  data.dataNo = 1;
  data.dataId = "GEN2019";
  data.companyName = "株式会社ルミナ商事";
  data.periodStart = 20190401;
  data.periodEnd = 20200331;
  data.entityKind = 0;
  data.taxationKind = 2;
  data.deductionMethod = 0;
  s.Data(data);
  // Sales at the standard 8 % until September, then 10 % and the reduced 8 %.
  for (int month = 4; month <= 9; ++month) {
    s.Entry(Sale(20190000 + month * 100 + 25, 1000000, 800, 0, 1));
    s.Entry(Sale(20190000 + month * 100 + 26, 300000, 800, 0, 2));
    s.Entry(Purchase(20190000 + month * 100 + 10, 600000, 800, 0, 21));
  }
  for (int month = 10; month <= 15; ++month) {
    int date = month <= 12 ? 20190000 + month * 100 + 25 : 20200000 + (month - 12) * 100 + 25;
    s.Entry(Sale(date, 1200000, 1000, 0, 1));
    s.Entry(Sale(date, 400000, 800, 1, 2));
    s.Entry(Sale(date, 200000, 1000, 0, 5));
    s.Entry(Purchase(date - 15, 700000, 1000, 0, 21));
    s.Entry(Purchase(date - 14, 150000, 800, 1, 21));
  }
  // Superseded rates: a return on a 5 % sale and a bad debt on a 3 % sale of earlier years.
  EntrySpec oldReturn = Sale(20190520, 50000, 500, 0, 1, 6);
  std::swap(oldReturn.debitAccount, oldReturn.creditAccount);
  std::swap(oldReturn.debitAmount, oldReturn.creditAmount);
  std::swap(oldReturn.debitTax, oldReturn.creditTax);
  std::swap(oldReturn.debitCategory, oldReturn.creditCategory);
  oldReturn.summary = "売上返品";
  s.Entry(oldReturn);
  EntrySpec oldBadDebt = Purchase(20190615, 30000, 300, 0, 9, kBadDebtLoss);
  oldBadDebt.creditAccount = kReceivable;
  oldBadDebt.summary = "貸倒";
  s.Entry(oldBadDebt);
  // Other sales categories at 10 %.
  s.Entry(Sale(20191031, 500000, 1000, 0, 0, 2));                            // export
  s.Entry(Transfer(20191105, kBank, kOtherIncome, 80000, 0, 3, 1000));       // land rent
  s.Entry(Transfer(20191110, kBank, kSecuritiesHeld, 1000000, 0, 4, 1000));  // shares sold
  s.Entry(Sale(20191115, 120000, 1000, 0, 0, 5));  // non-taxable asset export
  EntrySpec salesReturn = Sale(20191120, 40000, 1000, 0, 1, 6);
  std::swap(salesReturn.debitAccount, salesReturn.creditAccount);
  std::swap(salesReturn.debitAmount, salesReturn.creditAmount);
  std::swap(salesReturn.debitTax, salesReturn.creditTax);
  std::swap(salesReturn.debitCategory, salesReturn.creditCategory);
  salesReturn.summary = "売上値引";
  s.Entry(salesReturn);
  EntrySpec badDebt = Purchase(20200110, 100000, 1000, 0, 9, kBadDebtLoss);
  badDebt.creditAccount = kReceivable;
  badDebt.summary = "貸倒";
  s.Entry(badDebt);
  s.Entry(Sale(20200115, 20000, 1000, 0, 0, 10, kOtherIncome));  // bad debt collected
  // Purchases by attribution, returns, expenses.
  s.Entry(Purchase(20191205, 90000, 1000, 0, 22, kSupplies));
  s.Entry(Purchase(20191206, 60000, 1000, 0, 23, kCommunication));
  s.Entry(Purchase(20191207, 45000, 1000, 0, 23, kTravel));
  s.Entry(Purchase(20191208, 300000, 1000, 0, 21, kOutsourcing));
  EntrySpec purchaseReturn = Purchase(20191210, 50000, 1000, 0, 25, kPurchaseReturns);
  std::swap(purchaseReturn.debitAccount, purchaseReturn.creditAccount);
  std::swap(purchaseReturn.debitAmount, purchaseReturn.creditAmount);
  std::swap(purchaseReturn.debitTax, purchaseReturn.creditTax);
  std::swap(purchaseReturn.debitCategory, purchaseReturn.creditCategory);
  purchaseReturn.summary = "仕入返品";
  s.Entry(purchaseReturn);
  // Outside the tax: salaries, interest, rent on land; they count as non-taxable purchases.
  s.Entry(Transfer(20191225, kSalaries, kBank, 2500000, 0, 0, 1000));
  s.Entry(Transfer(20191226, kInterest, kBank, 35000, 24, 0, 1000));
  s.Entry(Transfer(20191227, kRent, kBank, 150000, 24, 0, 1000));
  s.Entry(Transfer(20200131, kMiscLoss, kCash, 8000, 30, 0, 1000));
  s.Entry(Transfer(20191130, kMaterials, kPayable, 70000, 0, 0, 1000));
  // Imports: customs value, national and local consumption tax split; one payment whose
  // split is not yet entered (category 33) in March.
  s.Entry(Transfer(20200205, kPurchases, kPayable, 1000000, 24, 0, 1000));
  s.Entry(Transfer(20200205, kPrepaidTax, kBank, 78000, 38, 0, 1000));
  s.Entry(Transfer(20200205, kPrepaidTax, kBank, 22000, 41, 0, 1000));
  s.Entry(Transfer(20200310, kPrepaidTax, kBank, 55000, 33, 0, 1000));
  // Sales of fixed assets (the special accounts) at 10 % and 8 %.
  s.Entry(Sale(20190830, 250000, 800, 0, 0, 1, kAssetSaleGain));
  s.Entry(Sale(20200220, 180000, 1000, 0, 0, 1, kAssetSaleGain));
  s.Entry(Purchase(20200221, 60000, 1000, 0, 21, kAssetSaleLoss));
  // Fixed and deferred assets, one bought just before the period.
  s.Entry(Purchase(20190710, 800000, 800, 0, 21, kFixedAssetAccount));
  s.Entry(Purchase(20191015, 400000, 1000, 0, 21, kDeferredAssetAccount));
  s.Asset(1, "応接セット", 20190710, 1, 800000);
  s.Asset(2, "開業費", 20191015, 9, 400000);
  s.Asset(3, "複合機", 20190315, 1, 500000);
  s.Asset(4, "社用車", 20200301, 2, 2000000);
  // Year-end adjustment (month index 18): stock.
  s.Entry(Adjustment(20200331, 18, kClosingStock, kOpeningStock, 3000000));
  s.Entry(Adjustment(20200331, 18, kOpeningStock, kPurchases, 1200000));

  s.SavedHeader(1, 1, 20190401, 20200331, 1);
  s.Saved(StSaveTaxInfo::kSalesTaxCalc, 1, 1);
  s.Saved(StSaveTaxInfo::kTransitionalAssets, 1, 1);
  s.SavedYen(kSalesBlock[0] + 0, 9600000);
  s.SavedYen(kSalesBlock[0] + 8, 960000);
  s.SavedYen(kSalesBlock[0] + 16, 10560000);
  s.SavedYen(kSalesBlock[0] + 24, 500000);
  s.SavedYen(kSalesBlock[0] + 32, 50000);  // securities: 5 % of the price
  s.SavedYen(kSalesBlock[0] + 40, 80000);
  s.SavedYen(kSalesBlock[1] + 0, 2400000);
  s.SavedYen(kSalesBlock[1] + 8, 192000);
  s.SavedYen(kSalesBlock[1] + 16, 2592000);
  s.SavedYen(kSalesBlock[2] + 0, 7800000);
  s.SavedYen(kSalesBlock[2] + 8, 624000);
  s.SavedYen(kSalesBlock[2] + 16, 8424000);
  s.SavedYen(kSalesBlock[3] + 48, 50000);
  s.SavedYen(kPurchasesBlock[0] + 0, 5500000);
  s.SavedYen(kPurchasesBlock[0] + 8, 550000);
  s.SavedYen(kPurchasesBlock[0] + 16, 6050000);
  s.SavedYen(kPurchasesBlock[0] + 80, 78000);
  s.SavedYen(kPurchasesBlock[2] + 0, 4400000);
  s.SavedYen(kBadDebtBlock[0] + 0, 100000);
  s.SavedYen(kBadDebtBlock[0] + 8, 10000);
  s.SavedYen(kBadDebtBlock[0] + 16, 110000);
  s.SavedYen(kBadDebtBlock[4] + 0, 30000);
  s.SavedYen(StSaveTaxInfo::kSpecifiedPurchaseTaxable[0], 120000);
  s.SavedYen(StSaveTaxInfo::kExemptionChangeTaxable[0], 15000);
  s.Saved(StSaveTaxInfo::kRefundClassSoleProprietor, 1, 2);
  s.Saved(StSaveTaxInfo::kRefundClassCorporateSettled, 1, 2);
  s.Saved(StSaveTaxInfo::kRefundClassCorporateAssets, 1, 2);
  for (int i = 0; i < StSaveTaxInfo::kRefundAmountCount; ++i) {
    s.SavedYen(StSaveTaxInfo::kRefundAmounts + 8 * static_cast<std::size_t>(i), 100000 * (i + 1));
  }
}

// Data 2: simplified taxation whose period starts before 2015-04-01, with entries of the
// sixth business type before and after that day; figures saved under general taxation.
void SimplifiedCorporation(Sample& s) {
  DataSpec data;
  data.dataNo = 2;
  data.dataId = "SIM2014";
  data.companyName = "有限会社ソラ不動産";
  data.periodStart = 20141001;
  data.periodEnd = 20150930;
  data.entityKind = 1;
  data.taxationKind = 1;
  data.mainBusinessType = 1;
  s.Data(data);
  for (int month = 10; month <= 21; ++month) {
    int year = month <= 12 ? 2014 : 2015;
    int calendarMonth = month <= 12 ? month : month - 12;
    int day = year * 10000 + calendarMonth * 100;
    s.Entry(Sale(day + 10, 500000, 800, 0, 1));
    s.Entry(Sale(day + 12, 200000, 800, 0, 2));
    s.Entry(Sale(day + 14, 100000, 800, 0, 5));
  }
  s.Entry(Sale(20150320, 300000, 800, 0, 6));  // sixth type before 2015-04-01
  s.Entry(Sale(20150520, 300000, 800, 0, 6));  // and after
  s.Entry(Sale(20141120, 80000, 800, 0, 3));
  s.Entry(Sale(20150115, 60000, 800, 0, 4));
  EntrySpec typedReturn = Sale(20150210, 20000, 800, 0, 1, 6);
  std::swap(typedReturn.debitAccount, typedReturn.creditAccount);
  std::swap(typedReturn.debitAmount, typedReturn.creditAmount);
  std::swap(typedReturn.debitTax, typedReturn.creditTax);
  std::swap(typedReturn.debitCategory, typedReturn.creditCategory);
  s.Entry(typedReturn);
  s.Entry(Sale(20141015, 40000, 500, 0, 2));  // a sale under the old rate's transition
  s.SavedHeader(1, 1, 20141001, 20150930, 1);
  s.SavedYen(kSimplifiedTypes1To5[2] + 0, 6000000);
  s.SavedYen(kSimplifiedType6[2] + 0, 600000);
}

// Data 3: a sole proprietor with business and real-estate income kept by departments of
// every kind and income category; tax-inclusive books.
void SoleProprietor(Sample& s) {
  DataSpec data;
  data.dataNo = 3;
  data.dataId = "IND2019";
  data.companyName = "山田　太郎";
  data.periodStart = 20190101;
  data.periodEnd = 20191231;
  data.entityKind = 3;
  data.incomeKinds = 3;
  data.taxationKind = 2;
  data.deductionMethod = 1;
  data.taxInclusive = 1;
  data.roundingMode = 1;
  s.Data(data);
  s.Department(1, "本店", 5, 0, 1);        // business
  s.Department(2, "賃貸部", 3, 0, 3);      // real estate
  s.Department(3, "共通部門", 0, 1, 3);    // kind 1, value 0: business and real estate
  s.Department(4, "家事関連", 7, 1, 1);    // kind 1, value not 0: other income
  s.Department(5, "雑所得部門", 2, 2, 2);  // kind 2: other income
  s.Department(6, "山林部門", 4, 0, 4);    // other income
  for (int dept = 1; dept <= 6; ++dept) {
    int date = 20190300 + dept * 3;
    s.Entry(Sale(date, 100000 * dept, 800, 0, 0, 1, kSales, dept));
    s.Entry(Purchase(date + 1, 50000 * dept, 800, 0, 21, kPurchases, dept));
    s.Entry(Purchase(date + 2, 20000 * dept, 800, 0, 23, kSupplies, dept));
    s.Entry(Transfer(date + 3, kInterest, kBank, 5000 * dept, 24, 0, 800));
    s.Entry(Transfer(date + 4, kRent, kBank, 30000 * dept, 0, 0, 800));
  }
  s.Entry(Transfer(20191110, kRent, kBank, 40000, 24, 0, 1000));
  s.Entry(Purchase(20191120, 90000, 1000, 0, 21, kPurchases, 0));
  EntrySpec byDept = Transfer(20191201, kSalaries, kBank, 200000, 0, 0, 1000);
  byDept.debitDept = 3;
  s.Entry(byDept);
  s.Asset(1, "店舗内装", 20190501, 1, 1500000, 1);
  s.Asset(2, "賃貸用エアコン", 20190801, 1, 300000, 2);
  s.Asset(3, "パソコン", 20181201, 1, 200000, 1);
}

void ExemptCorporation(Sample& s) {
  DataSpec data;
  data.dataNo = 4;
  data.dataId = "EXM2019";
  data.companyName = "合同会社ミナト工房";
  data.periodStart = 20190401;
  data.periodEnd = 20200331;
  data.taxationKind = 0;
  s.Data(data);
  s.Entry(Sale(20190510, 300000, 800, 0, 0));
  s.Entry(Purchase(20190520, 100000, 800, 0, 21));
  // Figures saved under the general method, as the return screen does for exempt data.
  s.SavedHeader(1, 1, 20190401, 20200331, 1);
}

void PastResults(Sample& s) {
  DataSpec data;
  data.dataNo = 5;
  data.dataId = "OLD2018";
  data.companyName = "株式会社ルミナ商事（過年度）";
  data.periodStart = 20180401;
  data.periodEnd = 20190331;
  data.dataKind = 99;
  s.Data(data);
  s.Entry(Sale(20180601, 900000, 800, 0, 1));
}

// Data 6: interim closing at the end of month index 6, with adjustments in month indices 15
// and 18; figures saved while the data had no interim closing.
void InterimClosing(Sample& s) {
  DataSpec data;
  data.dataNo = 6;
  data.dataId = "INT2020";
  data.companyName = "株式会社カナデ製作所";
  data.periodStart = 20200401;
  data.periodEnd = 20210331;
  data.interimClosing = 1;
  data.deductionMethod = 1;
  s.Data(data);
  for (int month = 4; month <= 15; ++month) {
    int date = month <= 12 ? 20200000 + month * 100 + 20 : 20210000 + (month - 12) * 100 + 20;
    s.Entry(Sale(date, 800000, 1000, 0, 3));
    s.Entry(Purchase(date - 5, 300000, 1000, 0, 23, kMaterials));
  }
  s.Entry(Adjustment(20200930, 15, kClosingStock, kOpeningStock, 500000));
  s.Entry(Transfer(20200930, kSupplies, kPayable, 10000, 23, 0, 1000));
  EntrySpec interimPurchase = Purchase(20200930, 70000, 1000, 0, 22, kPurchases);
  interimPurchase.monthIndex = 15;
  s.Entry(interimPurchase);
  s.Entry(Adjustment(20210331, 18, kClosingStock, kOpeningStock, 900000));
  s.Asset(1, "旋盤", 20200915, 1, 3000000);
  s.SavedHeader(1, 2, 20200401, 20210331, 1);
}

// Data 7: a calendar year that closes on the 20th: 2019-12-21 to 2020-12-20, lump-sum
// proportional; the saved figures belong to the previous year.
void CalendarYear(Sample& s) {
  DataSpec data;
  data.dataNo = 7;
  data.dataId = "CAL2020";
  data.companyName = "株式会社ハルカ食品";
  data.periodStart = 20191221;
  data.periodEnd = 20201220;
  data.closingDay = 20;
  data.deductionMethod = 1;
  data.roundingMode = 2;
  s.Data(data);
  for (int month = 1; month <= 12; ++month) {
    s.Entry(Sale(20200000 + month * 100 + 15, 600000, 800, 1, 2));
    s.Entry(Sale(20200000 + month * 100 + 18, 200000, 1000, 0, 3));
    s.Entry(Purchase(20200000 + month * 100 + 5, 350000, 800, 1, 21));
  }
  s.Entry(Sale(20191225, 100000, 800, 1, 2));  // month 1 starts in December
  s.Entry(Adjustment(20201220, 18, kClosingStock, kOpeningStock, 400000));
  s.SavedHeader(1, 2, 20181221, 20191220, 1);
}

// A side of `category` booked to `account`, the other side to the bank (category 0): on the
// credit side for the categories that belong there (sales, collections, purchase returns,
// refunds of import tax), else on the debit side. Tax only where the category has a tax figure;
// for the import taxes (38 to 45) the amount is the tax.
EntrySpec Booked(int date, int category, int account, std::int64_t yen, int rate, int reduced = 0,
                 int businessType = 0) {
  static const int kCreditCategories[] = {1, 2, 3, 4, 5, 10, 25, 26, 27, 29, 42, 43, 44, 45};
  static const int kTaxed[] = {1, 6, 9, 10, 21, 22, 23, 25, 26, 27};
  bool credit = std::find(std::begin(kCreditCategories), std::end(kCreditCategories), category) !=
                std::end(kCreditCategories);
  bool taxed = std::find(std::begin(kTaxed), std::end(kTaxed), category) != std::end(kTaxed);
  std::int64_t tax = taxed ? TaxOf(yen, rate) : 0;
  EntrySpec entry;
  entry.date = date;
  entry.summary = "取引";
  entry.rate = rate;
  entry.reduced = reduced;
  entry.businessType = businessType;
  (credit ? entry.creditAccount : entry.debitAccount) = account;
  (credit ? entry.creditAmount : entry.debitAmount) = Yen(yen);
  (credit ? entry.creditTax : entry.debitTax) = Yen(tax);
  (credit ? entry.creditCategory : entry.debitCategory) = category;
  (credit ? entry.debitAccount : entry.creditAccount) = kBank;
  (credit ? entry.debitAmount : entry.creditAmount) = Yen(yen + tax);
  return entry;
}

// Data 8: a sole proprietor with business income only (income kinds 1) and no departments;
// an asset of the real-estate category that such data does not count.
void SoleProprietorBusiness(Sample& s) {
  DataSpec data;
  data.dataNo = 8;
  data.dataId = "IND2020B";
  data.companyName = "鈴木　一郎";
  data.periodStart = 20200101;
  data.periodEnd = 20201231;
  data.entityKind = 3;
  data.incomeKinds = 1;
  s.Data(data);
  for (int month = 1; month <= 12; ++month) {
    int date = 20200000 + month * 100;
    s.Entry(Sale(date + 25, 400000, 1000, 0, 0));
    s.Entry(Sale(date + 26, 100000, 800, 1, 0));
    s.Entry(Purchase(date + 10, 150000, 1000, 0, 21));
    s.Entry(Purchase(date + 11, 30000, 800, 1, 21, kSupplies));
    s.Entry(Transfer(date + 27, kRent, kBank, 60000, 24, 0, 1000));
  }
  s.Entry(Transfer(20200615, kInterest, kBank, 12000, 24, 0, 1000));
  s.Entry(Transfer(20201020, kSalaries, kBank, 180000, 0, 0, 1000));
  s.Entry(Adjustment(20201231, 18, kClosingStock, kOpeningStock, 250000));
  s.Asset(1, "配送車", 20200401, 1, 1200000, 1);
  s.Asset(2, "貸家", 20200701, 1, 3000000, 2);  // category 2, yet business with kinds 1
}

// Data 9: a sole proprietor with real-estate income only (income kinds 2): rents, repairs,
// interest, and a purchase that such data counts nowhere.
void SoleProprietorRealEstate(Sample& s) {
  DataSpec data;
  data.dataNo = 9;
  data.dataId = "IND2020R";
  data.companyName = "佐藤　花子";
  data.periodStart = 20200101;
  data.periodEnd = 20201231;
  data.entityKind = 3;
  data.incomeKinds = 2;
  s.Data(data);
  for (int month = 1; month <= 12; ++month) {
    int date = 20200000 + month * 100;
    s.Entry(Transfer(date + 1, kBank, kOtherIncome, 250000, 0, 3, 1000));  // residential rent
    s.Entry(Sale(date + 2, 100000, 1000, 0, 0, 1, kOtherIncome));          // a shop's rent
    s.Entry(Transfer(date + 20, kInterest, kBank, 15000, 24, 0, 1000));
  }
  s.Entry(Purchase(20200310, 220000, 1000, 0, 21, kRent));  // repairs
  s.Entry(Purchase(20200815, 50000, 1000, 0, 23, kSupplies));
  s.Entry(Purchase(20200920, 80000, 1000, 0, 21, kPurchases));
  s.Entry(Transfer(20201130, kMiscLoss, kCash, 9000, 30, 0, 1000));
  s.Asset(1, "アパート外壁", 20200501, 1, 2400000, 2);
}

// Data 10: a sole proprietor of entity kind 4 with several income kinds (3) but no
// departments, so that everything counts as business income.
void SoleProprietorKind4(Sample& s) {
  DataSpec data;
  data.dataNo = 10;
  data.dataId = "IND2020K";
  data.companyName = "高橋　次郎";
  data.periodStart = 20200101;
  data.periodEnd = 20201231;
  data.entityKind = 4;
  data.incomeKinds = 3;
  data.deductionMethod = 1;
  s.Data(data);
  for (int month = 3; month <= 12; month += 3) {
    int date = 20200000 + month * 100;
    s.Entry(Sale(date + 15, 600000, 1000, 0, 0));
    s.Entry(Purchase(date + 5, 200000, 1000, 0, 23));
    s.Entry(Purchase(date + 6, 40000, 1000, 0, 22, kTravel));
    s.Entry(Transfer(date + 7, kRent, kBank, 90000, 24, 0, 1000));
  }
  s.Asset(1, "工作機械", 20200301, 1, 900000, 1);
  s.Asset(2, "駐車場舗装", 20200901, 1, 400000, 2);
}

// Data 11: a corporation that keeps tax-inclusive books: special accounts at 10 % and 8 %, an
// account whose sums are skipped (byte 128), and an entry whose two sides are both taxable
// purchases (neither side belongs in the refund statement's non-taxable figures).
void TaxInclusiveCorporation(Sample& s) {
  DataSpec data;
  data.dataNo = 11;
  data.dataId = "GEN2020I";
  data.companyName = "株式会社アオイ物産";
  data.periodStart = 20200401;
  data.periodEnd = 20210331;
  data.taxInclusive = 1;
  data.deductionMethod = 1;
  s.Data(data);
  constexpr int kSuspense = 996;
  AccountSpec suspense{kSuspense, "", "仮払経費", 0x40882004u, 1, 0, kSgaTotal};
  suspense.skip128 = 1;
  s.Account(suspense);
  for (int month = 4; month <= 15; ++month) {
    int date = month <= 12 ? 20200000 + month * 100 : 20210000 + (month - 12) * 100;
    s.Entry(Sale(date + 20, 900000, 1000, 0, 0));
    s.Entry(Sale(date + 21, 300000, 800, 1, 0));
    s.Entry(Purchase(date + 5, 400000, 1000, 0, 21));
    s.Entry(Purchase(date + 6, 100000, 800, 1, 21));
    s.Entry(Transfer(date + 25, kSalaries, kBank, 500000, 0, 0, 1000));
  }
  s.Entry(Purchase(20200710, 70000, 1000, 0, 23, kCommunication));
  s.Entry(Transfer(20200810, kInterest, kBank, 20000, 24, 0, 1000));
  s.Entry(Purchase(20200910, 45000, 1000, 0, 21, kSuspense));
  s.Entry(Transfer(20200911, kSuspense, kBank, 15000, 0, 0, 1000));
  // Goods exchanged for goods: a purchase against a purchase return.
  s.Entry(Transfer(20201015, kPurchases, kPurchaseReturns, 120000, 21, 25, 1000));
  s.Entry(Sale(20201120, 350000, 1000, 0, 0, 1, kAssetSaleGain));
  s.Entry(Sale(20201121, 80000, 800, 0, 0, 1, kAssetSaleGain));
  s.Entry(Purchase(20201122, 40000, 1000, 0, 21, kAssetSaleLoss));
  s.Entry(Purchase(20200601, 600000, 1000, 0, 21, kFixedAssetAccount));
  s.Asset(1, "陳列棚", 20200601, 1, 600000);
  s.Entry(Adjustment(20210331, 18, kClosingStock, kOpeningStock, 700000));
}

// Data 12: every tax category the other data do not use (7, 8, 26 to 29, 31, 32, 34 to 37, 39,
// 40, 42 to 45), and returns, bad debts, collections and purchase returns at 5 % and 3 %.
void CategoryCoverage(Sample& s) {
  DataSpec data;
  data.dataNo = 12;
  data.dataId = "CAT2019";
  data.companyName = "株式会社イロハ貿易";
  data.periodStart = 20190401;
  data.periodEnd = 20200331;
  s.Data(data);
  const struct {
    int date, category, account;
    std::int64_t yen;
    int rate, reduced, businessType;
  } entries[] = {
      {20190420, 1, kSales, 2000000, 800, 0, 1},
      {20191025, 1, kSales, 1500000, 1000, 0, 2},
      {20191026, 1, kSales, 500000, 800, 1, 3},
      {20190510, 21, kPurchases, 800000, 800, 0, 0},
      {20191110, 21, kPurchases, 700000, 1000, 0, 0},
      // The categories no other data uses.
      {20190612, 7, kSales, 30000, 800, 0, 0},        // return on an export sale
      {20190613, 8, kOtherIncome, 20000, 800, 0, 0},  // return on a non-taxable sale
      {20191205, 26, kPurchaseReturns, 25000, 1000, 0, 0},
      {20191206, 27, kPurchaseReturns, 18000, 1000, 0, 0},
      {20191210, 28, kFees, 150000, 1000, 0, 0},      // specified taxable purchase
      {20200115, 29, kFees, 10000, 1000, 0, 0},       // its return
      {20190705, 31, kPrepaidTax, 40000, 800, 0, 0},  // imports not yet split
      {20190805, 32, kPrepaidTax, 41000, 800, 0, 0},
      {20191105, 34, kPrepaidTax, 42000, 1000, 0, 0},
      {20191205, 35, kPrepaidTax, 43000, 1000, 0, 0},
      {20200105, 36, kPrepaidTax, 44000, 1000, 0, 0},
      {20200205, 37, kPrepaidTax, 45000, 1000, 0, 0},
      {20191112, 39, kPrepaidTax, 26000, 1000, 0, 0},  // import national tax, split
      {20191113, 40, kPrepaidTax, 31000, 1000, 0, 0},
      {20200212, 42, kPrepaidTax, 7800, 1000, 0, 0},  // refunds of import tax
      {20200213, 43, kPrepaidTax, 2600, 1000, 0, 0},
      {20200214, 44, kPrepaidTax, 3100, 1000, 0, 0},
      {20200215, 45, kPrepaidTax, 2200, 1000, 0, 0},
      // Older rates: returns, bad debts, their collection and purchase returns of sales and
      // purchases made while they applied, and a sale under a contract of that time.
      {20190520, 6, kSales, 60000, 500, 0, 1},
      {20190521, 6, kSales, 25000, 300, 0, 2},
      {20190822, 9, kBadDebtLoss, 90000, 500, 0, 0},
      {20190823, 9, kBadDebtLoss, 35000, 300, 0, 0},
      {20191024, 10, kOtherIncome, 30000, 500, 0, 0},
      {20191025, 10, kOtherIncome, 12000, 300, 0, 0},
      {20191126, 25, kPurchaseReturns, 40000, 500, 0, 0},
      {20191127, 25, kPurchaseReturns, 16000, 300, 0, 0},
      {20190930, 1, kSales, 300000, 500, 0, 1},
  };
  for (const auto& e : entries) {
    s.Entry(Booked(e.date, e.category, e.account, e.yen, e.rate, e.reduced, e.businessType));
  }
}

}  // namespace

int WriteSampleDatabase(const std::string& path, std::string* error) {
  CompanyWriter writer;
  if (int code = writer.Create(path)) {
    *error = writer.Error();
    return code;
  }
  Sample sample(writer);
  GeneralCorporation(sample);
  SimplifiedCorporation(sample);
  SoleProprietor(sample);
  ExemptCorporation(sample);
  PastResults(sample);
  InterimClosing(sample);
  CalendarYear(sample);
  SoleProprietorBusiness(sample);
  SoleProprietorRealEstate(sample);
  SoleProprietorKind4(sample);
  TaxInclusiveCorporation(sample);
  CategoryCoverage(sample);
  int code = sample.code();
  for (int user = 1; user <= 12 && code == kOk; ++user) {
    code = writer.AddUser("user" + std::to_string(user), 1, user);
  }
  // A user whose selection points at no data.
  if (code == kOk) code = writer.AddUser("nodata", 1, 99);
  if (code == kOk) code = writer.Finish();
  if (code != kOk) *error = writer.Error();
  return code;
}

}  // namespace ledvia
