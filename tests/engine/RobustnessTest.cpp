// Bad input and failing files: numbered errors, never a crash, hang or overflow.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"

namespace {

TEST(Robustness, RandomBytesAssembleToErrorsOnly) {
  std::mt19937 random(12345);
  for (int round = 0; round < 20; ++round) {
    std::string source;
    for (int i = 0; i < 20000; ++i) source += char(random() & 0xFF);
    TRunResult r = AssembleText(source);
    EXPECT_GE(r.Passes, 1);
    EXPECT_EQ(r.ErrorCount, r.LastPass.size());
  }
}

TEST(Robustness, ZeroByteEndsItsLine) {
  static const char Source[] = "\tHOF \"BIN8\"\n\tDFB 1\0junk\n\tDFB 2\n";
  TRunResult r = AssembleText(std::string(Source, sizeof Source - 1));
  EXPECT_EQ(Hex(r.Object), "01 02");
  EXPECT_EQ(r.ErrorCount, 0);
  EXPECT_NE(r.Listing.find("\tDFB 1\n"), std::string::npos);
}

TEST(Robustness, LongLinesArriveInPiecesOf254) {
  // A 300-character comment line: the second piece starts at character 255.
  std::string line = "; " + std::string(252, 'x') + "\tDFB 7" + std::string(42, ' ') + "\n";
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n" + line);
  EXPECT_EQ(Hex(r.Object), "07");
  TRunResult huge = AssembleText("\tHOF \"BIN8\"\n\tDFB 1 " + std::string(1 << 20, 'A') + "\n\tDFB 2\n");
  EXPECT_EQ(huge.Object.substr(huge.Object.size() - 1), "\x02");
  EXPECT_GE(huge.ErrorCount, 1);
}

TEST(Robustness, TabExpansionIsCutAtTheLineBuffer) {
  std::string tabs(200, '\t');
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n" + tabs + "DFB 1\n\tTAB 40\n" + tabs + "\n\tDFB 2\n");
  EXPECT_EQ(Hex(r.Object), "02");  // the first DFB lies beyond the cut
  EXPECT_EQ(r.ErrorCount, 0);
}

TEST(Robustness, CodeOfTheLongestDataLineFits) {
  std::string list = "0";
  while (list.size() < 240) list += ",0";
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tALGN 16\n\tDFLDF " + list + "\n");
  EXPECT_EQ(r.Object.size(), 121u * 10u + 6u);
  EXPECT_EQ(r.ErrorCount, 0);
}

TEST(Robustness, MainSourceThatDoesNotOpen) {
  TTempDir dir;
  for (const char* name : {"missing.asm", "."}) {
    TRunResult r = AssembleIn(dir, name, "m.LST", "m.HEX", "m.ERR");
    EXPECT_EQ(r.ErrorCount, 1);
    EXPECT_EQ(r.Passes, 0);
    std::string upper = name;
    for (char& c : upper) c = char(toupper(c));
    EXPECT_EQ(r.Errors, "$DIR/" + upper + "(0,1): Error 1 - Source file did not open\n");
  }
}

struct TOutputCase { const char* Listing; const char* Object; const char* Errors; int Number; };

class FailingOutputTest : public ::testing::TestWithParam<TOutputCase> {};

TEST_P(FailingOutputTest, IsAFatalErrorNeverASilentSuccess) {
  const TOutputCase& c = GetParam();
  TTempDir dir;
  dir.Write("m.asm", "\tDFB 300\n\tEND\n");
  TRunResult r = AssembleIn(dir, "m.asm", c.Listing, c.Object, c.Errors);
  EXPECT_GE(r.ErrorCount, 1);
  bool found = false;
  for (const TDiagnostic& d : r.LastPass) found |= d.Number == c.Number;
  EXPECT_TRUE(found) << r.Errors;
}

const TOutputCase Outputs[] = {
    {"nodir/m.LST", "m.HEX", "m.ERR", 8},
    {"m.LST", "nodir/m.HEX", "m.ERR", 7},
    {"/dev/full", "m.HEX", "m.ERR", 2},
    {"m.LST", "/dev/full", "m.ERR", 2},
    {"m.LST", "m.HEX", "/dev/full", 2},
};

INSTANTIATE_TEST_SUITE_P(Outputs, FailingOutputTest, ::testing::ValuesIn(Outputs));

TEST(Robustness, ErrorFileThatDoesNotOpenSendsErrorsToStandardOutput) {
  TTempDir dir;
  dir.Write("m.asm", "\tDFB 300\n");
  testing::internal::CaptureStdout();
  TRunResult r = AssembleIn(dir, "m.asm", "", "", "nodir/m.ERR");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r.ErrorCount, 1);
  EXPECT_NE(out.find("    00000 2C                    \tDFB 300\n"), std::string::npos) << out;
  EXPECT_NE(out.find("M.ASM(1,15): Error 36 - Operand not in specified range\n"), std::string::npos) << out;
}

TEST(Robustness, ErrorsInsideAFatalPassOneStillReachTheErrorFile) {
  TRunResult r = AssembleText("\tDFB 300\n\tINCL \"nothing.asm\"\n");
  EXPECT_EQ(r.Errors, "$DIR/MAIN.ASM(2,1): Error 1 - Source file did not open\n");
}

}  // namespace
