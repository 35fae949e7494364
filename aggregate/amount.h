// Fixed-point money: a signed count of ten-thousandths of a yen (1 yen = 10000), the form of
// every amount inside the program. All aggregation arithmetic goes through Amount so that an
// amount outside the data model raises AmountOverflow instead of wrapping silently.
#pragma once

#include <cstdint>
#include <exception>

// Raised when an amount leaves the data model: a magnitude of 10^14 yen or more, or a product
// that does not fit 64 bits. Carries the code -1.
class AmountOverflow : public std::exception {
 public:
  int code() const { return -1; }
  const char* what() const noexcept override { return "amount overflow"; }
};

class Amount {
 public:
  static constexpr std::int64_t kUnitsPerYen = 10000;
  // Sums and products must stay below this magnitude in ten-thousandths (10^14 yen).
  static constexpr std::int64_t kLimit = 1000000000000000000;

  Amount() = default;  // zero

  // From a fixed value in ten-thousandths of a yen.
  static Amount FromFixed(std::int64_t fixed);
  // From a whole-yen count.
  static Amount FromYen(std::int32_t yen);
  // Back to ten-thousandths; raises AmountOverflow when the value does not fit 64 bits.
  std::int64_t ToFixed() const;

  std::uint64_t IntegerPart() const { return integer_; }
  std::int32_t Fraction() const { return fraction_; }  // 0..9999
  int Sign() const { return sign_; }                   // +1 or -1; +1 for zero

  // Raise AmountOverflow when the result's magnitude reaches kLimit.
  Amount operator+(const Amount& other) const;
  Amount operator-(const Amount& other) const;
  Amount& operator+=(const Amount& other) { return *this = *this + other; }
  Amount& operator-=(const Amount& other) { return *this = *this - other; }

  // Multiplication by a whole number, digit-exact: the fraction is multiplied separately and
  // carries into the integer part. Raises AmountOverflow when the integer product does not fit
  // 64 bits or the result's magnitude reaches kLimit.
  Amount operator*(std::int32_t factor) const;
  // Multiplication of two amounts; the fractions' product is rounded half up to
  // ten-thousandths. Raises AmountOverflow as above.
  Amount operator*(const Amount& other) const;

  bool IsZero() const { return integer_ == 0 && fraction_ == 0; }
  friend bool operator==(const Amount&, const Amount&) = default;

 private:
  // Builds from a signed magnitude known to be below kLimit.
  static Amount FromWide(__int128 fixed);

  std::uint64_t integer_ = 0;
  std::int32_t fraction_ = 0;
  int sign_ = 1;
};
