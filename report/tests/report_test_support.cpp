#include "report_test_support.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>

#include "accounting/StSaveTaxInfo.h"
#include "report/data_catalogue.h"

namespace reporttest {

bool RecordingOutput::Open(const char* path) {
  openedPath = path;
  open_ = true;
  return true;
}

bool RecordingOutput::Write(std::string_view bytes) {
  int attempt = attempts++;
  if (!open_ || attempt == failAt_) return false;
  lines.emplace_back(bytes);
  return true;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all;
}

std::int64_t RateFigure(int slot, std::size_t offset) {
  // A fraction of 0.4445 rounds up in mode 0 and shows that the rounding mode is applied.
  return (std::int64_t{slot + 1} * 1000 + static_cast<std::int64_t>(offset)) * 10000 + 4445;
}

std::int64_t BusinessFigure(int slot, int businessType, std::size_t offset) {
  return (100000 + std::int64_t{slot} * 1000 + businessType * 100 +
          static_cast<std::int64_t>(offset)) *
             10000 +
         2500;
}

std::int64_t SavedFigure(std::size_t offset) {
  return static_cast<std::int64_t>(offset) * 10 * 10000 + 4444;
}

void SetSaved(std::vector<unsigned char>& buffer, std::size_t offset, std::int64_t value) {
  std::memcpy(buffer.data() + offset, &value, sizeof value);
}

ReportContext BaseContext(std::uint8_t taxationKind, std::uint8_t entityKind) {
  ReportContext context;
  context.functionId = 1;
  context.programName = "Ledvia２０ Arvelle";
  context.connectedProgramVersion = "20.00.00";  // the run hands string resource 1
  // Half-width katakana with voiced marks, Latin letters and a character to escape.
  std::strcpy(context.data.companyName, "株式会社ﾃﾞｰﾀ&Co");
  context.data.periodStart = 20190401;
  context.data.periodEnd = 20200331;
  context.data.entityKind = entityKind;
  context.data.incomeKinds = 3;
  context.settings.taxationKind = taxationKind;
  context.settings.roundingMode = 0;
  context.settings.taxInclusive = 1;
  context.taxationKind = taxationKind;
  context.roundingMode = 0;
  return context;
}

JournalFixture::JournalFixture(std::uint8_t taxationKind, std::uint8_t entityKind)
    : context(BaseContext(taxationKind, entityKind)) {
  totals.Allocate(kRateSlotCount);
  for (int s = 0; s < kRateSlotCount; ++s) {
    StTAXREPORTRATEINFO& record = totals.rateRecords[s];
    for (std::size_t i = 0; i < StTAXREPORTRATEINFO::kAmountCount; ++i) {
      std::size_t offset = StTAXREPORTRATEINFO::kFirstAmountOffset + 8 * i;
      record.SetAmountAt(offset, RateFigure(s, offset));
    }
    for (std::size_t offset : {StTAXREPORTRATEINFO::kImportLocalTaxOffset,
                               StTAXREPORTRATEINFO::kImportReturnLocalTaxOffset}) {
      record.SetAmountAt(offset, RateFigure(s, offset));
    }
    for (int k = 1; k <= kBusinessTypeCount; ++k) {
      for (std::size_t offset = 8; offset <= 48; offset += 8) {
        totals.businessTypeRecords[static_cast<std::size_t>(s * kBusinessTypeCount + k - 1)]
            .SetAmountAt(offset, BusinessFigure(s, k, offset));
      }
    }
    totals.specialAccountSums[s] = (s + 1) * 10000;
  }
  StatementLine* lines[] = {
      &totals.goodsPurchases,       &totals.sellingAdminExpenses, &totals.nonOperatingExpenses,
      &totals.otherProfitLoss,      &totals.businessPurchases,    &totals.businessExpenses,
      &totals.businessFixedAssets,  &totals.realEstateExpenses,   &totals.realEstateFixedAssets,
      &totals.otherIncomePurchases, &totals.otherIncomeExpenses,  &totals.otherIncomeFixedAssets};
  std::int64_t yen = 900000;
  for (StatementLine* line : lines) {
    line->settled = (yen += 1000) * 10000;
    line->nonTaxable = (yen += 1000) * 10000 + 6000;
  }
  totals.fixedAssets = std::int64_t{950001} * 10000;
  totals.deferredAssets = std::int64_t{950002} * 10000;
  context.totals = &totals;
}

SavedFixture::SavedFixture(std::uint8_t taxationKind, std::uint8_t entityKind)
    : buffer(kSavedFiguresBufferSize, 0), context(BaseContext(taxationKind, entityKind)) {
  for (const CatalogueGroup& group : DataCatalogue()) {
    for (const CatalogueElement& element : group.elements) {
      if (element.saved.present)
        SetSaved(buffer, element.saved.offset, SavedFigure(element.saved.offset));
    }
  }
  for (int i = 0; i < StSaveTaxInfo::kRefundAmountCount; ++i) {
    std::size_t offset = StSaveTaxInfo::kRefundAmounts + 8 * static_cast<std::size_t>(i);
    SetSaved(buffer, offset, SavedFigure(offset));
  }
  buffer[StSaveTaxInfo::kRefundClassSoleProprietor] = 2;
  buffer[StSaveTaxInfo::kRefundClassCorporateSettled] = 1;
  buffer[StSaveTaxInfo::kRefundClassCorporateAssets] = 2;
  buffer[StSaveTaxInfo::kSalesTaxCalc] = 1;
  buffer[StSaveTaxInfo::kPurchaseTaxCalc] = 1;
  buffer[StSaveTaxInfo::kTransitionalAssets] = 1;
  std::int32_t from = 20180401;
  std::int32_t to = 20190331;
  std::memcpy(buffer.data() + StSaveTaxInfo::kBusinessYearStart, &from, sizeof from);
  std::memcpy(buffer.data() + StSaveTaxInfo::kBusinessYearEnd, &to, sizeof to);
  context.savedFigures = buffer.data();
}

namespace {

std::string Text(xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

std::string Name(xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::vector<xmlNode*> Children(xmlNode* node) {
  std::vector<xmlNode*> children;
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) children.push_back(child);
  }
  return children;
}

}  // namespace

ParsedReport ParseReport(const std::string& bytes) {
  ParsedReport report;
  xmlDoc* doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "report.xml", nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (doc == nullptr) {
    const xmlError* error = xmlGetLastError();
    report.error = error && error->message ? error->message : "unparsable";
    return report;
  }
  xmlNode* root = xmlDocGetRootElement(doc);
  if (root == nullptr || Name(root) != "REPORT" || doc->encoding == nullptr ||
      std::string(reinterpret_cast<const char*>(doc->encoding)) != "Shift_JIS") {
    report.error = "no REPORT root declared Shift_JIS";
    xmlFreeDoc(doc);
    return report;
  }
  for (xmlNode* section : Children(root)) {
    report.sections.push_back(Name(section));
    for (xmlNode* child : Children(section)) {
      if (Name(section) != "DATA") continue;
      ParsedReport::Group group{Name(child), {}};
      for (xmlNode* element : Children(child)) {
        group.elements.emplace_back(Name(element), Text(element));
        ++report.dataLeafCount;
      }
      report.data.push_back(std::move(group));
    }
  }
  xmlFreeDoc(doc);
  report.ok = true;
  return report;
}

}  // namespace reporttest
