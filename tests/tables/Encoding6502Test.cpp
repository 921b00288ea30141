// Single 6502 instructions through tables/6502.tbl: the bytes they give, the
// form chosen for an operand, and the operands that the processor refuses.
#include <gtest/gtest.h>

#include "TableRun.h"

namespace {

const char Prologue[] = "\tCPU \"6502.tbl\"\n\tHOF \"BIN8\"\n\tORG $1000\n";
constexpr int FirstCaseLine = 4;

// Every line is indented, so labels carry a colon; several lines are
// separated by "\n".
std::string SourceOf(const std::string& lines) {
  std::string text = Prologue;
  for (char c : "\t" + lines + "\n") text += c == '\n' ? std::string("\n\t") : std::string(1, c);
  return text + "END\n";
}

struct TBytesCase {
  const char* Lines;
  const char* Bytes;
  int Passes = 0;  // 0: not checked
};

void PrintTo(const TBytesCase& c, std::ostream* os) { *os << c.Lines; }

class Encoding6502Test : public ::testing::TestWithParam<TBytesCase> {};

TEST_P(Encoding6502Test, GivesTheseBytes) {
  TTempDir dir;
  TTableRun r = RunTarnOnText(dir, SourceOf(GetParam().Lines));
  EXPECT_TRUE(r.Errors.empty()) << r.Stderr;
  EXPECT_EQ(Hex(r.Object), GetParam().Bytes);
  if (GetParam().Passes) {
    EXPECT_EQ(r.Passes, GetParam().Passes) << r.Stderr;
  }
}

const TBytesCase BytesCases[] = {
    // Each opcode, the zero-page and absolute edge and the reach of branches
    // are compared with other assemblers (PeerTest, peer/6502); here what
    // they leave out. Plain operands take two passes.
    {"LDA #$12", "A9 12", 2}, {"LDA $12", "A5 12", 2}, {"LDA $1234", "AD 34 12", 2},
    // Jumps have no zero-page form.
    {"JSR $12", "20 12 00"},
    // Immediate bytes, signed or unsigned, and the operators that take bytes.
    {"LDA #-1", "A9 FF"}, {"LDA #-128", "A9 80"}, {"LDA #LOW $1234", "A9 34"}, {"LDA #HIGH $1234", "A9 12"},
    {"CMP #\"A\"", "C9 41"}, {"LDX #{$10+2}*2", "A2 24"},
    // Lower case and blanks inside the operand.
    {"lda ( $12 ) , y", "B1 12"}, {"sta $1234 , x", "9D 34 12"},
    // A branch to a label ahead.
    {"BEQ NEXT\nNOP\nNEXT: RTS", "F0 01 EA 60", 2},
    // Names: a constant known before use, a forward one in page zero (short in
    // every pass), and a forward address that needs the long form, found in
    // pass 2 and settled in a third pass.
    {"ZP: EQU $80\nLDA ZP", "A5 80", 2}, {"LDA FWD\nFWD: EQU $80", "A5 80", 2},
    {"LDA LATER\nLATER: NOP", "AD 03 10 EA", 3}, {"JMP LATER\nLATER: NOP", "4C 03 10 EA", 2},
    {"LDA LATER,X\nLATER: NOP", "BD 03 10 EA", 3},
};

INSTANTIATE_TEST_SUITE_P(Table6502, Encoding6502Test, ::testing::ValuesIn(BytesCases));

struct TRefusedCase {
  const char* Lines;
  int Error = 0;  // 0: any error
};

void PrintTo(const TRefusedCase& c, std::ostream* os) { *os << c.Lines; }

class Refused6502Test : public ::testing::TestWithParam<TRefusedCase> {};

// A refused operand gives its error on its own line and no opcode: only zero
// bytes hold the instruction's place.
TEST_P(Refused6502Test, ReportsAnErrorAndNoOpcode) {
  TTempDir dir;
  TTableRun r = RunTarnOnText(dir, SourceOf(GetParam().Lines));
  ASSERT_FALSE(r.Errors.empty()) << "no error for " << GetParam().Lines << ", bytes " << Hex(r.Object);
  EXPECT_EQ(r.Errors[0].Line, FirstCaseLine) << r.Stderr;
  if (GetParam().Error) {
    EXPECT_EQ(r.Errors[0].Number, GetParam().Error) << r.Stderr;
  }
  EXPECT_LE(r.Object.size(), 3u);
  EXPECT_EQ(r.Object.find_first_not_of('\0'), std::string::npos) << Hex(r.Object);
}

const TRefusedCase RefusedCases[] = {
    // Out of range: branch offsets, immediate bytes, addresses.
    {"BNE $+130", 36}, {"BNE $-127", 36}, {"LDA #$100", 36}, {"LDA #-129", 36},
    // Also where the last form reads "#" as an operator: the closing shape
    // lets the range error stand.
    {"LDX #300", 36}, {"LDY #-129", 36}, {"CPX #256", 36}, {"CPY #300", 36},
    {"LDA $10000", 36}, {"LDA NOWHERE", 40}, {"NOP $12", 33},
    // Modes the NMOS 6502 does not have (some are later processors' forms).
    {"STA #$12"}, {"STX $1234,Y"}, {"STY $1234,X"}, {"LDY $12,Y"}, {"BIT #$12"}, {"BIT $12,X"}, {"LDA ($12)"},
    {"LDA ($1234),Y"}, {"JMP $1234,X"}, {"JMP ($12,X)"}, {"INC A"}, {"ASL #1"}, {"CPX $12,X"}, {"LDA $12,Z"},
};

INSTANTIATE_TEST_SUITE_P(Table6502, Refused6502Test, ::testing::ValuesIn(RefusedCases));

// A branch whose target is still unknown in pass 1 is checked once the
// target is known.
TEST(Refused6502, ForwardBranchBeyondReach) {
  TTempDir dir;
  TTableRun r = RunTarnOnText(dir, SourceOf("BNE FAR\nDFS 200\nFAR: RTS"));
  ASSERT_EQ(r.Errors.size(), 1u) << r.Stderr;
  EXPECT_EQ(r.Errors[0].Line, FirstCaseLine);
  EXPECT_EQ(r.Errors[0].Number, 36);
}

}  // namespace
