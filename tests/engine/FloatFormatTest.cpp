#include "FloatFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>

#include "TestSupport.h"

namespace {

std::string Hex(const uint8_t* bytes, size_t count) {
  return ::Hex(std::string(reinterpret_cast<const char*>(bytes), count));
}

std::string Encode(const std::string& text, TFloatKind kind) {
  uint8_t out[10];
  std::memset(out, 0xAA, sizeof out);
  ReadDecimalFloat(text.c_str(), kind, out);
  return Hex(out, FloatKindSize(kind));
}

// The COUNT low bytes of WORD, most significant first.
std::string HexOfWord(uint64_t word, size_t count) {
  uint8_t bytes[8];
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(word >> (8 * (count - 1 - i)));
  return Hex(bytes, count);
}

template <class T>
std::string HostHex(T value) {
  std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t> word;
  std::memcpy(&word, &value, sizeof word);
  return HexOfWord(word, sizeof word);
}

constexpr auto S = TFloatKind::Single;
constexpr auto D = TFloatKind::Double;
constexpr auto X = TFloatKind::Extended;

struct TEncodingCase { const char* Text; TFloatKind Kind; const char* Bytes; };

const TEncodingCase kEncodingCases[] = {
    {"0.1", S, "3D CC CC CD"}, {"0.1", D, "3F B9 99 99 99 99 99 9A"}, {"0.1", X, "3F FB CC CC CC CC CC CC CC CD"},
    {"-0", S, "80 00 00 00"}, {"-0.0e5", D, "80 00 00 00 00 00 00 00"}, {"-0", X, "80 00 00 00 00 00 00 00 00 00"},
    {"0", X, "00 00 00 00 00 00 00 00 00 00"}, {"-2.5", S, "C0 20 00 00"},
    {"000000000000000000000012.5000000000000000", D, "40 29 00 00 00 00 00 00"},
    // Overflow rounds to infinity; values just under the midpoint above the
    // largest finite value still round down to it.
    {"1E39", S, "7F 80 00 00"}, {"-1E39", S, "FF 80 00 00"}, {"3.4028235E38", S, "7F 7F FF FF"},
    {"3.4028235677973366E38", S, "7F 7F FF FF"}, {"3.40282356779733661637539395458142568448E38", S, "7F 80 00 00"},
    {"1.7976931348623157E308", D, "7F EF FF FF FF FF FF FF"}, {"1.7976931348623159E308", D, "7F F0 00 00 00 00 00 00"},
    {"1.18973149535723176502E4932", X, "7F FE FF FF FF FF FF FF FF FF"},
    {"1.2E4932", X, "7F FF 80 00 00 00 00 00 00 00"}, {"1E999999999", D, "7F F0 00 00 00 00 00 00"},
    {"-1E99999999999999999999999", X, "FF FF 80 00 00 00 00 00 00 00"},
    // Subnormals and underflow to signed zero.
    {"1.4E-45", S, "00 00 00 01"}, {"0.7E-45", S, "00 00 00 00"}, {"-0.8E-45", S, "80 00 00 01"},
    {"1.1754942E-38", S, "00 7F FF FF"}, {"1.17549435E-38", S, "00 80 00 00"},
    {"4.9E-324", D, "00 00 00 00 00 00 00 01"}, {"2.4703282292062327E-324", D, "00 00 00 00 00 00 00 00"},
    {"2.4703282292062328E-324", D, "00 00 00 00 00 00 00 01"},
    {"2.2250738585072011E-308", D, "00 0F FF FF FF FF FF FF"},
    {"2.2250738585072014E-308", D, "00 10 00 00 00 00 00 00"}, {"3.6452E-4951", X, "00 00 00 00 00 00 00 00 00 01"},
    {"1.8E-4951", X, "00 00 00 00 00 00 00 00 00 00"},
    {"3.36210314311209350626E-4932", X, "00 01 80 00 00 00 00 00 00 00"},
    {"3.3621031431120935E-4932", X, "00 00 7F FF FF FF FF FF FF EF"},
    {"3.362103143112093506E-4932", X, "00 00 7F FF FF FF FF FF FF FF"},
    {"3.3621031431120935062E-4932", X, "00 01 80 00 00 00 00 00 00 00"}, {"1E-999999999", S, "00 00 00 00"},
    {"-1E-999999999", D, "80 00 00 00 00 00 00 00"},
    // Exact midpoints go to the even neighbour.
    {"16777217", S, "4B 80 00 00"}, {"16777219", S, "4B 80 00 02"}, {"9007199254740993", D, "43 40 00 00 00 00 00 00"},
    {"9007199254740995", D, "43 40 00 00 00 00 00 02"}, {"18446744073709551617", X, "40 3F 80 00 00 00 00 00 00 00"},
    {"18446744073709551619", X, "40 3F 80 00 00 00 00 00 00 02"},
    {"18446744073709551615", X, "40 3E FF FF FF FF FF FF FF FF"},
    {"36893488147419103231", X, "40 40 80 00 00 00 00 00 00 00"},
    {"3.14159265358979323846", X, "40 00 C9 0F DA A2 21 68 C2 35"}, {"2", X, "40 00 80 00 00 00 00 00 00 00"},
    {"-1.5e1", X, "C0 02 F0 00 00 00 00 00 00 00"},
};

TEST(FloatFormatTest, EncodesKnownValues) {
  for (const auto& c : kEncodingCases) {
    EXPECT_EQ(Encode(c.Text, c.Kind), c.Bytes) << c.Text << " kind " << static_cast<int>(c.Kind);
  }
}

struct TPositionCase {
  const char* Text;
  int Consumed;  // characters of Text the number spans; 0 means no number
};

const TPositionCase kPositionCases[] = {
    {"5\n", 1},          {"5.\n", 2},        {".5,", 2},           {" \t-5.25 ", 7},
    {"+1e5x", 4},        {"1.5E\n", 3},      {"1e+;", 1},          {"2e-7", 4},
    {"007.00e+010", 11}, {"abc", 0},         {"  .\n", 0},         {"-\n", 0},
    {"+.e5", 0},         {"", 0},            {"  E5", 0},          {"1.2.3", 3},
};

TEST(FloatFormatTest, ReturnsPositionAfterNumber) {
  for (const auto& c : kPositionCases) {
    uint8_t out[10];
    std::memset(out, 0xAA, sizeof out);
    const char* end = ReadDecimalFloat(c.Text, TFloatKind::Double, out);
    EXPECT_EQ(end - c.Text, c.Consumed) << '"' << c.Text << '"';
    if (c.Consumed == 0) {
      EXPECT_EQ(Hex(out, 8), "00 00 00 00 00 00 00 00") << '"' << c.Text << '"';
    }
  }
}

TEST(FloatFormatTest, DigitsFarBeyondTheMidpointStillDecide) {
  // A nonzero digit thousands of places after the point turns a midpoint into
  // a value above it; zeros alone keep it a midpoint.
  const std::string zeros(13000, '0');
  EXPECT_EQ(Encode("16777217." + zeros, S), "4B 80 00 00");
  EXPECT_EQ(Encode("16777217." + zeros + "1", S), "4B 80 00 01");
  EXPECT_EQ(Encode("16777217" + zeros + "e-13000", S), "4B 80 00 00");
  EXPECT_EQ(Encode("16777217" + zeros + "1e-13001", S), "4B 80 00 01");
  EXPECT_EQ(Encode("0." + zeros + "1e13001", D), "3F F0 00 00 00 00 00 00");
  EXPECT_EQ(Encode(std::string(20000, '9'), X), "7F FF 80 00 00 00 00 00 00 00");
}

// Random decimal text: a sign, up to maxDigits digits around a decimal point,
// and an exponent drawn from [minExp, maxExp].
std::string RandomDecimal(std::mt19937_64& rng, int maxDigits, int minExp, int maxExp) {
  std::string text;
  if (rng() % 2) text += '-';
  const int digits = 1 + static_cast<int>(rng() % maxDigits);
  const int point = static_cast<int>(rng() % (digits + 1));
  for (int i = 0; i < digits; ++i) {
    if (i == point) text += '.';
    text += static_cast<char>('0' + rng() % 10);
  }
  const int exponent = minExp + static_cast<int>(rng() % static_cast<uint64_t>(maxExp - minExp + 1));
  text += rng() % 2 ? 'e' : 'E';
  text.append(std::to_string(exponent));
  return text;
}

TEST(FloatFormatTest, MatchesHostConversionForRandomText) {
  std::mt19937_64 rng(20240611);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomDecimal(rng, 30, -80, 60);
    const std::string line = text + "\n";
    uint8_t out[10];
    const char* end = ReadDecimalFloat(line.c_str(), S, out);
    ASSERT_EQ(Hex(out, 4), HostHex(std::strtof(text.c_str(), nullptr))) << text;
    ASSERT_EQ(*end, '\n') << text;
  }
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomDecimal(rng, i % 10 == 0 ? 250 : 30, -360, 330);
    ASSERT_EQ(Encode(text, D), HostHex(std::strtod(text.c_str(), nullptr))) << text;
  }
}

// The exact midpoint of two neighbouring values below LIMIT (the bits of
// TFloat in TWord), computed in TWide and printed with DIGITS fractional
// digits, must round to the even one of the two.
template <class TWord, class TFloat, class TWide>
void ExpectMidpointsRoundToEven(std::mt19937_64& rng, int count, TWord limit, TFloatKind kind, int digits) {
  for (int i = 0; i < count; ++i) {
    const TWord low = static_cast<TWord>(rng() % limit), high = low + 1;
    TFloat a, b;
    std::memcpy(&a, &low, sizeof a);
    std::memcpy(&b, &high, sizeof b);
    char text[900];
    std::snprintf(text, sizeof text, "%.*Le", digits, static_cast<long double>((TWide(a) + TWide(b)) / 2));
    ASSERT_EQ(Encode(text, kind), HexOfWord(low % 2 == 0 ? low : high, sizeof low)) << text;
  }
}

TEST(FloatFormatTest, RoundsExactSingleMidpointsToEven) {
  // The midpoint of two neighbouring singles is exact in a double, and 120
  // fractional digits print it exactly.
  std::mt19937_64 rng(7);
  ExpectMidpointsRoundToEven<uint32_t, float, double>(rng, 2000, 0x7F7FFFFFu, S, 120);
}

bool HostHasX87LongDouble() {
  if (LDBL_MANT_DIG != 64 || sizeof(long double) < 10) return false;
  long double one = 1.0L;
  uint8_t bytes[sizeof(long double)];
  std::memcpy(bytes, &one, sizeof one);
  return bytes[9] == 0x3F && bytes[8] == 0xFF && bytes[7] == 0x80;
}

std::string HostHexExtended(long double value) {
  std::string bytes(reinterpret_cast<const char*>(&value), 10);  // little-endian
  return ::Hex(std::string(bytes.rbegin(), bytes.rend()));
}

TEST(FloatFormatTest, MatchesHostExtendedWhenAvailable) {
  if (!HostHasX87LongDouble()) GTEST_SKIP() << "host long double is not the 80-bit format";
  std::mt19937_64 rng(99);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = i % 4 == 0 ? RandomDecimal(rng, 40, -4990, 4960) : RandomDecimal(rng, 40, -60, 60);
    ASSERT_EQ(Encode(text, X), HostHexExtended(std::strtold(text.c_str(), nullptr))) << text;
  }
  // Exact midpoints of neighbouring doubles fit the 64-bit significand.
  ExpectMidpointsRoundToEven<uint64_t, double, long double>(rng, 300, 0x7FEFFFFFFFFFFFFFull, D, 800);
}

}  // namespace
