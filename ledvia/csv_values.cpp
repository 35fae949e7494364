#include "ledvia/csv_values.h"

#include <cstdio>
#include <limits>

#include "ledvia/calendar_dates.h"

namespace ledvia::csv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits only, at most `most` of them, at least one.
bool Digits(std::string_view text, std::size_t most, std::int64_t* value) {
  if (text.empty() || text.size() > most) return false;
  std::int64_t parsed = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    parsed = parsed * 10 + (c - '0');
  }
  *value = parsed;
  return true;
}

// A decimal fixed-point number: sign, whole digits, up to `decimals` decimals, scaled to them.
// "" when good, "decimals" when there are too many, else "bad".
std::string Fixed(std::string_view text, int decimals, std::size_t wholeDigits,
                  std::int64_t* scaled) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  std::int64_t wholeValue = 0, fractionValue = 0;
  if (whole.empty() || (point != std::string_view::npos && fraction.empty())) return "bad";
  for (char c : fraction) {
    if (!IsDigit(c)) return "bad";
  }
  // Leading zeros do not count against the limit.
  while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
  if (!Digits(whole, 18, &wholeValue)) return "bad";
  if (fraction.size() > static_cast<std::size_t>(decimals)) return "decimals";
  if (whole.size() > wholeDigits) return "range";
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    scale /= 10;
    fractionValue += (fraction[i] - '0') * scale;
  }
  std::int64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  *scaled = wholeValue * unit + fractionValue;
  if (negative) *scaled = -*scaled;
  return "";
}

}  // namespace

std::string ParseWhole(std::string_view text, std::int64_t min, std::int64_t max,
                       std::int64_t* value, bool hex) {
  // Built only when said: the import parses millions of numbers that are fine.
  auto notInRange = [&](const char* more) {
    return "not a whole number from " + std::to_string(min) + " to " + std::to_string(max) + more;
  };
  std::int64_t parsed = 0;
  if (hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 18) return notInRange("");
    // Sixteen digits fill 64 bits: summed unsigned, so that one past the largest signed value
    // is refused as out of range instead of wrapping round to a negative number.
    std::uint64_t bits = 0;
    for (char c : text.substr(2)) {
      int digit = IsDigit(c)               ? c - '0'
                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                           : -1;
      if (digit < 0) return notInRange(" (or 0x and hexadecimal digits)");
      bits = bits * 16 + static_cast<std::uint64_t>(digit);
    }
    if (bits > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      return notInRange("");
    }
    parsed = static_cast<std::int64_t>(bits);
  } else {
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
    if (!Digits(text, 18, &parsed)) return notInRange("");
    if (negative) parsed = -parsed;
  }
  if (parsed < min || parsed > max) return notInRange("");
  *value = parsed;
  return "";
}

std::string ParseAmount(std::string_view text, std::int64_t* tenThousandths) {
  std::string result = Fixed(text, 4, 14, tenThousandths);
  if (result.empty()) return "";
  if (result == "decimals") return "an amount with more than four decimals";
  if (result == "range") return "an amount of 10^14 yen or more, which a linkage file cannot hold";
  return "not an amount in yen (digits, a '-' before them, up to four decimals after a '.')";
}

std::string FormatAmount(std::int64_t tenThousandths) {
  std::uint64_t magnitude = tenThousandths < 0 ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                               : static_cast<std::uint64_t>(tenThousandths);
  std::string text = (tenThousandths < 0 ? "-" : "") + std::to_string(magnitude / 10000);
  unsigned fraction = static_cast<unsigned>(magnitude % 10000);
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, ".%04u", fraction);
    std::string decimals = digits;
    while (decimals.back() == '0') decimals.pop_back();
    text += decimals;
  }
  return text;
}

std::string ParseDate(std::string_view text, int* date) {
  const char* bad = "not a date (YYYY/MM/DD or YYYYMMDD)";
  std::int64_t year = 0, month = 0, day = 0;
  std::size_t first = text.find('/');
  if (first == std::string_view::npos) {
    std::int64_t whole = 0;
    if (text.size() != 8 || !Digits(text, 8, &whole)) return bad;
    year = whole / 10000;
    month = whole / 100 % 100;
    day = whole % 100;
  } else {
    std::size_t second = text.find('/', first + 1);
    if (second == std::string_view::npos || first != 4 || !Digits(text.substr(0, 4), 4, &year) ||
        !Digits(text.substr(first + 1, second - first - 1), 2, &month) ||
        !Digits(text.substr(second + 1), 2, &day)) {
      return bad;
    }
  }
  int value = static_cast<int>(year * 10000 + month * 100 + day);
  if (!IsValidDate(value)) return "no such day: " + std::string(text);
  *date = value;
  return "";
}

std::string FormatDate(int date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", date / 10000, date / 100 % 100, date % 100);
  return text;
}

std::string ParseRate(std::string_view text, int* hundredths) {
  std::int64_t value = 0;
  if (!Fixed(text, 2, 3, &value).empty() || value < 0 || value > 10000) {
    return "not a tax rate in percent from 0 to 100 with up to two decimals";
  }
  *hundredths = static_cast<int>(value);
  return "";
}

std::string FormatRate(int hundredths) {
  std::string text = std::to_string(hundredths / 100);
  if (hundredths % 100 != 0) {
    char decimals[8];
    std::snprintf(decimals, sizeof decimals, ".%02d", hundredths % 100);
    std::string digits = decimals;
    if (digits.back() == '0') digits.pop_back();
    text += digits;
  }
  return text;
}

}  // namespace ledvia::csv
