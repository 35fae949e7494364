#include "aggregate/amount.h"

#include <limits>

namespace {

// Sums and products are formed in 128 bits so that the limit test itself cannot overflow.
__int128 ToWide(const Amount& a) {
  __int128 magnitude = static_cast<__int128>(a.IntegerPart()) * Amount::kUnitsPerYen + a.Fraction();
  return a.Sign() < 0 ? -magnitude : magnitude;
}

}  // namespace

Amount Amount::FromWide(__int128 fixed) {
  if (fixed >= kLimit || fixed <= -kLimit) throw AmountOverflow();
  Amount a;
  __int128 magnitude = fixed < 0 ? -fixed : fixed;
  a.integer_ = static_cast<std::uint64_t>(magnitude / kUnitsPerYen);
  a.fraction_ = static_cast<std::int32_t>(magnitude % kUnitsPerYen);
  a.sign_ = fixed < 0 ? -1 : 1;
  return a;
}

Amount Amount::FromFixed(std::int64_t fixed) {
  Amount a;
  // The magnitude of the most negative value still fits the unsigned integer part.
  std::uint64_t magnitude = fixed < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(fixed)
                                      : static_cast<std::uint64_t>(fixed);
  a.integer_ = magnitude / kUnitsPerYen;
  a.fraction_ = static_cast<std::int32_t>(magnitude % kUnitsPerYen);
  a.sign_ = fixed < 0 ? -1 : 1;
  return a;
}

Amount Amount::FromYen(std::int32_t yen) {
  Amount a;
  a.integer_ = yen < 0
                   ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(yen))
                   : static_cast<std::uint64_t>(yen);
  a.sign_ = yen < 0 ? -1 : 1;
  return a;
}

std::int64_t Amount::ToFixed() const {
  __int128 fixed = ToWide(*this);
  if (fixed > std::numeric_limits<std::int64_t>::max() ||
      fixed < std::numeric_limits<std::int64_t>::min()) {
    throw AmountOverflow();
  }
  return static_cast<std::int64_t>(fixed);
}

Amount Amount::operator+(const Amount& other) const {
  return FromWide(ToWide(*this) + ToWide(other));
}

Amount Amount::operator-(const Amount& other) const {
  return FromWide(ToWide(*this) - ToWide(other));
}

Amount Amount::operator*(std::int32_t factor) const {
  std::uint64_t n =
      factor < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(factor))
                 : static_cast<std::uint64_t>(factor);
  std::uint64_t integer;
  if (__builtin_mul_overflow(integer_, n, &integer)) throw AmountOverflow();
  std::uint64_t fraction = static_cast<std::uint64_t>(fraction_) * n;
  __int128 magnitude = (static_cast<__int128>(integer) + fraction / kUnitsPerYen) * kUnitsPerYen +
                       static_cast<__int128>(fraction % kUnitsPerYen);
  int sign = sign_ * (factor < 0 ? -1 : 1);
  return FromWide(sign < 0 ? -magnitude : magnitude);
}

Amount Amount::operator*(const Amount& other) const {
  std::uint64_t integer;
  if (__builtin_mul_overflow(integer_, other.integer_, &integer)) throw AmountOverflow();
  __int128 magnitude =
      static_cast<__int128>(integer) * kUnitsPerYen +
      static_cast<__int128>(integer_) * other.fraction_ +
      static_cast<__int128>(other.integer_) * fraction_ +
      (static_cast<__int128>(fraction_) * other.fraction_ + kUnitsPerYen / 2) / kUnitsPerYen;
  int sign = sign_ * other.sign_;
  return FromWide(sign < 0 ? -magnitude : magnitude);
}
