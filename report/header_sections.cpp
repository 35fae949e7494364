#include "report/header_sections.h"

#include <cstring>
#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "report/full_width.h"
#include "report/superseded_rates.h"
#include "report/support_info.h"

namespace {

constexpr const char* kDefaultProgramVersion = "20.00.0X";
constexpr const char* kSystem = "SYSTEM";
constexpr const char* kBasic = "BASIC";

const char* Flag(bool first) { return first ? "1" : "2"; }

}  // namespace

const char* EntityClassText(std::uint8_t entityKind) {
  if (IsCorporate(entityKind)) return "1";
  if (IsSoleProprietor(entityKind)) return "2";
  return "";
}

int WriteSystemSection(ReportWriter& writer, const ReportContext& context) {
  if (!writer.WriteStartTag(kSystem, 1)) return 0;
  if (!writer.WriteElement("GYOUMUPREFIX", "SY31", 2)) return 0;
  if (!writer.WriteElement("VERSION", "1", 2)) return 0;
  if (!writer.WriteElement("FUNCTIONID", std::to_string(context.functionId), 2)) return 0;
  if (!writer.WriteElement("CONNECTEDPROGRAMVER", context.connectedProgramVersion, 2)) return 0;
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
  if (!writer.WriteElement("PROGRAMNAME", name, 2)) return 0;
  if (!writer.WriteElement("PROGRAMVER", version, 2)) return 0;
  return writer.WriteEndTag(kSystem, 1);
}

int WriteBasicSection(ReportWriter& writer, const StDATAINFO& data, BasicVariant variant,
                      const ReportContext& context) {
  if (!writer.WriteStartTag(kBasic, 1)) return 0;
  std::string_view company(data.companyName, strnlen(data.companyName, sizeof data.companyName));
  if (!writer.WriteElement("KOMONSAKINAME", ToFullWidth(company), 2)) return 0;

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
  if (!writer.WriteElement("JIGYOUNENDOFROM", from, 2)) return 0;
  if (!writer.WriteElement("JIGYOUNENDOTO", to, 2)) return 0;
  if (!writer.WriteElement("HOUJINKOJINKUBUN", EntityClassText(data.entityKind), 2)) return 0;
  if (!writer.WriteElement("KAZEIKUBUN", Flag(general), 2)) return 0;
  if (!writer.WriteElement("KEIKASHOCHIKAZEISHISAN", superseded, 2)) return 0;
  if (!writer.WriteElement("URIAGEZEIGAKUKEISAN", salesTax, 2)) return 0;
  if (!writer.WriteElement("SHIIREZEIGAKUKEISAN", purchaseTax, 2)) return 0;
  return writer.WriteEndTag(kBasic, 1);
}
