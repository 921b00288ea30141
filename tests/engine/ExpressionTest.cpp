// Operand evaluation: precedence, bases, strings, operators and their errors,
// checked through the value an EQU line gives its name.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <vector>

#include "Tarn.h"
#include "TestSupport.h"

namespace {

struct TExprCase {
  const char* Expression;
  uint32_t Value;
  int Error = 0;
  int Column = 0;  // 0 = not checked; in "V\tEQU <expression>" the expression starts in column 13
};

class ExpressionTest : public ::testing::TestWithParam<TExprCase> {};

TEST_P(ExpressionTest, EvaluatesAsDfl) {
  const TExprCase& c = GetParam();
  char bytes[12];
  std::snprintf(bytes, sizeof bytes, "%02X %02X %02X %02X", c.Value >> 24, (c.Value >> 16) & 255, (c.Value >> 8) & 255,
                c.Value & 255);
  ExpectRun({std::string(c.Expression) + "\n\tDFL V\n", bytes, c.Error, c.Column},
            "\tHOF \"BIN32\"\nTWO\tEQU 2\nV\tEQU ");
}

const TExprCase Cases[] = {
    // precedence and association
    {"2+3*4", 14}, {"{2+3}*4", 20}, {"10-4-3", 3}, {"1<<4|1", 17}, {"-2*3", 0xFFFFFFFA}, {"!TWO+1", 1},
    {"1+2==3&&2<3", 1}, {"6&3^1|8", 11}, {"0||TWO", 1}, {"{{{{1+1}}}}*{3}", 6}, {"-{-5}", 5},
    // division and remainder truncate toward zero, the remainder takes the dividend's sign
    {"100/7", 14}, {"-7/2", 0xFFFFFFFD}, {"-7%2", 0xFFFFFFFF}, {"0x80000000/-1", 0x80000000},
    // shifts: arithmetic right, 32 and more refused
    {"-16>>2", 0xFFFFFFFC}, {"1<<31", 0x80000000}, {"1<<32", 0, 48}, {"5/0", 0, 53, 14}, {"5%0", 0, 53},
    // unary operator names
    {"HIGH 1234H", 0x12}, {"LOW 1234H", 0x34}, {"INV 12345678H", 0x78563412}, {"NOT 0", 0xFFFFFFFF},
    {"~1", 0xFFFFFFFE}, {"HIGH 1234H+1", 0x13},
    // number bases and suffixes
    {"0FFH", 0xFF}, {"0x1F", 0x1F}, {"1FH", 0x1F}, {"377Q", 0xFF}, {"17O", 15}, {"1010B", 10}, {"99D", 99},
    {"$1F", 0x1F}, {"0x1B", 0x1B}, {"0x1D", 0x1D}, {"017", 15}, {"99999999999", 0xFFFFFFFF},
    {"1F", 0, 43, 12}, {"09", 0, 43}, {"12AB", 0, 43}, {"102B", 0, 43},
    // strings pack into the value, only the last four characters remain
    {"\"ABCD\"", 0x41424344}, {"\"A\"", 0x41}, {"\"\"", 0}, {"\"ABC", 0, 41},
    // errors of the grammar
    {"{1+2", 0, 42}, {"1+2}", 0, 46}, {"3 4", 0, 44}, {"(1)", 0, 45, 12}, {"1+", 0, 47}, {"*2", 0, 49},
    {"2!3", 0, 50}, {"1+,", 0, 52}, {"1=2", 0, 45}, {"UNDEFINED+1", 0, 40, 12}, {"#", 0, 45},
};

INSTANTIATE_TEST_SUITE_P(Table, ExpressionTest, ::testing::ValuesIn(Cases));

TEST(Expression, DeepBracketsNeitherCrashNorOverflow) {
  // The line arrives in pieces: the first lacks its closing brackets, the rest
  // cannot start an instruction.
  TRunResult r = ExpectRun({"\tDFB " + std::string(250, '{') + "1" + std::string(250, '}') + "\n", "00", 47});
  ASSERT_EQ(r.ErrorCount, 2);
  EXPECT_EQ(r.LastPass[1].Number, 37);
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
