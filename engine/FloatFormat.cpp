#include "FloatFormat.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// The decimal value D * 10^E is turned into the ratio Num / Den of two exact
// integers, scaled by a power of two so that the integer quotient holds exactly
// the significand bits of the target format; the remainder then decides the
// rounding. Nothing is approximated, so the result is the correctly rounded one
// whatever the host's own floating-point types are.

namespace {

// Unsigned arbitrary-precision integer, 32-bit limbs, least significant first,
// never holding high zero limbs (zero is the empty vector).
class TBigNat {
public:
  TBigNat() = default;
  explicit TBigNat(uint32_t value) {
    if (value != 0) Limbs.push_back(value);
  }

  bool IsZero() const { return Limbs.empty(); }

  size_t BitLength() const {
    if (Limbs.empty()) return 0;
    uint32_t top = Limbs.back();
    size_t bits = 0;
    while (top != 0) {
      ++bits;
      top >>= 1;
    }
    return (Limbs.size() - 1) * 32 + bits;
  }

  // this = this * factor + addend
  void MulAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (uint32_t& limb : Limbs) {
      uint64_t t = static_cast<uint64_t>(limb) * factor + carry;
      limb = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
    if (carry != 0) Limbs.push_back(static_cast<uint32_t>(carry));
    Trim();
  }

  void ShiftLeft(size_t bits) {
    if (Limbs.empty() || bits == 0) return;
    size_t whole = bits / 32;
    unsigned part = static_cast<unsigned>(bits % 32);
    if (part != 0) {
      uint32_t carry = 0;
      for (uint32_t& limb : Limbs) {
        uint32_t next = limb >> (32 - part);
        limb = (limb << part) | carry;
        carry = next;
      }
      if (carry != 0) Limbs.push_back(carry);
    }
    Limbs.insert(Limbs.begin(), whole, 0u);
  }

  void ShiftRightOne() {
    uint32_t carry = 0;
    for (size_t i = Limbs.size(); i-- > 0;) {
      uint32_t next = Limbs[i] << 31;
      Limbs[i] = (Limbs[i] >> 1) | carry;
      carry = next;
    }
    Trim();
  }

  // Requires *this >= other.
  void Subtract(const TBigNat& other) {
    int64_t borrow = 0;
    for (size_t i = 0; i < Limbs.size(); ++i) {
      int64_t t = static_cast<int64_t>(Limbs[i]) - borrow - (i < other.Limbs.size() ? other.Limbs[i] : 0);
      borrow = t < 0 ? 1 : 0;
      Limbs[i] = static_cast<uint32_t>(t + (borrow << 32));
    }
    Trim();
  }

  friend int Compare(const TBigNat& a, const TBigNat& b) {
    if (a.Limbs.size() != b.Limbs.size()) return a.Limbs.size() < b.Limbs.size() ? -1 : 1;
    for (size_t i = a.Limbs.size(); i-- > 0;) {
      if (a.Limbs[i] != b.Limbs[i]) return a.Limbs[i] < b.Limbs[i] ? -1 : 1;
    }
    return 0;
  }

  // this = this * 10^count
  void MulPow10(size_t count) {
    // 5^13 is the largest power of five that fits a limb; the matching powers
    // of two become a single shift.
    constexpr uint32_t kFive13 = 1220703125u;
    size_t left = count;
    while (left >= 13) {
      MulAdd(kFive13, 0);
      left -= 13;
    }
    uint32_t rest = 1;
    while (left-- > 0) rest *= 5;
    MulAdd(rest, 0);
    ShiftLeft(count);
  }

private:
  void Trim() {
    while (!Limbs.empty() && Limbs.back() == 0) Limbs.pop_back();
  }

  std::vector<uint32_t> Limbs;
};

// Layout of one target format. The value of a finite number is
// significand * 2^exponent with significand < 2^Precision.
struct TFormatLayout {
  int Precision;     // significand bits including the leading one
  int MaxTopBit;     // largest exponent of the leading bit of a finite value
  int MinExponent;   // exponent of the lowest significand bit of a subnormal
};

TFormatLayout LayoutOf(TFloatKind kind) {
  switch (kind) {
    case TFloatKind::Single: return {24, 127, -149};
    case TFloatKind::Double: return {53, 1023, -1074};
    case TFloatKind::Extended: break;
  }
  return {64, 16383, -16445};
}

// Beyond this many significant digits the remaining ones only matter through
// whether any of them is nonzero. The exact midpoint between two neighbouring
// extended values has at most about 11520 significant digits, so keeping more
// than that and standing in for the rest with one nonzero digit rounds the same.
constexpr size_t kMaxKeptDigits = 12000;

// Exponents beyond this are clamped while reading: any value with such an
// exponent has already overflowed or underflowed every format.
constexpr int64_t kExponentClamp = 1000000000;

// A value of at least 10^(kInfinityDigits) exceeds the largest extended value
// (about 1.19e4932); a value below 10^(-kZeroDigits) is under half the smallest
// extended subnormal (about 3.6e-4951). Both decisions are taken before any
// big-number work so absurd exponents cost nothing.
constexpr int64_t kInfinityDigits = 4940;
constexpr int64_t kZeroDigits = 4960;

struct TDecimal {
  bool Negative = false;
  std::string Digits;   // significant digits, no leading or trailing zeros
  int64_t Exponent = 0; // value = Digits * 10^Exponent
};

bool IsLineBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Returns the position after the number, or nullptr when there is no digit.
const char* ParseDecimal(const char* text, TDecimal& number) {
  const char* p = text;
  while (IsLineBlank(*p)) ++p;
  if (*p == '+' || *p == '-') {
    number.Negative = *p == '-';
    ++p;
  }

  bool sawDigit = false;
  bool droppedNonzero = false;
  int64_t scale = 0;
  auto takeDigit = [&](char c, bool fraction) {
    sawDigit = true;
    if (number.Digits.empty() && c == '0') {
      if (fraction) --scale;
    } else if (number.Digits.size() < kMaxKeptDigits) {
      number.Digits.push_back(c);
      if (fraction) --scale;
    } else {
      if (!fraction) ++scale;
      if (c != '0') droppedNonzero = true;
    }
  };
  while (IsDecimalDigit(*p)) takeDigit(*p++, false);
  if (*p == '.') {
    ++p;
    while (IsDecimalDigit(*p)) takeDigit(*p++, true);
  }
  if (!sawDigit) return nullptr;

  if (*p == 'E' || *p == 'e') {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (*q == '+' || *q == '-') {
      negativeExponent = *q == '-';
      ++q;
    }
    if (IsDecimalDigit(*q)) {
      int64_t exponent = 0;
      while (IsDecimalDigit(*q)) {
        exponent = std::min<int64_t>(exponent * 10 + (*q - '0'), kExponentClamp);
        ++q;
      }
      scale += negativeExponent ? -exponent : exponent;
      p = q;
    }
  }

  if (droppedNonzero) {
    // One more nonzero digit places the value strictly above the kept digits
    // without reaching the next midpoint.
    number.Digits.push_back('1');
    --scale;
  }
  while (!number.Digits.empty() && number.Digits.back() == '0') {
    number.Digits.pop_back();
    ++scale;
  }
  number.Exponent = scale;
  return p;
}

TBigNat DigitsToBigNat(const std::string& digits) {
  TBigNat result;
  size_t i = 0;
  while (i < digits.size()) {
    uint32_t chunk = 0;
    uint32_t factor = 1;
    for (int k = 0; k < 9 && i < digits.size(); ++k, ++i) {
      chunk = chunk * 10 + static_cast<uint32_t>(digits[i] - '0');
      factor *= 10;
    }
    result.MulAdd(factor, chunk);
  }
  return result;
}

struct TBinary {
  enum class TClass { Zero, Finite, Infinity } Class = TClass::Zero;
  uint64_t Significand = 0;  // < 2^Precision; below 2^(Precision-1) means subnormal
  int Exponent = 0;          // value = Significand * 2^Exponent
};

// floor(num * 2^-exponent / den) for a quotient known to be below 2^precision;
// also reports how the remainder compares with half of the divisor.
uint64_t ScaledQuotient(const TBigNat& num, const TBigNat& den, int exponent, int precision, int& halfCompare) {
  TBigNat n = num;
  TBigNat d = den;
  if (exponent < 0) {
    n.ShiftLeft(static_cast<size_t>(-exponent));
  } else {
    d.ShiftLeft(static_cast<size_t>(exponent));
  }
  TBigNat shifted = d;
  shifted.ShiftLeft(static_cast<size_t>(precision - 1));
  uint64_t quotient = 0;
  for (int bit = precision - 1; bit >= 0; --bit) {
    if (Compare(n, shifted) >= 0) {
      n.Subtract(shifted);
      quotient |= uint64_t{1} << bit;
    }
    shifted.ShiftRightOne();
  }
  n.ShiftLeft(1);
  halfCompare = Compare(n, d);
  return quotient;
}

TBinary ToBinary(const TDecimal& number, const TFormatLayout& layout) {
  TBinary result;
  if (number.Digits.empty()) return result;

  const int64_t magnitude = static_cast<int64_t>(number.Digits.size()) + number.Exponent;
  if (magnitude > kInfinityDigits) {
    result.Class = TBinary::TClass::Infinity;
    return result;
  }
  if (magnitude < -kZeroDigits) return result;

  TBigNat num = DigitsToBigNat(number.Digits);
  TBigNat den(1);
  if (number.Exponent >= 0) {
    num.MulPow10(static_cast<size_t>(number.Exponent));
  } else {
    den.MulPow10(static_cast<size_t>(-number.Exponent));
  }

  // num/den lies strictly between 2^(bits-1) and 2^(bits+1); this first choice
  // of exponent gives a quotient in [2^(P-2), 2^P), at most one bit short.
  const int bits = static_cast<int>(num.BitLength()) - static_cast<int>(den.BitLength());
  int exponent = std::max(bits - layout.Precision + 1, layout.MinExponent);
  int halfCompare = 0;
  uint64_t significand = ScaledQuotient(num, den, exponent, layout.Precision, halfCompare);
  const uint64_t topBit = uint64_t{1} << (layout.Precision - 1);
  if (significand < topBit && exponent > layout.MinExponent) {
    --exponent;
    significand = ScaledQuotient(num, den, exponent, layout.Precision, halfCompare);
  }

  const bool roundUp = halfCompare > 0 || (halfCompare == 0 && (significand & 1) != 0);
  if (roundUp) {
    const uint64_t allOnes = layout.Precision == 64 ? ~uint64_t{0} : (uint64_t{1} << layout.Precision) - 1;
    if (significand == allOnes) {
      significand = topBit;
      ++exponent;
    } else {
      ++significand;
    }
  }

  if (significand == 0) return result;
  if (significand >= topBit && exponent + layout.Precision - 1 > layout.MaxTopBit) {
    result.Class = TBinary::TClass::Infinity;
    return result;
  }
  result.Class = TBinary::TClass::Finite;
  result.Significand = significand;
  result.Exponent = exponent;
  return result;
}

void PutBigEndian(uint64_t value, size_t count, uint8_t* out) {
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
}

void Encode(const TBinary& value, bool negative, TFloatKind kind, const TFormatLayout& layout, uint8_t* out) {
  const int bias = layout.MaxTopBit;
  const int maxBiased = 2 * bias + 1;
  const uint64_t topBit = uint64_t{1} << (layout.Precision - 1);
  uint64_t biased = 0;
  uint64_t significand = 0;
  switch (value.Class) {
    case TBinary::TClass::Zero: break;
    case TBinary::TClass::Infinity:
      biased = static_cast<uint64_t>(maxBiased);
      significand = kind == TFloatKind::Extended ? topBit : 0;
      break;
    case TBinary::TClass::Finite:
      // A subnormal keeps the biased exponent 0; one rounded up into the
      // normal range carries its leading bit into biased exponent 1.
      if (value.Significand >= topBit) biased = static_cast<uint64_t>(value.Exponent + layout.Precision - 1 + bias);
      significand = value.Significand;
      break;
  }

  if (kind == TFloatKind::Extended) {
    // The integer bit is stored explicitly.
    const uint64_t signAndExponent = (negative ? 0x8000u : 0u) | biased;
    PutBigEndian(signAndExponent, 2, out);
    PutBigEndian(significand, 8, out + 2);
    return;
  }
  const int fractionBits = layout.Precision - 1;
  const int totalBits = static_cast<int>(FloatKindSize(kind)) * 8;
  uint64_t word = (significand & (topBit - 1)) | (biased << fractionBits);
  if (negative) word |= uint64_t{1} << (totalBits - 1);
  PutBigEndian(word, FloatKindSize(kind), out);
}

} // namespace

const char* ReadDecimalFloat(const char* text, TFloatKind kind, uint8_t* out) {
  const TFormatLayout layout = LayoutOf(kind);
  TDecimal number;
  const char* end = text != nullptr ? ParseDecimal(text, number) : nullptr;
  if (end == nullptr) {
    Encode(TBinary{}, false, kind, layout, out);
    return text;
  }
  Encode(ToBinary(number, layout), number.Negative, kind, layout, out);
  return end;
}
