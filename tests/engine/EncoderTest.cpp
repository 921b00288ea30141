// Instruction matching and encoding on a small imaginary processor, and the
// loading of malformed tables.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "TestSupport.h"

namespace {

class EncoderTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(EncoderTest, EncodesOrReportsTheBestError) {
  TSourceCase c = GetParam();
  c.Source += "\n";
  ExpectRun(c, "\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n\tORG 100H\n", {{"x.tbl", ImaginaryTable}});
}

// A line that fails keeps the length of the last alternative tried, as zero
// bytes, so that the addresses behind it do not move with its errors.
const TSourceCase Cases[] = {
    {"\tNOP", "00"}, {"\tnop", "00"}, {"\tNOP 5", "00", 33}, {"\tNOP A", "01"}, {"\tNOP  a", "01"},
    {"\tLD #5", "10 05"}, {"\tLD 1234H", "11 12 34"}, {"\tLD  # 5", "10 05"}, {"\tLD #-128", "10 80"},
    {"\tLD #300", "00 00 00", 45},  // the short form's range error loses to the long form's "#"
    {"\tLD", "00 00 00", 47}, {"\tMOV B,7", "41 07"}, {"\tMOV d , 7", "43 07"}, {"\tMOV E,7", "00 00", 33},
    {"\tMOV ,7", "00 00", 33}, {"L\tBR L+10", "20 08"}, {"L\tBR L-126", "20 80"}, {"L\tBR L+200", "00 00", 36},
    {"\tPUSH A,C", "30 05"}, {"\tPUSH D", "30 08"},
    {"\tPUSH", "00 00", 36},  // an empty set is left to the range check
    {"\tJP 12H", "C0 12"}, {"\tJP 1234H", "C2 12 34"},
    {"\tST 0ABH", "E0 0A B0"},  // a field that straddles two bytes
    {"\tJMPI (1234H)", "D0 34 12"}, {"\tJMPI 1234H", "00 00 00", 33},
    {"\tUNDEF 5", "00 00", 33},  // a field the table does not define never matches
    {"\tBLANK 5", "00 00", 33},  // a blank in a sub-pattern never matches
    {"\tLDX 5", "00", 33},       // nor does a group the table does not define
    {"\tTWO X , Y", "02 03"}, {"\tTWO X,Z", "00 00", 33},
    {"\tNOPL", "AB"},  // the table is folded to upper case as it is read
    {"\tLD UNDEFINED", "00 00 00", 40},
};

INSTANTIATE_TEST_SUITE_P(Table, EncoderTest, ::testing::ValuesIn(Cases));

const std::string Head = "\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n";

// A name field may end with the value to insert, computed from "#" (the
// name's place in the list, or a set's mask); without it the place itself is
// inserted.
const char NameValueTable[] =
    "0,\"R0\",\"R1\",\"R2\",\"R3\",\"R4\",\"R5\",\"R6\",\"R7\"\n*\n"
    "1,0,8,@0,0,7,#*2+1\n"
    "2,0,16,@0,0,7,{# & 1} << 15 | # >> 1   ; bits far apart\n"
    "3,8,8,@&0,0,255,# ^ 0FFH\n"
    "4,0,8,@0,0,7\n"
    "5,0,8,@0,0,7,{#}+1\n*\n"
    "1,{1}^00:\n2,{2}^0000:\n3,{3}^0000:\n4,{4}^00:\n5,{5}}^00:\n*\n"
    "ODD|1^00:\nSPLIT|2^0000:\nSET|3^F0:\nPLAIN|4^00:\nBRACE|5^00:\n";

// A field's descriptor is read once and then recomputed from the operand, the
// program counter and the byte count: each line gets its own value, range check and errors.
const char DescriptorTable[] = "*\n1,8,8,100H / #,0,255\n2,8,8,# - $ - `,$ - 126,$ + 129\n*\n"
                               "1,{1}^0000:\n2,{2}^0000:\n*\nDIV|1^D0:\nBR|2^20:\n";

TSourceCase WithTable(std::string source, const char* bytes, int error, const std::string& table) {
  return {.Source = std::move(source), .Bytes = bytes, .Error = error, .Files = {{"x.tbl", table}}};
}

std::vector<TSourceCase> TableCases() {
  const std::string img = ImaginaryTable;
  std::vector<TSourceCase> cases = {
      // fields straddling bytes are inserted most significant bit first
      WithTable(Head + "\tJP 0ABH\n", "C0 0A B0", 0, "*\n7,12,8,#,0,255\n*\n1,{7}^000000:\n*\nJP|1^C0:\n"),
      // a forward reference takes the short form first, then the long one
      {.Source = Head + "\tJP TARGET\nAFTER\tDFB AFTER\nTARGET\tEQU 1234H\n", .Bytes = "C2 12 34 03", .Passes = 3,
       .Files = {{"x.tbl", img}}},
      // the label of a failing instruction is still defined
      {.Source = Head + "\tNOP\nHERE\tMOV E,7\n\tDFB HERE\n", .Bytes = "00 00 00 01", .Errors = "33:4",
       .Files = {{"x.tbl", img}}},
      {.Source = Head + "\tDIV 5\n\tDIV 0\n\tDIV 4\n\tDIV 300\nL\tBR L+4\n\tBR L\n\tBR L+200\n\tBR L\n",
       .Bytes = "D0 33 00 00 D0 40 00 00 20 02 20 FC 00 00 20 F8", .Errors = "53:4 36:6 36:9",
       .Files = {{"x.tbl", DescriptorTable}}},
      // without instructions every mnemonic is unknown
      {.Source = "\tCPU \"x.tbl\"\n\tNOP\n", .Errors = "35:2", .Files = {{"x.tbl", "0,\"A\"\n*\n*\n*\n"}}},
      // source after the fourth separator is assembled in every pass
      WithTable("\tHOF \"BIN8\"\n\tCPU \"x.tbl\"\n\tNOP\n\tDWL INTABLE\n", "10 01 00 00 02 00", 0,
                img + "*\n\tLD #1\nINTABLE\tNOP\n"),
      // a second CPU line loads nothing
      WithTable("\tCPU \"x.tbl\"\n\tCPU \"missing.tbl\"\n\tHOF \"BIN8\"\n\tNOP\n", "00", 0, img),
      // lower-case code digits load only while names are folded
      WithTable(Head + "\tNOP\n", "AB", 0, "*\n*\n*\nNOP^ab:\n"),
      WithTable("\tCASE \"ON\"\n\tCPU \"x.tbl\"\n\tNOP\n", nullptr, 6, "*\n*\n*\nNOP^ab:\n"),
      // bit 255 is in byte 31; the instruction has 2 bytes, so nothing shows, and nothing overflows
      WithTable(Head + "\tNOP 7\n\tDFB 1\n", "AA 00 01", 0, "*\n1,255,255,#,0,255\n*\n1,{1}^0000:\n*\nNOP|1^AA:\n"),
      // a missing table is fatal
      {.Source = "\tCPU \"nothing.tbl\"\n\tNOP\n", .Errors = "1:1"},
      {.Source = "\tCPU nothing\n", .Error = 28},
  };
  // Malformed tables stop the run with their error; the last has 256 code bytes.
  const std::string malformed[] = {"*\n*\n*\nNOP 00:\n", "*\n*\n*\nNOP^00\n", "*\n*\n*\nNOP^000:\n", "*\n*\n*\nNOP^0G:\n",
                                   "*\n*\n1,X^00\n", "*\n*\n*\nNOP^" + std::string(512, '0') + ":\n"};
  for (const std::string& table : malformed) cases.push_back(WithTable("\tCPU \"x.tbl\"\n\tNOP\n", nullptr, 6, table));
  // The "}" that ends the operand in the source does not end the value part.
  for (auto [line, bytes, error] : {std::tuple{"\tODD R3\n", "07", 0}, {"\tSPLIT R5\n", "80 02", 0},
                                    {"\tSET R0,R7\n", "F0 7E", 0}, {"\tPLAIN R6\n", "06", 0},
                                    {"\tODD R8\n", "00", 33}, {"\tBRACE R1}\n", "02", 0}})
    cases.push_back(WithTable(Head + line, bytes, error, NameValueTable));
  return cases;
}

class TableTest : public ::testing::TestWithParam<TSourceCase> {};

TEST_P(TableTest, EncodesOrStopsTheRun) { ExpectRun(GetParam(), ""); }

INSTANTIATE_TEST_SUITE_P(Tables, TableTest, ::testing::ValuesIn(TableCases()));

// An error raised inside a field descriptor (here a string without its
// closing quote) stands in the source line, where the operand was read, and
// is the same from run to run; it once took its column from wherever the
// table's text happened to lie in memory.
TEST(Encoder, ErrorInsideADescriptorStandsInTheLine) {
  TSourceCase c =
      WithTable("\tCPU \"x.tbl\"\n\tBR 5\n", nullptr, 41, "*\n1,8,8,# - \",0,255\n*\n1,{1}^00:\n*\nBR|1^10:\n");
  c.Column = 13;  // "\tBR 5" is 12 columns after the tab: at its end
  EXPECT_EQ(ExpectRun(c, "").Errors, ExpectRun(c, "").Errors);
}

}  // namespace
