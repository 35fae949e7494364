#include "ledvia/sample_chart.h"

#include "ledvia/status_codes.h"

namespace ledvia::chart {

int AddChart(CompanyWriter& writer, int dataNo) {
  // Classification codes follow the product's account groups; total accounts (flag 1) sum the
  // accounts whose parent they are.
  const AccountSpec accounts[] = {
      {kCash, "", "現金", 0x10100000u, 1},
      {kBank, "", "普通預金", 0x10100400u, 1},
      {kReceivable, "", "売掛金", 0x10104000u, 1},
      {kSecuritiesHeld, "", "有価証券", 0x10108000u, 1},
      {kPrepaidTax, "", "仮払消費税", 0x10120000u, 1},
      {kFixedAssetAccount, "", "工具器具備品", 0x10200000u, 1},
      {kDeferredAssetAccount, "", "開業費", 0x10400000u, 1},
      {kPayable, "", "買掛金", 0x11100000u, 2},
      {kSales, "", "売上高", 0x40100000u, 2},
      {kOtherIncome, "", "雑収入", 0x40420000u, 2},
      {kOpeningStock, "", "期首商品棚卸高", 0x20200000u, 1},
      {kPurchases, "", "仕入高", 0x20400000u, 1},
      {kPurchaseDiscounts, "", "仕入値引高", 0x20400008u, 1},
      {kPurchaseReturns, "", "仕入返品高", 0x20400004u, 1},
      {kOutsourcing, "", "外注加工費", 0x20804000u, 1},
      {kClosingStock, "", "期末商品棚卸高", 0x20200040u, 1},
      {kCostOfSalesTotal, "", "製造原価計", 0x40884400u, 1, 1},
      {kMaterials, "", "材料費", 0x40884401u, 1, 0, kCostOfSalesTotal},
      {kSgaTotal, "", "販売費及び一般管理費計", 0x40882000u, 1, 1},
      {kSalaries, "", "給料手当", 0x40882040u, 1, 0, kSgaTotal},
      {kTravel, "", "旅費交通費", 0x40882020u, 1, 0, kSgaTotal},
      {kCommunication, "", "通信費", 0x40882010u, 1, 0, kSgaTotal},
      {kSupplies, "", "消耗品費", 0x40882008u, 1, 0, kSgaTotal},
      {kFees, "", "支払手数料", 0x40882004u, 1, 0, kSgaTotal},
      {kRent, "", "地代家賃", 0x40882004u, 1, 0, kSgaTotal},
      {kBadDebtLoss, "", "貸倒損失", 0x40882008u, 1, 0, kSgaTotal},
      {kNonOperatingTotal, "", "営業外費用計", 0x40844000u, 1, 1},
      {kInterest, "", "支払利息", 0x40844080u, 1, 0, kNonOperatingTotal},
      {kExtraordinaryTotal, "", "特別損益計", 0x40440000u, 1, 1},
      {kExtraordinaryLoss, "", "固定資産除却損", 0x40440040u, 1, 0, kExtraordinaryTotal},
      {kMiscLoss, "", "雑損失", 0x40440080u, 1, 0, kExtraordinaryTotal},
      {kAssetSaleGain, "", "固定資産売却益", 0x40888000u, 2},
      {kAssetSaleLoss, "", "固定資産売却損", 0x40848000u, 1},
      // Kept for old entries, no longer listed.
      {kRetiredSalaries, "", "旧給料手当", 0x40882040u, 1, 0, kSgaTotal, 1},
      {kSundry, "", "諸口", 0x00000000u, 1, 0, 0, 0, 1},
  };
  for (const AccountSpec& account : accounts) {
    if (int code = writer.AddAccount(dataNo, account)) return code;
  }
  return kOk;
}

EntrySpec Sale(int date, std::int64_t yen, int rate, int reduced, int businessType, int category,
               int account, int dept) {
  std::int64_t tax = TaxOf(yen, rate);
  EntrySpec entry;
  entry.date = date;
  entry.summary = "売上";
  entry.debitAccount = kReceivable;
  entry.debitDept = dept;
  entry.debitAmount = Yen(yen + tax);
  entry.creditAccount = account;
  entry.creditDept = dept;
  entry.creditAmount = Yen(yen);
  entry.creditTax = Yen(tax);
  entry.creditCategory = category;
  entry.rate = rate;
  entry.reduced = reduced;
  entry.businessType = businessType;
  return entry;
}

EntrySpec Purchase(int date, std::int64_t yen, int rate, int reduced, int category, int account,
                   int dept) {
  std::int64_t tax = TaxOf(yen, rate);
  EntrySpec entry;
  entry.date = date;
  entry.summary = "仕入";
  entry.debitAccount = account;
  entry.debitDept = dept;
  entry.debitAmount = Yen(yen);
  entry.debitTax = Yen(tax);
  entry.debitCategory = category;
  entry.creditAccount = kPayable;
  entry.creditDept = dept;
  entry.creditAmount = Yen(yen + tax);
  entry.rate = rate;
  entry.reduced = reduced;
  return entry;
}

}  // namespace ledvia::chart
