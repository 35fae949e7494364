#include "report/yen_text.h"

#include "aggregate/amount.h"

std::int64_t roundToYen(std::int64_t amount, int roundingMode) {
  std::int64_t q = amount / 10000;
  std::int64_t r = amount - q * 10000;
  switch (roundingMode) {
    case kRoundHalfUpByDigits: {
      // The digits of a negative fraction are negative too and so never reach 5.
      std::int64_t d1 = r / 1000;
      std::int64_t d2 = (r / 100) % 10;
      std::int64_t d3 = (r % 100) / 10;
      std::int64_t d4 = r % 10;
      if (d4 >= 5) ++d3;
      if (d3 >= 5) ++d2;
      if (d2 >= 5) ++d1;
      return d1 >= 5 ? q + 1 : q;
    }
    case kRoundUp:
      return r != 0 ? q + 1 : q;
    default:
      return q;
  }
}

std::string yenText(std::int64_t amount, int roundingMode) {
  // The figures come from sums the business core formed in 64 bits; one beyond what the file
  // may hold must end the run, never be written.
  if (amount >= Amount::kLimit || amount <= -Amount::kLimit) throw AmountOverflow();
  std::int64_t yen = roundToYen(amount, roundingMode);
  return yen == 0 ? std::string() : std::to_string(yen);
}
