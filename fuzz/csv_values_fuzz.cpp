// The values of ledvia-db import's CSV files: any text as a whole number (decimal or
// hexadecimal, within limits of several widths), an amount, a date and a rate. A value that is
// accepted lies within its limits and reads back as itself from the text written for it; a
// refused one always comes with a reason.
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "ledvia/calendar_dates.h"
#include "ledvia/csv_values.h"

using fuzzsupport::Require;
namespace csv = ledvia::csv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte picks the whole number's limits and whether hexadecimal is allowed.
  const struct {
    std::int64_t min, max;
  } limits[] = {
      {0, 9},
      {1, 4294967295LL},
      {-2147483648LL, 2147483647LL},
      {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()},
  };
  const auto& limit = limits[data[0] % 4];
  const bool hex = (data[0] & 4) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::int64_t whole = 0;
  std::string reason = csv::ParseWhole(text, limit.min, limit.max, &whole, hex);
  if (reason.empty()) {
    Require(whole >= limit.min && whole <= limit.max);
    // Written back in the form it was read in, it reads as the same number.
    const bool readAsHex =
        hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char written[32];
    std::snprintf(written, sizeof written, readAsHex ? "0x%llx" : "%lld",
                  static_cast<long long>(whole));
    std::int64_t again = 0;
    Require(csv::ParseWhole(written, limit.min, limit.max, &again, readAsHex).empty());
    Require(again == whole);
  } else {
    Require(reason.starts_with("not a whole number"));
  }

  std::int64_t amount = 0;
  if (csv::ParseAmount(text, &amount).empty()) {
    Require(amount > -csv::kAmountLimit && amount < csv::kAmountLimit);
    std::int64_t again = 0;
    Require(csv::ParseAmount(csv::FormatAmount(amount), &again).empty() && again == amount);
  }

  int date = 0;
  if (csv::ParseDate(text, &date).empty()) {
    Require(ledvia::IsValidDate(date));
    int again = 0;
    Require(csv::ParseDate(csv::FormatDate(date), &again).empty() && again == date);
  }

  int rate = 0;
  if (csv::ParseRate(text, &rate).empty()) {
    Require(rate >= 0 && rate <= 10000);
    int again = 0;
    Require(csv::ParseRate(csv::FormatRate(rate), &again).empty() && again == rate);
  }
  return 0;
}
