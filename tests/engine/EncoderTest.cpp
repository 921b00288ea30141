// Instruction matching and encoding on a small imaginary processor, and the
// loading of malformed tables.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {


struct TEncodeCase {
  const char* Line;
  const char* Bytes;
  int Error = 0;
};

class EncoderTest : public ::testing::TestWithParam<TEncodeCase> {};

TEST_P(EncoderTest, EncodesOrReportsTheBestError) {
  const TEncodeCase& c = GetParam();
  TRunResult r = AssembleText(std::string("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tORG 100H\n") + c.Line + "\n",
                              {{"x.tbl", ImaginaryTable}});
  EXPECT_EQ(Hex(r.Object), c.Bytes) << c.Line << "\n" << r.Listing;
  int error = r.LastPass.empty() ? 0 : r.LastPass[0].Number;
  EXPECT_EQ(error, c.Error) << c.Line << "\n" << r.Errors;
}

// A line that fails keeps the length of the last alternative tried, as zero
// bytes, so that the addresses behind it do not move with its errors.
const TEncodeCase Cases[] = {
    {"\tNOP", "00"},
    {"\tnop", "00"},
    {"\tNOP 5", "00", 33},
    {"\tNOP A", "01"},
    {"\tNOP  a", "01"},
    {"\tLD #5", "10 05"},
    {"\tLD 1234H", "11 12 34"},
    {"\tLD  # 5", "10 05"},
    {"\tLD #-128", "10 80"},
    {"\tLD #300", "00 00 00", 45},     // the short form's range error loses to the long form's "#"
    {"\tLD", "00 00 00", 47},
    {"\tMOV B,7", "41 07"},
    {"\tMOV d , 7", "43 07"},
    {"\tMOV E,7", "00 00", 33},
    {"\tMOV ,7", "00 00", 33},
    {"L\tBR L+10", "20 08"},
    {"L\tBR L-126", "20 80"},
    {"L\tBR L+200", "00 00", 36},
    {"\tPUSH A,C", "30 05"},
    {"\tPUSH D", "30 08"},
    {"\tPUSH", "00 00", 36},        // an empty set is left to the range check
    {"\tJP 12H", "C0 12"},
    {"\tJP 1234H", "C2 12 34"},
    {"\tST 0ABH", "E0 0A B0"},   // a field that straddles two bytes
    {"\tJMPI (1234H)", "D0 34 12"},
    {"\tJMPI 1234H", "00 00 00", 33},
    {"\tUNDEF 5", "00 00", 33},      // a field the table does not define never matches
    {"\tBLANK 5", "00 00", 33},      // a blank in a sub-pattern never matches
    {"\tLDX 5", "00", 33},        // nor does a group the table does not define
    {"\tTWO X , Y", "02 03"},
    {"\tTWO X,Z", "00 00", 33},
    {"\tNOPL", "AB"},          // the table is folded to upper case as it is read
    {"\tLD UNDEFINED", "00 00 00", 40},
};

INSTANTIATE_TEST_SUITE_P(Table, EncoderTest, ::testing::ValuesIn(Cases));

TEST(Encoder, FieldsStraddlingBytesAreInsertedMostSignificantBitFirst) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tJP 0ABH\n",
                              {{"x.tbl", "*\n7,12,8,#,0,255\n*\n1,{7}^000000:\n*\nJP|1^C0:\n"}});
  EXPECT_EQ(Hex(r.Object), "C0 0A B0");
}

TEST(Encoder, ForwardReferenceTakesTheShortFormFirstThenTheLongOne) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tJP TARGET\nAFTER\tDFB AFTER\nTARGET\tEQU 1234H\n",
                              {{"x.tbl", ImaginaryTable}});
  EXPECT_EQ(Hex(r.Object), "C2 12 34 03");
  EXPECT_EQ(r.ErrorCount, 0);
  EXPECT_EQ(r.Passes, 3);
}

TEST(Encoder, LabelOfAFailingInstructionIsStillDefined) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tNOP\nHERE\tMOV E,7\n\tDFB HERE\n",
                              {{"x.tbl", ImaginaryTable}});
  EXPECT_EQ(Hex(r.Object), "00 00 00 01");
  ASSERT_EQ(r.LastPass.size(), 1u);
  EXPECT_EQ(r.LastPass[0].Number, 33);
}

// A field's descriptor is read once and then recomputed from the operand,
// the program counter and the byte count: each line must still get its own
// value, its own range check and its own errors.
TEST(Encoder, DescriptorsGiveEachLineItsOwnValueAndErrors) {
  const char* table = "*\n1,8,8,100H / #,0,255\n2,8,8,# - $ - `,$ - 126,$ + 129\n*\n"
                      "1,{1}^0000:\n2,{2}^0000:\n*\nDIV|1^D0:\nBR|2^20:\n";
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tDIV 5\n\tDIV 0\n\tDIV 4\n\tDIV 300\n"
                              "L\tBR L+4\n\tBR L\n\tBR L+200\n\tBR L\n",
                              {{"x.tbl", table}});
  EXPECT_EQ(Hex(r.Object), "D0 33 00 00 D0 40 00 00 20 02 20 FC 00 00 20 F8");
  ASSERT_EQ(r.LastPass.size(), 3u) << r.Errors;
  EXPECT_EQ(r.LastPass[0].Number, 53);  // division by zero, on the second line only
  EXPECT_EQ(r.LastPass[0].Line, 4u);
  EXPECT_EQ(r.LastPass[1].Number, 36);  // 300 is beyond the range 0..255
  EXPECT_EQ(r.LastPass[2].Number, 36);  // the branch beyond its reach
  EXPECT_EQ(r.LastPass[2].Line, 9u);
}

TEST(Encoder, WithoutInstructionsEveryMnemonicIsUnknown) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tNOP\n", {{"x.tbl", "0,\"A\"\n*\n*\n*\n"}});
  ASSERT_EQ(r.LastPass.size(), 1u);
  EXPECT_EQ(r.LastPass[0].Number, 35);
}

TEST(Encoder, SourceAfterTheFourthSeparatorIsAssembledInEveryPass) {
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tCPU \"x.tbl\"\n\tNOP\n\tDWL INTABLE\n",
                              {{"x.tbl", std::string(ImaginaryTable) + "*\n\tLD #1\nINTABLE\tNOP\n"}});
  EXPECT_EQ(Hex(r.Object), "10 01 00 00 02 00");
  EXPECT_EQ(r.ErrorCount, 0) << r.Errors;
}

TEST(Encoder, ASecondCpuLineLoadsNothing) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tCPU \"missing.tbl\"\n\tHOF \"BIN8\"\n\tNOP\n", {{"x.tbl", ImaginaryTable}});
  EXPECT_EQ(Hex(r.Object), "00");
  EXPECT_EQ(r.ErrorCount, 0);
}

TEST(Encoder, LowerCaseCodeDigitsLoadOnlyWhileNamesAreFolded) {
  const char table[] = "*\n*\n*\nNOP^ab:\n";
  EXPECT_EQ(Hex(AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tNOP\n", {{"x.tbl", table}}).Object), "AB");
  TRunResult kept = AssembleText("\tCASE \"ON\"\n\tCPU \"x.tbl\"\n\tNOP\n", {{"x.tbl", table}});
  ASSERT_FALSE(kept.LastPass.empty());
  EXPECT_EQ(kept.LastPass[0].Number, 6);
}

struct TMalformedCase { const char* Table; int Error; };

class MalformedTableTest : public ::testing::TestWithParam<TMalformedCase> {};

TEST_P(MalformedTableTest, StopsTheRunWithItsError) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tNOP\n", {{"x.tbl", GetParam().Table}});
  ASSERT_FALSE(r.LastPass.empty()) << GetParam().Table;
  EXPECT_EQ(r.LastPass[0].Number, GetParam().Error) << GetParam().Table;
}

std::string TooManyBytes() { return "*\n*\n*\nNOP^" + std::string(512, '0') + ":\n"; }

const TMalformedCase Malformed[] = {
    {"*\n*\n*\nNOP 00:\n", 6},
    {"*\n*\n*\nNOP^00\n", 6},
    {"*\n*\n*\nNOP^000:\n", 6},
    {"*\n*\n*\nNOP^0G:\n", 6},
    {"*\n*\n1,X^00\n", 6},
};

INSTANTIATE_TEST_SUITE_P(Tables, MalformedTableTest, ::testing::ValuesIn(Malformed));

TEST(Encoder, TwoHundredFiftySixCodeBytesAreRefused) {
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tNOP\n", {{"x.tbl", TooManyBytes()}});
  ASSERT_FALSE(r.LastPass.empty());
  EXPECT_EQ(r.LastPass[0].Number, 6);
}

TEST(Encoder, HugeBitPositionsStayInsideTheCode) {
  // Bit 255 is in byte 31; the instruction has 2 bytes, so nothing shows, and nothing overflows.
  TRunResult r = AssembleText("\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tNOP 7\n\tDFB 1\n",
                              {{"x.tbl", "*\n1,255,255,#,0,255\n*\n1,{1}^0000:\n*\nNOP|1^AA:\n"}});
  EXPECT_EQ(Hex(r.Object), "AA 00 01");
  EXPECT_EQ(r.ErrorCount, 0);
}

TEST(Encoder, MissingTableIsFatal) {
  TRunResult r = AssembleText("\tCPU \"nothing.tbl\"\n\tNOP\n");
  ASSERT_EQ(r.LastPass.size(), 1u);
  EXPECT_EQ(r.LastPass[0].Number, 1);
  TRunResult notString = AssembleText("\tCPU nothing\n");
  ASSERT_FALSE(notString.LastPass.empty());
  EXPECT_EQ(notString.LastPass[0].Number, 28);
}

}  // namespace

namespace {

// A name field may end with the value to insert, computed from "#" (the
// name's place in the list, or a set's mask); without it the place itself is
// inserted, as before.
TEST(Encoder, NameFieldWithAValueExpression) {
  const char table[] =
      "0,\"R0\",\"R1\",\"R2\",\"R3\",\"R4\",\"R5\",\"R6\",\"R7\"\n"
      "*\n"
      "1,0,8,@0,0,7,#*2+1\n"
      "2,0,16,@0,0,7,{# & 1} << 15 | # >> 1   ; bits far apart\n"
      "3,8,8,@&0,0,255,# ^ 0FFH\n"
      "4,0,8,@0,0,7\n"
      "5,0,8,@0,0,7,{#}+1\n"
      "*\n"
      "1,{1}^00:\n2,{2}^0000:\n3,{3}^0000:\n4,{4}^00:\n5,{5}}^00:\n"
      "*\n"
      "ODD|1^00:\nSPLIT|2^0000:\nSET|3^F0:\nPLAIN|4^00:\nBRACE|5^00:\n";
  struct TCase { const char* Line; const char* Bytes; int Error; };
  const TCase cases[] = {
      {"\tODD R3", "07", 0},
      {"\tSPLIT R5", "80 02", 0},
      {"\tSET R0,R7", "F0 7E", 0},
      {"\tPLAIN R6", "06", 0},
      {"\tODD R8", "00", 33},
      // The "}" that ends the operand in the source does not end the value part.
      {"\tBRACE R1}", "02", 0},
  };
  for (const TCase& c : cases) {
    TRunResult r = AssembleText(std::string("\tCPU \"e.tbl\"\n\tHOF \"BIN8\"\n") + c.Line + "\n", {{"e.tbl", table}});
    EXPECT_EQ(Hex(r.Object), c.Bytes) << c.Line;
    EXPECT_EQ(r.LastPass.empty() ? 0 : r.LastPass[0].Number, c.Error) << c.Line << "\n" << r.Errors;
  }
}

// An error raised inside a field descriptor (here a string without its
// closing quote) stands in the source line, where the operand was read, and
// is the same from run to run; it once took its column from wherever the
// table's text happened to lie in memory.
TEST(Encoder, ErrorInsideADescriptorStandsInTheLine) {
  const std::string table = "*\n1,8,8,# - \",0,255\n*\n1,{1}^00:\n*\nBR|1^10:\n";
  const std::string source = "\tCPU \"x.tbl\"\n\tBR 5\n";
  TRunResult first = AssembleText(source, {{"x.tbl", table}});
  ASSERT_FALSE(first.LastPass.empty()) << first.Errors;
  EXPECT_EQ(first.LastPass[0].Number, 41);
  EXPECT_EQ(first.LastPass[0].Column, 13u);  // "\tBR 5" is 12 columns after the tab: at its end
  TRunResult again = AssembleText(source, {{"x.tbl", table}});
  EXPECT_EQ(first.Errors, again.Errors);
}

}  // namespace
