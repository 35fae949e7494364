#include "report/header_sections.h"

#include <cstring>
#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "report/full_width.h"
#include "report/superseded_rates.h"
#include "report/support_info.h"

namespace {

constexpr const char* kDefaultProgramVersion = "20.00.0X";

constexpr SectionElement kSystemElements[] = {
    {"GYOUMUPREFIX", "業務プレフィックス", ValueRule::kText},
    {"VERSION", "ファイル形式の版", ValueRule::kText},
    {"FUNCTIONID", "機能ID", ValueRule::kInteger},
    {"CONNECTEDPROGRAMVER", "連動プログラムの版", ValueRule::kText},
    {"PROGRAMNAME", "製品名", ValueRule::kText},
    {"PROGRAMVER", "製品の版", ValueRule::kText},
};
constexpr SectionElement kBasicElements[] = {
    {"KOMONSAKINAME", "顧問先名", ValueRule::kText},
    {"JIGYOUNENDOFROM", "事業年度の初日", ValueRule::kDate},
    {"JIGYOUNENDOTO", "事業年度の末日", ValueRule::kDate},
    {"HOUJINKOJINKUBUN", "法人・個人の別", ValueRule::kFlagOrEmpty, "法人", "個人事業者"},
    {"KAZEIKUBUN", "課税方式", ValueRule::kFlag, "原則課税", "簡易課税"},
    {"KEIKASHOCHIKAZEISHISAN", "旧税率（経過措置）の取引", ValueRule::kFlag, "あり", "なし"},
    {"URIAGEZEIGAKUKEISAN", "売上税額の計算", ValueRule::kFlag, "割戻し計算", "積上げ計算"},
    {"SHIIREZEIGAKUKEISAN", "仕入税額の計算", ValueRule::kFlagOrEmpty, "割戻し計算", "積上げ計算"},
};
constexpr SectionTable kSystemTable{"SYSTEM", "システム情報", kSystemElements};
constexpr SectionTable kBasicTable{"BASIC", "基本情報", kBasicElements};

const char* Flag(bool first) { return first ? "1" : "2"; }

// Writes a section's elements in the order of its table, one value at a time.
class TableLines {
 public:
  TableLines(ReportWriter& writer, const SectionTable& table) : writer_(writer), table_(table) {}
  bool Next(std::string_view value) {
    return writer_.WriteElement(table_.elements[next_++].name, value, 2) != 0;
  }

 private:
  ReportWriter& writer_;
  const SectionTable& table_;
  std::size_t next_ = 0;
};

}  // namespace

const SectionTable& SystemTable() { return kSystemTable; }
const SectionTable& BasicTable() { return kBasicTable; }

const char* EntityClassText(std::uint8_t entityKind) {
  if (IsCorporate(entityKind)) return "1";
  if (IsSoleProprietor(entityKind)) return "2";
  return "";
}

int WriteSystemSection(ReportWriter& writer, const ReportContext& context) {
  if (!writer.WriteStartTag(kSystemTable.tag, 1)) return 0;
  TableLines lines(writer, kSystemTable);
  if (!lines.Next("SY31")) return 0;
  if (!lines.Next("1")) return 0;
  if (!lines.Next(std::to_string(context.functionId))) return 0;
  if (!lines.Next(context.connectedProgramVersion)) return 0;
  std::string name;
  std::string version;
  {
    // The reader lives only while the two values are taken.
    SupportInfo support(context.outOfMemory);
    name = support.ProductName();
    version = support.ProductVersion();
  }
  if (name.empty()) name = context.programName;
  if (version.empty()) version = kDefaultProgramVersion;
  if (!lines.Next(name)) return 0;
  if (!lines.Next(version)) return 0;
  return writer.WriteEndTag(kSystemTable.tag, 1);
}

int WriteBasicSection(ReportWriter& writer, const StDATAINFO& data, BasicVariant variant,
                      const ReportContext& context) {
  if (!writer.WriteStartTag(kBasicTable.tag, 1)) return 0;
  TableLines lines(writer, kBasicTable);
  std::string_view company(data.companyName, strnlen(data.companyName, sizeof data.companyName));
  if (!lines.Next(ToFullWidth(company))) return 0;

  const bool general = context.taxationKind == kGeneralTaxation;
  std::string from;
  std::string to;
  const char* superseded;
  const char* salesTax;
  const char* purchaseTax;
  if (variant == BasicVariant::kJournal) {
    from = std::to_string(data.periodStart);
    to = std::to_string(data.periodEnd);
    superseded = Flag(HasSupersededRateFigures(context.totals));
    salesTax = "1";
    purchaseTax = general ? "1" : "";
  } else {
    const unsigned char* saved = context.savedFigures;
    if (saved == nullptr) return 0;
    from = std::to_string(StSaveTaxInfo::Int32(saved, StSaveTaxInfo::kBusinessYearStart));
    to = std::to_string(StSaveTaxInfo::Int32(saved, StSaveTaxInfo::kBusinessYearEnd));
    superseded = Flag(StSaveTaxInfo::Byte(saved, StSaveTaxInfo::kTransitionalAssets) != 0);
    salesTax = StSaveTaxInfo::Byte(saved, StSaveTaxInfo::kSalesTaxCalc) != 0 ? "2" : "1";
    purchaseTax = !general                                                           ? ""
                  : StSaveTaxInfo::Byte(saved, StSaveTaxInfo::kPurchaseTaxCalc) != 0 ? "2"
                                                                                     : "1";
  }
  if (!lines.Next(from)) return 0;
  if (!lines.Next(to)) return 0;
  if (!lines.Next(EntityClassText(data.entityKind))) return 0;
  if (!lines.Next(Flag(general))) return 0;
  if (!lines.Next(superseded)) return 0;
  if (!lines.Next(salesTax)) return 0;
  if (!lines.Next(purchaseTax)) return 0;
  return writer.WriteEndTag(kBasicTable.tag, 1);
}
