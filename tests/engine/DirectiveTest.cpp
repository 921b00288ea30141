// Directives: the bytes they produce, the errors they raise and where, the
// settings they change, and the label and pass rules around them.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

namespace {

class DirectiveTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(DirectiveTest, ProducesBytesAndErrors) { ExpectRun(GetParam()); }

const TSourceCase Cases[] = {
    // data lists
    {"\tDFB \"AB\",0\n", "41 42 00"}, {"\tDFB \"AB\" 0\n", "41 42 00"}, {"\tDFB 1,,2\n", "01 00 02"},
    {"\tDFB ,1\n", "00 01"}, {"\tDFB \"\"\n", "", 26}, {"\tDFB -128,255\n", "80 FF"},
    {"\tDFB 256\n", "00", 36, 15}, {"\tDFB -129\n", "7F", 36}, {"\tDFB\n", "", 26},
    {"\tDWL 0x1234\n", "34 12"}, {"\tDWM 0x1234\n", "12 34"}, {"\tDWM -1\n", "FF FF"},
    {"\tDWL 65536\n", "00 00", 36}, {"\tDWL -32769\n", "FF 7F", 36},
    {"\tDFL 0x12345678\n", "12 34 56 78"}, {"\tDLL 0x12345678\n", "78 56 34 12"},
    {"\tDFL \"AB\"\n", "00 00 41 42"}, {"\tDFL \"ABCDE\"\n", "42 43 44 45", 51},
    // a comma ends one expression and the next begins; $ is the address of the line's first byte
    {"\tDFB 1,2 , 3\n", "01 02 03"}, {"\tORG 10H\n\tDFB $,$,`\n", "10 10 02"},
    {.Source = "\tDWL LATER\n\tDFB 0\nLATER\tDFB 1\n", .Bytes = "03 00 00 01", .Passes = 2},
    // floating point
    {"\tDFF 1.0\n", "3F 80 00 00"}, {"\tDFF -2.5, 0.1\n", "C0 20 00 00 3D CC CC CD"}, {"\tDFF\n", "00 00 00 00"},
    {"\tDFDF 1.0\n", "3F F0 00 00 00 00 00 00"}, {"\tDFLDF 1.0\n", "3F FF 80 00 00 00 00 00 00 00"},
    // settings with ranges
    {"\tALGN 0\n", "", 36, 14}, {"\tALGN 17\n", "", 36}, {"\tWDLN 0\n", "", 36}, {"\tWDLN 17\n", "", 36},
    {"\tTAB 1\n", "", 36}, {"\tTAB 41\n", "", 36}, {"\tDFS 0\n", "", 36}, {"\tPAGE 1\n", "", 36},
    {"\tPAGE 2\n", "", 36}, {"\tPAGE 3\n\tPAGE 0\n\tPAGE\n", ""}, {"\tFILL 256\n", "", 36},
    // the tab width decides error columns from the next line: four blanks, "DFB 300", the last digit
    {"\tTAB 4\n\tDFB 300\n", "2C", 36, 11},
    // alignment and word length
    {"\tALGN 2\n\tDFB 1,2,3\n\tDFB $\n", "01 02 03 FF 04 FF"},
    {"\tALGN 2\n\tFILL 0\n\tDFB 1,2,3\n\tDFB $\n", "01 02 03 00 04 00"},
    {"\tWDLN 2\n\tDFB 1,2,3\n\tDFB $\n", "01 02 03 01"},
    {"\tWDLN 2\n\tALGN 2\n\tDFB 1,2,3\n\tDFB $\n", "01 02 03 FF 02 FF"},
    {"\tALGN 2\n\tDFB 1\nL\n\tDFB L\n", "01 FF 02 FF"},
    // strings and on/off operands
    {"\tHEX \"on\"\n\tDFB 1\n", "01"}, {"\tHEX ON\n", "", 28}, {"\tHEX \"MAYBE\"\n", "", 34},
    {"\tLIST 1\n", "", 28}, {"\tCASE \"X\"\n", "", 34}, {"\tHOF \"INT99\"\n", "", 30}, {"\tHOF 5\n", "", 28},
    {"\tTITL 5\n", "", 28}, {"\tINCL 5\n", "", 28},
    // END inside an included file ends the pass
    {.Source = "\tINCL \"p.asm\"\n\tDFB 2\n", .Bytes = "01", .Files = {{"p.asm", "\tDFB 1\n\tEND\n"}}},
    // labels and symbols
    {"L\tORG 0x200\n\tDWL L\n", "00 02"}, {"\tEQU 5\n", "", 29, 1}, {"X\tEQU 1\nX\tEQU 2\n\tDFB X\n", "02", 32, 1},
    {"X\tEQU 1\nX\tSETL 2\n\tDFB X\n", "02", 32}, {"ENDIF\tALIAS \"ENDI\"\n\tALIAS \"ENDI\"\n", "", 29},
    {"X\tALIAS \"NOPE\"\n", "", 33}, {"X\tALIAS 5\n", "", 28}, {"DB\tALIAS \"dfb\"\n\tDB 7\n", "07"},
    {"\tEND 5 5\n", "", 44}, {"\tLIST \"ON\" X\n", "", 31}, {"LOOP:NOP\n\tDWL LOOP\n", "00 00"}, {"LOOP:DFB 1\n", "", 35},
    {"A:B\tDWL A\n", "00 00"}, {"\tELSE\n\tENDI\n\tIF 1\n", "", 38, 13},
};

INSTANTIATE_TEST_SUITE_P(Table, DirectiveTest, ::testing::ValuesIn(Cases));

// Sources with their own head; errors as "number:line".
const TSourceCase Runs[] = {
    // equal labels flip-flop until the last pass
    {.Source = "L\tDFB 1\nL\tDFB 2\n\tDWL L\n", .Passes = 5, .Errors = "32:1 32:2"},
    {.Source = "\tCASE \"ON\"\nabc\tDFB 1\n\tDFB ABC\n\torg 5\n", .Errors = "40:3 35:4"},
    // a missing include stops the run after its line
    {.Source = "\tDFB 1\n\tINCL \"missing.asm\"\n\tDFB UNKNOWN\n", .Column = 1, .Passes = 1, .Errors = "1:2"},
};

TEST(Directive, RunsWithTheirOwnHead) {
  for (const TSourceCase& c : Runs) ExpectRun(c, "");
}

TEST(Directive, GrowingForwardReferenceNeedsAThirdPass) {
  // Pass 1 sees the program counter for X, so DFS reserves nothing and E is 0;
  // pass 2 moves E to 2 (a phase error), pass 3 confirms it.
  TRunResult r = ExpectRun({.Source = "\tDFS X\nE\tDFB E\nX\tEQU 2\n", .Bytes = "FF FF 02", .Passes = 3});
  EXPECT_NE(std::find(r.Progress.begin(), r.Progress.end(), "208:3  Phase Error!"), r.Progress.end());
}

TEST(Directive, IncludeNestsFourDeepAndRefusesTheFifth) {
  std::map<std::string, std::string> files;
  for (int i = 1; i <= 5; ++i)
    files["i" + std::to_string(i) + ".asm"] = "\tDFB " + std::to_string(i) + "\n\tINCL \"i" + std::to_string(i + 1) + ".asm\"\n";
  files["i6.asm"] = "\tDFB 6\n";
  TRunResult r = ExpectRun({.Source = "\tINCL \"i1.asm\"\n\tDFB 0\n", .Passes = 1, .Errors = "3:2", .Files = files});
  EXPECT_NE(r.Errors.find("I4.ASM(2,1): Error 3 - Too many include files"), std::string::npos) << r.Errors;
}

TEST(Directive, IncludedFileReturnsToTheLineAfterIncl) {
  // An undefined element keeps the address, with its error.
  TRunResult r = ExpectRun({.Source = "\tINCL \"sub/part.asm\"\n\tDFB 2\n\tDFB UNKNOWN\n", .Bytes = "01 01 02 03",
                            .Errors = "40:2 40:4", .Files = {{"sub/part.asm", "\tDFB 1\n\tDFB UNKNOWN\n"}}});
  ASSERT_EQ(r.LastPass.size(), 2u);
  EXPECT_EQ(r.LastPass[0].FullPath, "$DIR/SUB/PART.ASM");
  EXPECT_EQ(r.LastPass[0].Name, "sub/part.asm");
  EXPECT_EQ(r.LastPass[1].FullPath, "$DIR/MAIN.ASM");
}

}  // namespace
