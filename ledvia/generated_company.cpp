// Generated companies: a chart of about 200 accounts, every tax category at every rate, and
// entries spread evenly over the year, deterministic for a given shape.
#include "ledvia/generated_company.h"

#include <vector>

#include "ledvia/company_writer.h"
#include "ledvia/sample_chart.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

// A small deterministic generator: the same shape always gives the same company.
class Lcg {
 public:
  explicit Lcg(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  template <typename T>
  T Pick(const std::vector<T>& from) {
    return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
  }

 private:
  std::uint64_t state_;
};

// The accounts entries are booked to, beyond the sample chart's own.
struct Accounts {
  std::vector<int> sales, purchases, expenses, nonOperating, extraordinary, gains, losses, banks;
};

struct AccountGroup {
  std::vector<int> Accounts::*list;
  int firstCode;
  int count;
  std::uint32_t classCodes[5];  // used in turn; 0 ends the list
  int normalSide;
  int parent;
};

// 165 accounts, with the sample chart's 35 about 200: the lists of the refund statement, the
// special accounts, and sub-accounts of the total accounts. One in 25 expense accounts is no
// longer listed (excluded), and one each is skipped in account sums (bytes 126 and 128).
int AddGeneratedChart(CompanyWriter& writer, int dataNo, Accounts* accounts) {
  const AccountGroup groups[] = {
      {&Accounts::sales, 4001, 15, {0x40100000u}, 2, 0},
      {&Accounts::purchases, 5101, 10, {0x20400000u, 0x20804000u}, 1, 0},
      {&Accounts::expenses,
       6001,
       100,
       {0x40882040u, 0x40882020u, 0x40882010u, 0x40882008u, 0x40882004u},
       1,
       chart::kSgaTotal},
      {&Accounts::nonOperating, 7001, 10, {0x40844080u}, 1, chart::kNonOperatingTotal},
      {&Accounts::extraordinary,
       8001,
       10,
       {0x40440040u, 0x40440080u},
       1,
       chart::kExtraordinaryTotal},
      {&Accounts::gains, 8501, 5, {0x40888000u}, 2, 0},
      {&Accounts::losses, 8601, 5, {0x40848000u}, 1, 0},
      {&Accounts::banks, 1101, 10, {0x10100400u}, 1, 0},
  };
  for (const AccountGroup& group : groups) {
    int classes = 0;
    while (classes < 5 && group.classCodes[classes] != 0) ++classes;
    for (int i = 0; i < group.count; ++i) {
      AccountSpec account;
      account.code = group.firstCode + i;
      account.name = "科目" + std::to_string(account.code);
      account.classCode = group.classCodes[i % classes];
      account.normalSide = group.normalSide;
      account.parentCode = group.parent;
      bool expense = group.list == &Accounts::expenses;
      account.excluded = expense && i % 25 == 24 ? 1 : 0;
      account.skip126 = expense && i == 10 ? 1 : 0;
      account.skip128 = expense && i == 11 ? 1 : 0;
      if (int code = writer.AddAccount(dataNo, account)) return code;
      if (account.excluded == 0) (accounts->*group.list).push_back(account.code);
    }
  }
  return kOk;
}

struct Weighted {
  int value;
  int weight;
};

// Tax categories by how often a business books them: sales and purchases above all, every
// other category the business core knows now and then.
constexpr Weighted kCategories[] = {
    {1, 380}, {21, 250}, {0, 80}, {23, 60}, {22, 40}, {24, 40}, {30, 20}, {6, 15}, {2, 10},
    {3, 10},  {25, 10},  {4, 5},  {5, 5},   {9, 3},   {26, 3},  {27, 3},  {28, 3}, {38, 3},
    {41, 3},  {7, 2},    {8, 2},  {10, 2},  {29, 1},  {31, 1},  {32, 1},  {33, 1}, {34, 1},
    {35, 1},  {36, 1},   {37, 1}, {39, 1},  {40, 1},  {42, 1},  {43, 1},  {44, 1}, {45, 1},
};
constexpr int kCategoryCount = sizeof kCategories / sizeof kCategories[0];

// Rate slots of the rate table (10 %, reduced 8 %, 8 %, 5 %, 3 %): rate, reduced flag, weight.
constexpr int kRates[][3] = {{1000, 0, 55}, {800, 1, 25}, {800, 0, 10}, {500, 0, 5}, {300, 0, 5}};

int Draw(Lcg& random, const Weighted* table, int count) {
  int total = 0;
  for (int i = 0; i < count; ++i) total += table[i].weight;
  int pick = random.Below(total);
  for (int i = 0; i < count; ++i) {
    if (pick < table[i].weight) return i;
    pick -= table[i].weight;
  }
  return count - 1;
}

bool OnCreditSide(int category) {
  switch (category) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
    case 25:
    case 26:
    case 27:
    case 29:
    case 42:
    case 43:
    case 44:
    case 45:
      return true;
    default:
      return false;
  }
}

bool CarriesTax(int category) {
  return (category >= 1 && category <= 10 && category != 2 && category != 3 && category != 4 &&
          category != 5 && category != 7 && category != 8) ||
         (category >= 21 && category <= 27 && category != 24);
}

// The account a side of `category` is booked to.
int AccountFor(int category, const Accounts& accounts, Lcg& random) {
  switch (category) {
    case 1:
      return random.Below(50) == 0 ? random.Pick(accounts.gains) : random.Pick(accounts.sales);
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
      return random.Pick(accounts.sales);
    case 3:
    case 10:
      return chart::kOtherIncome;
    case 4:
      return chart::kSecuritiesHeld;
    case 9:
      return chart::kBadDebtLoss;
    case 21:
      if (random.Below(50) == 0) return random.Pick(accounts.losses);
      return random.Below(2) == 0 ? random.Pick(accounts.purchases)
                                  : random.Pick(accounts.expenses);
    case 22:
    case 23:
    case 28:
    case 29:
      return random.Pick(accounts.expenses);
    case 25:
    case 26:
    case 27:
      return random.Below(2) == 0 ? chart::kPurchaseReturns : random.Pick(accounts.purchases);
    case 0:
    case 24:
    case 30: {
      int which = random.Below(10);
      if (which == 0) return random.Pick(accounts.extraordinary);
      if (which <= 2) return random.Pick(accounts.nonOperating);
      return random.Pick(accounts.expenses);
    }
    default:  // the import categories 31 to 45
      return chart::kPrepaidTax;
  }
}

EntrySpec Book(int category, int rateSlot, int date, int dept, const Accounts& accounts,
               Lcg& random) {
  const int* rate = kRates[rateSlot];
  std::int64_t yen = 1000 + random.Below(500000);
  std::int64_t tax = CarriesTax(category) ? chart::TaxOf(yen, rate[0]) : 0;
  int account = AccountFor(category, accounts, random);
  int counter = random.Below(4) == 0
                    ? random.Pick(accounts.banks)
                    : (OnCreditSide(category) ? chart::kReceivable : chart::kPayable);
  EntrySpec entry;
  entry.date = date;
  entry.summary = "取引";
  entry.rate = rate[0];
  entry.reduced = rate[1];
  entry.businessType = category == 1 || category == 6 ? 1 + random.Below(6) : 0;
  entry.debitDept = dept;
  entry.creditDept = dept;
  if (OnCreditSide(category)) {
    entry.creditAccount = account;
    entry.creditAmount = Yen(yen);
    entry.creditTax = Yen(tax);
    entry.creditCategory = category;
    entry.debitAccount = counter;
    entry.debitAmount = Yen(yen + tax);
  } else {
    entry.debitAccount = account;
    entry.debitAmount = Yen(yen);
    entry.debitTax = Yen(tax);
    entry.debitCategory = category;
    entry.creditAccount = counter;
    entry.creditAmount = Yen(yen + tax);
  }
  return entry;
}

// The date of entry `i` of `count`: the months in turn, the year spread evenly over them.
int DateOf(std::int64_t i, std::int64_t count, int firstYear, int firstMonth, Lcg& random) {
  int offset = static_cast<int>(i * 12 / count);
  int month = (firstMonth - 1 + offset) % 12 + 1;
  int year = firstYear + (firstMonth - 1 + offset) / 12;
  return year * 10000 + month * 100 + 1 + random.Below(28);
}

// Departments of every kind and income category in turn: value at 16, kind, income category.
constexpr int kDepartmentKinds[][3] = {{5, 0, 1}, {3, 0, 3}, {0, 1, 3},
                                       {7, 1, 1}, {2, 2, 2}, {4, 0, 4}};

// The corporation's year runs from April; its interim closing is at the end of September.
constexpr int kInterimClosingDate = 20200930;

}  // namespace

int WriteGeneratedCompany(const std::string& path, const GeneratedCompanyShape& shape,
                          std::string* error) {
  if (shape.entries < 0 || shape.entries > kMaxGeneratedEntries || shape.departments < 0 ||
      shape.departments > kMaxGeneratedDepartments) {
    *error = "entries or departments out of range";
    return kBadArgument;
  }
  DataSpec data;
  data.dataNo = 1;
  data.dataId = "GEN0001";
  data.taxationKind = 2;
  data.taxInclusive = shape.taxInclusive ? 1 : 0;
  if (shape.soleProprietor) {
    data.companyName = "ベンチマーク商店";
    data.periodStart = 20200101;
    data.periodEnd = 20201231;
    data.entityKind = 3;
    data.incomeKinds = shape.departments > 0 ? 3 : 1;
  } else {
    data.companyName = "株式会社ベンチマーク";
    data.periodStart = 20200401;
    data.periodEnd = 20210331;
    data.interimClosing = 1;
  }
  int firstYear = data.periodStart / 10000;
  int firstMonth = data.periodStart / 100 % 100;
  CompanyWriter writer;
  Accounts accounts;
  int code = writer.Create(path);
  if (code == kOk) code = writer.AddData(data);
  if (code == kOk) code = chart::AddChart(writer, data.dataNo);
  if (code == kOk) code = AddGeneratedChart(writer, data.dataNo, &accounts);
  if (code == kOk) code = writer.AddUser("user1", 1, data.dataNo);
  for (int d = 1; d <= shape.departments && code == kOk; ++d) {
    const int* kind = kDepartmentKinds[(d - 1) % 6];
    code =
        writer.AddDepartment(data.dataNo, d, "部門" + std::to_string(d), kind[0], kind[1], kind[2]);
  }
  Lcg random(20200401u + static_cast<std::uint64_t>(shape.entries) * 7u +
             static_cast<std::uint64_t>(shape.departments) * 131u +
             (shape.soleProprietor ? 1u : 0u));
  for (std::int64_t i = 0; i < shape.entries && code == kOk; ++i) {
    // The first entries go through every category and rate in turn, so that even a small
    // company has them all; then they come as often as a business books them.
    int category = 0;
    int rateSlot = 0;
    if (i < kCategoryCount * 5) {
      category = kCategories[i % kCategoryCount].value;
      rateSlot = static_cast<int>(i % 5);
    } else {
      category = kCategories[Draw(random, kCategories, kCategoryCount)].value;
      int pick = random.Below(100);
      while (pick >= kRates[rateSlot][2]) pick -= kRates[rateSlot++][2];
    }
    int date = DateOf(i, shape.entries, firstYear, firstMonth, random);
    int dept = shape.departments > 0 ? 1 + random.Below(shape.departments) : 0;
    EntrySpec entry = Book(category, rateSlot, date, dept, accounts, random);
    // Closing adjustments: at the year's end, and at mid-year for a corporation.
    if (i % 1000 == 999) {
      entry.monthIndex = 18;
      entry.date = data.periodEnd;
    } else if (!shape.soleProprietor && i % 1000 == 499) {
      entry.monthIndex = 15;
      entry.date = kInterimClosingDate;
    }
    code = writer.AddEntry(data.dataNo, entry);
  }
  // Fixed assets of kinds 1 and 2 and deferred assets (9), every seventh bought the year before.
  int assets = 12 + static_cast<int>(shape.entries / 20000);
  static const int kAssetKinds[] = {1, 1, 2, 9};
  for (int a = 0; a < assets && code == kOk; ++a) {
    int month = (firstMonth - 1 + a) % 12 + 1;
    int year = firstYear + (firstMonth - 1 + a % 12) / 12 - (a % 7 == 6 ? 1 : 0);
    code =
        writer.AddAsset(data.dataNo, a + 1, "資産" + std::to_string(a + 1),
                        year * 10000 + month * 100 + 15, kAssetKinds[a % 4],
                        Yen(100000 + random.Below(5000000)), shape.soleProprietor ? 1 + a % 2 : 1);
  }
  if (code == kOk) code = writer.Finish();
  if (code != kOk) *error = writer.Error();
  return code;
}

}  // namespace ledvia
