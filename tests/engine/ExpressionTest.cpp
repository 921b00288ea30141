// Operand evaluation: precedence, bases, strings, operators and their errors,
// checked through the value an EQU line gives its name.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "Tarn.h"
#include "TestSupport.h"

namespace {

struct TExprCase {
  const char* Expression;
  uint32_t Value;
  int Error;        // 0 = none
  int Column = 0;   // 0 = not checked; in "V\tEQU <expression>" the expression starts in column 13
};

uint32_t ValueOf(const std::string& object) {
  uint32_t v = 0;
  for (unsigned char c : object) v = (v << 8) | c;
  return v;
}

class ExpressionTest : public ::testing::TestWithParam<TExprCase> {};

TEST_P(ExpressionTest, EvaluatesAsDfl) {
  const TExprCase& c = GetParam();
  TRunResult r =
      AssembleText("\tHOF \"BIN32\"\nTWO\tEQU 2\nV\tEQU " + std::string(c.Expression) + "\n\tDFL V\n");
  ASSERT_EQ(r.Object.size(), 4u) << r.Listing;
  EXPECT_EQ(ValueOf(r.Object), c.Value) << c.Expression;
  int error = r.LastPass.empty() ? 0 : r.LastPass[0].Number;
  EXPECT_EQ(error, c.Error) << c.Expression << "\n" << r.Errors;
  if (c.Column && !r.LastPass.empty()) {
    EXPECT_EQ(r.LastPass[0].Column, c.Column) << c.Expression;
  }
}

const TExprCase Cases[] = {
    // precedence and association
    {"2+3*4", 14, 0},
    {"{2+3}*4", 20, 0},
    {"10-4-3", 3, 0},
    {"1<<4|1", 17, 0},
    {"-2*3", 0xFFFFFFFA, 0},
    {"!TWO+1", 1, 0},
    {"1+2==3&&2<3", 1, 0},
    {"6&3^1|8", 11, 0},
    {"0||TWO", 1, 0},
    {"{{{{1+1}}}}*{3}", 6, 0},
    {"-{-5}", 5, 0},
    // division and remainder truncate toward zero, the remainder takes the dividend's sign
    {"100/7", 14, 0},
    {"-7/2", 0xFFFFFFFD, 0},
    {"-7%2", 0xFFFFFFFF, 0},
    {"0x80000000/-1", 0x80000000, 0},
    // shifts: arithmetic right, 32 and more refused
    {"-16>>2", 0xFFFFFFFC, 0},
    {"1<<31", 0x80000000, 0},
    {"1<<32", 0, 48},
    {"5/0", 0, 53, 14},
    {"5%0", 0, 53},
    // unary operator names
    {"HIGH 1234H", 0x12, 0},
    {"LOW 1234H", 0x34, 0},
    {"INV 12345678H", 0x78563412, 0},
    {"NOT 0", 0xFFFFFFFF, 0},
    {"~1", 0xFFFFFFFE, 0},
    {"HIGH 1234H+1", 0x13, 0},
    // number bases and suffixes
    {"0FFH", 0xFF, 0},
    {"0x1F", 0x1F, 0},
    {"1FH", 0x1F, 0},
    {"377Q", 0xFF, 0},
    {"17O", 15, 0},
    {"1010B", 10, 0},
    {"99D", 99, 0},
    {"$1F", 0x1F, 0},
    {"0x1B", 0x1B, 0},
    {"0x1D", 0x1D, 0},
    {"017", 15, 0},
    {"99999999999", 0xFFFFFFFF, 0},
    {"1F", 0, 43, 12},
    {"09", 0, 43},
    {"12AB", 0, 43},
    {"102B", 0, 43},
    // strings pack into the value, only the last four characters remain
    {"\"ABCD\"", 0x41424344, 0},
    {"\"A\"", 0x41, 0},
    {"\"\"", 0, 0},
    {"\"ABC", 0, 41},
    // errors of the grammar
    {"{1+2", 0, 42},
    {"1+2}", 0, 46},
    {"3 4", 0, 44},
    {"(1)", 0, 45, 12},
    {"1+", 0, 47},
    {"*2", 0, 49},
    {"2!3", 0, 50},
    {"1+,", 0, 52},
    {"1=2", 0, 45},
    {"UNDEFINED+1", 0, 40, 12},
    {"#", 0, 45},
};

INSTANTIATE_TEST_SUITE_P(Table, ExpressionTest, ::testing::ValuesIn(Cases));

TEST(Expression, CommaEndsAnExpressionAndTheNextBegins) {
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tDFB 1,2 , 3\n");
  EXPECT_EQ(Hex(r.Object), "01 02 03");
  EXPECT_EQ(r.ErrorCount, 0);
}

TEST(Expression, DollarIsTheAddressOfTheLinesFirstByte) {
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tORG 10H\n\tDFB $,$,`\n");
  EXPECT_EQ(Hex(r.Object), "10 10 02");
}

TEST(Expression, ForwardReferenceResolvesInPassTwo) {
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tDWL LATER\n\tDFB 0\nLATER\tDFB 1\n");
  EXPECT_EQ(Hex(r.Object), "03 00 00 01");
  EXPECT_EQ(r.ErrorCount, 0);
  EXPECT_EQ(r.Passes, 2);
}

TEST(Expression, DeepBracketsNeitherCrashNorOverflow) {
  std::string deep(250, '{');
  deep += "1";
  deep += std::string(250, '}');
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tDFB " + deep + "\n");
  // The line arrives in pieces: the first lacks its closing brackets, the rest
  // cannot start an instruction.
  ASSERT_EQ(r.ErrorCount, 2);
  EXPECT_EQ(r.LastPass[0].Number, 47);
  EXPECT_EQ(r.LastPass[1].Number, 37);
  EXPECT_EQ(r.Object.size(), 1u);
}

// A field value's steps of sums, differences, negations and products with a
// constant are worked out in one step: the same value as replaying them, wrapped
// at 32 bits, and the counter noted as read just when a step reads it. Any other
// steps are left to the replay.
TEST(Expression, SumsOfStepsComeOutAsTheirReplay) {
  using Op = TTarn::TTraceOp;
  auto constant = [](int32_t v) { return Op{Op::Constant, v}; };
  const Op operand{Op::Operand, 0}, counter{Op::ProgramCounter, 0}, bytes{Op::ByteCount, 0};
  auto unary = [](int32_t c) { return Op{Op::Unary, c}; };
  auto binary = [](int32_t c) { return Op{Op::Binary, c}; };
  struct TStepsCase {
    const char* Text;
    std::vector<Op> Steps;
    bool Linear;
  };
  const std::vector<TStepsCase> cases = {
      {"# - $ - 2", {operand, counter, binary('-'), constant(2), binary('-')}, true},
      {"$ + 129", {counter, constant(129), binary('+')}, true},
      {"-# + BYTES", {operand, unary('-'), bytes, binary('+')}, true},
      {"{# + 1} * 4", {operand, constant(1), binary('+'), unary('{'), constant(4), binary('*')}, true},
      {"3 * ($ - #)", {constant(3), counter, operand, binary('-'), binary('*')}, true},
      {"+2147483647 + #", {constant(INT32_MAX), unary('+'), operand, binary('+')}, true},
      {"$ - $", {counter, counter, binary('-')}, true},
      {"# * #", {operand, operand, binary('*')}, false},
      {"INV # >> 16", {operand, unary(4), constant(16), binary(0x3E3E)}, false},
      {"~#", {operand, unary('~')}, false},
      {"# / 2", {operand, constant(2), binary('/')}, false},
      {"a lone operator", {binary('+')}, false},
      {"two values left", {operand, constant(1)}, false},
  };
  const int32_t operands[] = {0, 1, -1, 0x7F, 0x1234, INT32_MAX, INT32_MIN};
  const int32_t counters[] = {0, 0x1000, -5, INT32_MAX};
  TTarn t;
  for (const TStepsCase& c : cases) {
    TTarn::TFieldShape shape;
    shape.Kind[0] = TTarn::TFieldShape::Traced;
    shape.Trace[0] = c.Steps;
    shape.Linear[0] = TTarn::LinearStepsOf(c.Steps.data(), int(c.Steps.size()));
    EXPECT_EQ(shape.Linear[0].Valid, c.Linear) << c.Text;
    for (int32_t o : operands) {
      for (int32_t pc : counters) {
        t.OperandValue = o;
        t.ProgramCounter = pc;
        t.ByteCount = 3;
        int32_t replayed = 0, linear = 0;
        t.RecordReadsCounter = false;
        bool replayOk = t.ReplayTrace(c.Steps.data(), int(c.Steps.size()), replayed);
        bool replayReads = t.RecordReadsCounter;
        t.RecordReadsCounter = false;
        bool linearOk = t.TracedPart(shape, 0, linear);
        EXPECT_EQ(linearOk, replayOk) << c.Text;
        if (replayOk) {
          EXPECT_EQ(linear, replayed) << c.Text << " with # = " << o << ", $ = " << pc;
        }
        EXPECT_EQ(t.RecordReadsCounter, replayReads) << c.Text;
      }
    }
  }
}

}  // namespace
