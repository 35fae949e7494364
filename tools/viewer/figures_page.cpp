#include "tools/viewer/figures_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "aggregate/tax_totals.h"
#include "tools/viewer/figure_blocks.h"
#include "tools/viewer/file_layout.h"
#include "tools/viewer/value_text.h"
#include "winport/encoding.h"

namespace viewer {

namespace {

constexpr const char* kStyle =
    "@page{size:A4;margin:12mm}"
    "body{font-family:sans-serif;font-size:9pt;max-width:186mm;margin:0 auto;color:#222}"
    "h1{font-size:14pt}h2{font-size:11pt;margin:14pt 0 4pt;break-after:avoid}"
    "table{border-collapse:collapse;width:100%;break-inside:auto}"
    "th,td{border:1px solid #aaa;padding:1px 4px;text-align:left}"
    "td.num,th.num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}"
    "table.rates td.num,table.rates th.num{width:11%}"
    "tr{break-inside:avoid}svg{display:block;break-inside:avoid;margin:4pt 0}";

constexpr std::array<const char*, 2> kColours = {"#4472c4", "#ed7d31"};

// Code page 932 text made safe for the page; the page is converted to UTF-8 as a whole.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Number(double value) { return std::to_string(static_cast<long long>(value)); }

struct Series {
  std::string name;  // code page 932
  std::array<double, kRateSlotCount> values{};
};

// Two series side by side for each rate.
std::string RateChart(const std::string& title, const std::array<Series, 2>& series) {
  const double width = 640, height = 220, top = 30, bottom = 190, left = 20;
  double top_value = 1;
  for (const Series& s : series) {
    for (double v : s.values) top_value = std::max(top_value, std::fabs(v));
  }
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) +
                    "\" height=\"" + Number(height) + "\" role=\"img\"><title>" + Escaped(title) +
                    "</title>";
  svg +=
      "<text x=\"0\" y=\"14\" font-size=\"12\" font-weight=\"bold\">" + Escaped(title) + "</text>";
  for (std::size_t s = 0; s < series.size(); ++s) {
    const double x = 360 + 140 * static_cast<double>(s);
    svg += "<rect x=\"" + Number(x) + "\" y=\"4\" width=\"10\" height=\"10\" fill=\"" +
           kColours[s] + "\"/><text x=\"" + Number(x + 14) + "\" y=\"13\" font-size=\"10\">" +
           Escaped(series[s].name) + "</text>";
  }
  const double groupWidth = (width - left) / kRateSlotCount;
  for (int slot = 0; slot < kRateSlotCount; ++slot) {
    const double x0 = left + groupWidth * slot;
    for (std::size_t s = 0; s < series.size(); ++s) {
      const double value = series[s].values[static_cast<std::size_t>(slot)];
      const double barHeight = (bottom - top) * std::fabs(value) / top_value;
      const double x = x0 + 14 + 50 * static_cast<double>(s);
      svg += "<rect x=\"" + Number(x) + "\" y=\"" + Number(bottom - barHeight) +
             "\" width=\"44\" height=\"" + Number(barHeight) + "\" fill=\"" + kColours[s] + "\"/>";
      if (value == 0) continue;
      svg += "<text x=\"" + Number(x + 22) + "\" y=\"" + Number(bottom - barHeight - 3) +
             "\" font-size=\"8\" text-anchor=\"middle\">" +
             Grouped(static_cast<std::int64_t>(value)) + "</text>";
    }
    svg += "<text x=\"" + Number(x0 + 61) + "\" y=\"" + Number(bottom + 14) +
           "\" font-size=\"10\" text-anchor=\"middle\">" + Escaped(RateLabel(slot)) + "</text>";
  }
  svg += "<line x1=\"" + Number(left) + "\" y1=\"" + Number(bottom) + "\" x2=\"" + Number(width) +
         "\" y2=\"" + Number(bottom) + "\" stroke=\"#444\"/></svg>";
  return svg;
}

// Taxable sales and purchases (tax-excluded and tax) per rate: from the general-method
// sections when they carry figures, else from the simplified-method ones.
std::string RateCharts(const CheckedFile& file) {
  // [general or simplified method][tax-excluded or tax][sales or purchases][rate slot]
  double sums[2][2][2][kRateSlotCount] = {};
  const FileLayout& layout = Layout();
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const CatalogueElement* element = layout.lines[i].catalogue;
    if (element == nullptr || element->role == FigureRole::kOther || !element->amount ||
        *element->amount == AmountKind::kIncluded) {
      continue;
    }
    const LayoutBlock& owner = layout.blocks[static_cast<std::size_t>(layout.lines[i].block)];
    const int method = IsGeneralMethodSection(*owner.section) ? 0 : 1;
    const int chart = *element->amount == AmountKind::kExcluded ? 0 : 1;
    const int series = element->role == FigureRole::kTaxableSales ? 0 : 1;
    sums[method][chart][series][owner.slot] +=
        static_cast<double>(YenOf(ValueRule::kYen, file.values[i]).value_or(0));
  }
  bool anyGeneral = false;
  for (const auto& chart : sums[0]) {
    for (const auto& series : chart) {
      for (double yen : series) anyGeneral = anyGeneral || yen != 0;
    }
  }
  const auto& chosen = sums[anyGeneral ? 0 : 1];
  auto series = [&](int chart, int which, const char* name) {
    Series s{name, {}};
    std::copy(std::begin(chosen[chart][which]), std::end(chosen[chart][which]), s.values.begin());
    return s;
  };
  return RateChart("税率別の課税売上と課税仕入（税抜）",
                   {series(0, 0, "課税売上"), series(0, 1, "課税仕入")}) +
         RateChart("税率別の消費税額",
                   {series(1, 0, "売上の消費税額"), series(1, 1, "仕入の消費税額")});
}

// The refund statement's amounts that are not empty, one bar each.
std::string RefundChart(const CheckedFile& file) {
  struct Bar {
    std::string label;
    std::int64_t yen;
  };
  std::vector<Bar> bars;
  const FileLayout& layout = Layout();
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const LayoutLine& line = layout.lines[i];
    if (line.block < 0 || line.fixed == nullptr || !IsAmount(line.rule)) continue;
    const std::int64_t yen = YenOf(line.rule, file.values[i]).value_or(0);
    if (yen == 0) continue;
    bars.push_back(
        {layout.blocks[static_cast<std::size_t>(line.block)].tag + " " + line.label, yen});
  }
  const std::string title = "還付申告の明細の金額";
  if (bars.empty()) return "<p>" + Escaped(title) + ": 金額はありません。</p>";
  double top = 1;
  for (const Bar& bar : bars) top = std::max(top, std::fabs(static_cast<double>(bar.yen)));
  const double height = 24 + 16 * static_cast<double>(bars.size());
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"" +
                    Number(height) + "\" role=\"img\"><title>" + Escaped(title) +
                    "</title><text x=\"0\" y=\"14\" font-size=\"12\" font-weight=\"bold\">" +
                    Escaped(title) + "</text>";
  for (std::size_t b = 0; b < bars.size(); ++b) {
    const double y = 24 + 16 * static_cast<double>(b);
    const double length = 250 * std::fabs(static_cast<double>(bars[b].yen)) / top;
    svg += "<text x=\"296\" y=\"" + Number(y + 10) + "\" font-size=\"9\" text-anchor=\"end\">" +
           Escaped(bars[b].label) + "</text><rect x=\"300\" y=\"" + Number(y) + "\" width=\"" +
           Number(length) + "\" height=\"12\" fill=\"" + kColours[bars[b].yen < 0 ? 1 : 0] +
           "\"/><text x=\"" + Number(304 + length) + "\" y=\"" + Number(y + 10) +
           "\" font-size=\"9\">" + Grouped(bars[b].yen) + "</text>";
  }
  return svg + "</svg>";
}

std::string Table(const FigureBlock& block) {
  std::string html = "<h2>" + Escaped(block.title) + "</h2><table" +
                     (block.columns.empty() ? ">" : " class=\"rates\">");
  if (!block.columns.empty()) {
    html += "<tr><th></th>";
    for (const std::string& column : block.columns) {
      html += "<th class=\"num\">" + Escaped(column) + "</th>";
    }
    html += "</tr>";
  }
  for (const FigureRow& row : block.rows) {
    html += "<tr><td>" + Escaped(row.label) + "</td>";
    for (const std::string& cell : row.cells) {
      html += (block.columns.empty() ? "<td>" : "<td class=\"num\">") + Escaped(cell) + "</td>";
    }
    html += "</tr>";
  }
  return html + "</table>";
}

}  // namespace

std::string FiguresPage(const CheckedFile& file, const std::string& title) {
  std::string body = "<h1>連動ファイルの内容</h1><p>" + Escaped(winport::Utf8ToCp932(title)) +
                     "</p>" + RateCharts(file) + RefundChart(file);
  for (const FigureBlock& block : FigureBlocks(file)) body += Table(block);
  const std::string page =
      "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"/>"
      "<title>連動ファイルの内容</title><style>" +
      std::string(kStyle) + "</style></head><body>" + body + "</body></html>\n";
  return winport::Cp932ToUtf8(page);
}

}  // namespace viewer
