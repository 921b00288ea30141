// Conditional blocks, macros and text replacement: which lines are assembled,
// what replayed and rewritten lines become, where their errors are reported,
// and that endless or oversized input always ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "TestSupport.h"

namespace {

class MacroCaseTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(MacroCaseTest, ProducesBytesAndErrors) { ExpectRun(GetParam()); }

const TSourceCase Conditionals[] = {
    {"\tIF 1\n\tDFB 1\n\tELSE\n\tDFB 2\n\tENDI\n", "01"}, {"\tIF 3-3\n\tDFB 1\n\tENDI\n\tDFB 2\n", "02"},
    {"\tIF -1\n\tDFB 1\n\tENDI\n", "01"},
    // a false IF inside a false block switches nothing on at its ELSE
    {"\tIF 0\n\tIF 0\n\tDFB 1\n\tELSE\n\tDFB 2\n\tENDI\n\tDFB 3\n\tENDI\n\tDFB 4\n", "04"},
    {"\tIF 0\n\tELSE\n\tIF 1\n\tDFB 5\n\tENDI\n\tENDI\n", "05"},
    {"\tIF 1\n\tDFB 1\n\tELSE\n\tDFB 2\n\tELSE\n\tDFB 3\n\tENDI\n", "01 03"},
    // labels are errors, the directive still acts
    {"L\tIF 0\n\tDFB 1\n\tENDI\n", "", 29, 1}, {"\tIF 1\nL\tELSE\n\tDFB 1\n\tENDI\n", "", 29, 1},
    {"\tIF 1\nL\tENDI\n\tDFB 1\n", "01", 29, 1}, {"\tELSE\n\tDFB 1\n", "01", 38, 13}, {"\tENDI\n", "", 38, 13},
    {"\tIF 1\n\tDFB 1\n\tEND\n", "01", 38},
    {"\tIF 1\n\tDFB 1\n", "01", 38},  // the substitute END finds the block open
    // nothing inside a false block reports an error or acts
    {"\tIF 0\n\tDFB 256\n\tNOPE\n\t*\n\tEND\n\tORG 5\n\tENDI\n\tDFB 1\n", "01"},
    {"\tIF 0\n\tEND\n\tENDI\n\tDFB 1\n", "01"},
    {"\tIF 0\n", "", 38},  // the end of the file still ends the pass, and finds the block open
    // output switched off inside a block is on again after ENDI, at the program counter
    {"\tDFB 7\n\tIF 1\n\tHEX \"OFF\"\n\tDFB 1\n\tELSE\n\tENDI\n\tDFB 2\n", "07 FF 02"},
    {"\tHEX \"OFF\"\n\tIF 1\n\tHEX \"ON\"\n\tDFB 1\n\tENDI\n\tDFB 2\n", "01"},
    // an alias of ENDI closes blocks, also inside a false block
    {"ENDIF\tALIAS \"ENDI\"\n\tIF 0\n\tDFB 1\n\tENDIF\n\tDFB 2\n", "02"},
};
INSTANTIATE_TEST_SUITE_P(Conditionals, MacroCaseTest, ::testing::ValuesIn(Conditionals));

const TSourceCase Macros[] = {
    {"M:\tMACRO X , Y\n\tDFB X,Y\n\tENDM\n\tM  3 , 4 ; comment\n", "03 04"},
    {"M\tMACRO X,Y\n\tDFB X,Y\n\tENDM\n\tM 1,2,3\n", "01 02"},
    {"M\tMACRO X,Y\n\tDFB X,Y\n\tENDM\n\tM 1,\n", "01"},  // an empty second argument
    {"X\tEQU 6\nM\tMACRO X\n\tDFB X\n\tENDM\n\tM\n", "06"},  // no argument: X as written
    // substitution is textual: inside words, without regard to case, right behind an argument
    {"D1T1\tEQU 7\nM\tMACRO A\n\tDFB DATA\n\tENDM\n\tM 1\n", "07"},
    {"D1T1\tEQU 7\nM\tMACRO A\n\tdfb data\n\tENDM\n\tM 1\n", "07"}, {"M\tMACRO X\n\tDFB XX\n\tENDM\n\tM 1\n", "0B"},
    {"M\tMACRO X\n\tDFB \"X\"\n\tENDM\n\tM 1\n", "31"},
    {"XX\tEQU 4\nM\tMACRO X\n\tDFB X\n\tENDM\n\tM XX\n", "04"},  // an argument is not scanned again
    {"\tCASE \"ON\"\nX\tEQU 3\nM\tMACRO x\n\tDFB x,X\n\tENDM\n\tM 1\n", "01 03"},
    {"10 M:\tMACRO X\n\tDFB X\n\tENDM\n\tM 8\n", "08"}, {"  M:\tMACRO X\n\tDFB X\n\tENDM\n\tM 8\n", "08"},
    // an argument cannot hold a comma, not even inside quotation marks
    {"M\tMACRO X\n\tDFB X\n\tENDM\n\tM \"A,B\"\n", "41", 41},
    // each expansion defines its own copy of a label, and no phase error follows
    {"M\tMACRO\nLOOP\tDFB 0\n\tDWL LOOP\n\tENDM\n\tM\n\tM\n", "00 00 00 00 03 00", 0, 0, 2},
    // a definition cut short by another MACRO line ends before it
    {"A\tMACRO\n\tDFB 1\nB\tMACRO\n\tDFB 2\n\tENDM\n\tA\n\tDFB 3\n\tB\n", "01 03 02"},
    {"A\tMACRO\nB\tMACRO\n\tDFB 2\n\tENDM\n\tA\n\tDFB 3\n", "03"},
    // nothing inside a definition acts or reports, until its ENDM
    {"M\tMACRO\n\tDFB 256\n\tNOPE\nX\tEQU\n\tEND\n\tIF 0\n\tENDM\n\tDFB 1\n", "01"},
    {"M\tMACRO\n\tDFB 1\n\tENDM\nM\tMACRO\n\tDFB 2\n\tENDM\n\tM\n", "01"},  // the first one is used
    {"M\tMACRO\n\tDFB 1\n", "", 38, 1},          // a definition left open at the end
    // macros in a false block are expanded into skipped lines
    {"M\tMACRO\n\tDFB 1\n\tENDM\n\tIF 0\n\tM\n\tENDI\n\tDFB 2\n", "02"},
    {"M\tMACRO\n\tIF 0\n\tENDM\n\tM\n\tDFB 1\n\tENDI\n\tDFB 2\n", "02"},
    // a skipped invocation in a body does not abandon the ENDI behind it
    {"B\tMACRO\n\tDFB 2\n\tENDM\nA\tMACRO\n\tIF 0\n\tB\n\tENDI\n\tDFB 1\n\tENDM\n\tA\n\tDFB 3\n", "01 03"},
    // END in a body ends the pass; the next pass does not take the expansion up again
    {"E\tMACRO\n\tDFB 1\n\tEND\n\tDFB 9\n\tENDM\n\tE\n\tDFB 2\n", "01"},
    // self-invocation stops at a false block; every level but the last leaves its IF for the source to close
    {"N\tSETL 3\nR\tMACRO\n\tDFB N\nN\tSETL N-1\n\tIF N\n\tR\n\tENDI\n\tENDM\n\tR\n\tENDI\n\tENDI\n\tDFB 9\n",
     "03 02 01 09"},
};
INSTANTIATE_TEST_SUITE_P(Macros, MacroCaseTest, ::testing::ValuesIn(Macros));

const TSourceCase Replacements[] = {
    {"speed\tEQU 9\n\tRPTXT \"speed\",\"7\"\n\tDFB speed\n\tDFB SPEED\n", "09 07"},
    {"\tCASE \"ON\"\nSPEED\tEQU 9\n\tRPTXT \"speed\",\"7\"\n\tDFB SPEED\n\tDFB speed\n", "09 07"},
    {"\tRPTXT \"K\",\"\"\n\tDFB 1 K\n", "01"},
    // later passes rewrite the lines before the RPTXT line too
    {"\tDFB Q\n\tRPTXT \"Q\",\"3\"\n", "03"},
    // lines replayed from a macro are rewritten after substitution
    {"M\tMACRO\n\tDFB ONE\n\tENDM\n\tRPTXT \"ONE\",\"1\"\n\tM\n", "01"},
    {"\tRPTXT 5,\"A\"\n", "", 28, 14}, {"\tRPTXT \"A\" 5\n", "", 28}, {"\tRPTXT \"A\"\n", "", 28},
    {"\tRPTXT \"\",\"A\"\n\tDFB 1\n", "01"},  // an empty text to find replaces nothing
    {"L\tRPTXT \"Z\",\"2\"\n\tDWL L\n", "00 00"},
    // the END that stands for the end of the file is never rewritten
    {"\tRPTXT \"END\",\"X\"\n\tDFB 1\n", "01"},
    // a body stored as "DFB 2" in pass 1 is rewritten again by a newer replacement as it is replayed
    {"\tRPTXT \"TWO\",\"2\"\nM\tMACRO\n\tDFB TWO\n\tENDM\n\tRPTXT \"2\",\"5\"\n\tM\n", "05"},
};
INSTANTIATE_TEST_SUITE_P(Replacements, MacroCaseTest, ::testing::ValuesIn(Replacements));

TEST(Conditional, SevenLevelsAreAcceptedTheEighthIsFatal) {
  std::string open, close;
  for (int i = 0; i < 7; ++i) open += "\tIF 1\n", close += "\tENDI\n";
  ExpectRun({open + "\tDFB 1\n" + close + "\tDFB 2\n", "01 02"});
  ExpectRun({.Source = open + "\tIF 1\n\tDFB 1\n\tENDI\n" + close, .Passes = 1, .Errors = "4:9"});
}

// Sources without a head; errors as "number:line".
const TSourceCase Runs[] = {
    // an undefined name in IF keeps error 40 and asks for passes to the limit
    {.Source = "\tIF NOWHERE\n\tDFB 1\n\tENDI\n", .Passes = 5, .Errors = "40:1"},
    // an error on the last line of an expansion reports the invocation line
    {.Source = "M\tMACRO\n\tENDM X\n\tM\n\tDFB 300\n", .Errors = "31:3 36:4"},
    // endless self-invocation stops with a fatal error
    {.Source = "R\tMACRO\n\tR\n\tENDM\n\tR\n", .Passes = 1, .Errors = "13:4"},
    {.Source = "A\tMACRO\nL\tDFB 1\n\tB\n\tENDM\nB\tMACRO\n\tA\n\tENDM\n\tA\n", .Passes = 1, .Errors = "13:8"},
    {.Source = "R\tMACRO\n\tR\n\tENDM\n\tIF 0\n\tR\n\tENDI\n", .Errors = ""},  // ... but not in a false block
};

TEST(Macro, RunsWithoutAHead) {
  for (const TSourceCase& c : Runs) ExpectRun(c, "");
}

TEST(Macro, ReplayedLinesReportTheInvocationLine) {
  // An expansion counts as its invocation line only, also when it lies in a
  // false block, where its ENDM is not acted upon.
  TRunResult r = ExpectRun({.Source = "M\tMACRO\n\tDFB 1\n\tDFB 256\n\tENDM\n\tM\n\tIF 0\n\tM\n\tM\n\tENDI\n"
                                      "\tDFB 300\n\tM\n\tDFB 300\n",
                            .Column = 15, .Errors = "36:5 36:10 36:11 36:12"}, "");
  // The pass total keeps one line per expansion besides the source lines.
  EXPECT_NE(std::find(r.Progress.begin(), r.Progress.end(), "212:    17"), r.Progress.end());
}

TEST(Macro, ManyExpansionsFromTheSourceAreNeverStopped) {
  // 100,000 distinct macros invoked once each, then one macro invoked 70,000
  // times: more expansions than 16 bits count, each with its own label copy.
  std::string source = "\tHOF \"BIN8\"\n";
  for (int i = 0; i < 100000; ++i) source.append("M").append(std::to_string(i)).append("\tMACRO\n\tENDM\n");
  for (int i = 0; i < 100000; ++i) source.append("\tM").append(std::to_string(i)).append("\n");
  source += "W\tMACRO\nL\tDFB L&255\n\tENDM\n";
  for (int i = 0; i < 70000; ++i) source += "\tW\n";
  TRunResult r = AssembleText(source);
  EXPECT_EQ(r.ErrorCount, 0) << r.Errors.substr(0, 500);
  ASSERT_EQ(r.Object.size(), 70000u);
  for (size_t i = 0; i < r.Object.size(); i += 997) ASSERT_EQ(uint8_t(r.Object[i]), uint8_t(i)) << i;
}

// Lines that substitution or replacement makes longer than the line buffer
// are cut where it ends.
TEST(Macro, LongSubstitutionsAndReplacementsAreCutAtTheLineBuffer) {
  const std::string argument(200, '7'), text(120, 'Z');
  auto line = [](const std::string& word, int times) {
    std::string s = "\tDFB 1 ;";
    for (int i = 0; i < times; ++i) s += " " + word;
    return s.substr(0, 254) + "\n";
  };
  // The RPTXT line itself, rewritten by its own replacement in later passes,
  // is cut too and loses its closing quote: only the macro's run is clean.
  for (const auto& [source, cut, clean] :
       {std::tuple{"M\tMACRO X\n\tDFB 1 ; X X X X X\n\tDFB 2\n\tENDM\n\tM " + argument + "\n", line(argument, 5), true},
        {"\tRPTXT \"W\",\"" + text + "\"\n\tDFB 1 ; W W W W\n\tDFB 2\n", line(text, 4), false}}) {
    TRunResult r = AssembleText("\tHOF \"BIN8\"\n" + source);
    EXPECT_EQ(Hex(r.Object), "01 02");
    EXPECT_TRUE(!clean || r.ErrorCount == 0) << r.Errors;
    EXPECT_NE(r.Listing.find(cut), std::string::npos) << r.Listing;
  }
}

TEST(Macro, RandomMixturesOfBlocksAndMacrosAlwaysEnd) {
  static const char* const Lines[] = {
      "M\tMACRO X,Y\n", "N:\tMACRO\n", "\tMACRO\n", "\tENDM\n", "\tM 1,2\n", "\tM\n", "\tN\n",
      "\tIF 0\n", "\tIF 1\n", "\tIF UNDEF\n", "\tELSE\n", "\tENDI\n", "\tDFB X,Y\n", "L\tDWL L\n",
      "\tRPTXT \"M\",\"N\"\n", "\tRPTXT \"X\",\"XX\"\n", "\tEND\n", "\tHEX \"OFF\"\n", "\tHEX \"ON\"\n",
      "\tDFB 1 ; X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y X Y\n",
  };
  std::mt19937 random(4711);
  for (int round = 0; round < 60; ++round) {
    std::string source = "\tHOF \"BIN8\"\n";
    for (int i = 0; i < 30; ++i) source += Lines[random() % (sizeof Lines / sizeof Lines[0])];
    TRunResult r = AssembleText(source);
    EXPECT_GE(r.Passes, 1) << source;
    // Counts stop at 65535 (a runaway self-invocation reports that many and more).
    EXPECT_EQ(r.ErrorCount, std::min<size_t>(r.LastPass.size(), 65535)) << source;
  }
}

}  // namespace
