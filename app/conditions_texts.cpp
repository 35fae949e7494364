#include "app/conditions_texts.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr const char* kTaxationNames[] = {"免税", "簡易課税", "原則課税"};
constexpr const char* kDeductionLabels[] = {"", "主となる事業分類", "課税仕入控除"};
constexpr const char* kDeductionMethods[] = {"個別対応方式", "一括比例配分方式"};
constexpr const char* kBusinessTypes[] = {
    "指定なし",          "第一種事業 卸売業",     "第二種事業 小売業",   "第三種事業 製造業",
    "第四種事業 その他", "第五種事業 サービス業", "第六種事業 不動産業",
};

template <std::size_t N>
const char* NameOf(const char* const (&table)[N], unsigned index) {
  return index < N ? table[index] : "";
}

}  // namespace

void FillConditionsTexts(ConditionsSetup& setup, const StDATAINFO& data,
                         const StSHOHIZEIINFO& settings) {
  // The name field is 80 bytes and need not be terminated.
  setup.companyName =
      " " + std::string(data.companyName, strnlen(data.companyName, sizeof data.companyName));
  char period[64];
  std::snprintf(period, sizeof period, " %04d/%02d/%02d～%04d/%02d/%02d", data.periodStart / 10000,
                data.periodStart % 10000 / 100, data.periodStart % 100, data.periodEnd / 10000,
                data.periodEnd % 10000 / 100, data.periodEnd % 100);
  setup.periodText = period;
  setup.taxationText = std::string(" ") + NameOf(kTaxationNames, settings.taxationKind);
  setup.deductionLabel = NameOf(kDeductionLabels, settings.taxationKind);
  switch (settings.taxationKind) {
    case 1:
      setup.deductionValue = std::string(" ") + NameOf(kBusinessTypes, settings.mainBusinessType);
      break;
    case 2:
      setup.deductionValue = std::string(" ") + NameOf(kDeductionMethods, settings.deductionMethod);
      break;
    default:
      setup.deductionValue.clear();
  }
}
