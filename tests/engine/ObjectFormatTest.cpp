// Object records read back by an independent tool (srec_cat from srecord):
// its checksum and syntax checks must accept our Intel and Motorola output,
// and the data it recovers must equal our own binary image of the same source.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"

namespace {

const char Program[] =
    "\tORG 1000H\n"
    "START\tDFB 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33\n"
    "\tDWL START,$\n"
    "\tDFS 7\n"
    "\tDFL 0DEADBEEFH\n"
    "\tORG 2000H\n"
    "\tDFB \"The end\",0\n"
    "\tEND START\n";

struct TFormatCase { const char* Format; const char* SrecFormat; };

class ObjectFormatTest : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(ObjectFormatTest, SrecCatReadsOurRecordsBack) {
  if (std::system("command -v srec_cat >/dev/null 2>&1") != 0) GTEST_SKIP() << "srec_cat (package srecord) is not installed";
  const TFormatCase& c = GetParam();
  TTempDir dir;
  dir.Write("text.asm", std::string("\tHOF \"") + c.Format + "\"\n" + Program);
  dir.Write("image.asm", std::string("\tHOF \"BIN16\"\n") + Program);
  TRunResult text = AssembleIn(dir, "text.asm", "", "text.hex", "text.err");
  TRunResult image = AssembleIn(dir, "image.asm", "", "image.bin", "image.err");
  ASSERT_EQ(text.ErrorCount, 0) << text.Errors;
  ASSERT_EQ(image.ErrorCount, 0) << image.Errors;
  // The image starts at the first code byte, 1000H; fill the reserved gap as our image does.
  std::string command = "cd '" + dir.Path() + "' && srec_cat text.hex " + c.SrecFormat +
                        " -fill 0xFF 0x1000 0x2008 -offset -0x1000 -o back.bin -binary 2>errors.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << dir.Read("errors.txt");
  EXPECT_EQ(Hex(dir.Read("back.bin")), Hex(image.Object));
  // The image also sums its fill bytes: the 7 reserved ones and the gap before 2000H.
  EXPECT_EQ(image.Checksum - text.Checksum, 0xFFu * (7 + 0x2000 - 0x1030));
}

const TFormatCase Formats[] = {
    {"INT8", "-intel"}, {"INT16", "-intel"}, {"MOT8", "-motorola"}, {"MOT16", "-motorola"}, {"MOT32", "-motorola"},
};

INSTANTIATE_TEST_SUITE_P(Formats, ObjectFormatTest, ::testing::ValuesIn(Formats),
                         [](const auto& info) { return std::string(info.param.Format); });

TEST(ObjectFormat, RecordsAsTheSourceEnds) {
  struct TCase { const char* Source; const char* Object; } cases[] = {
      {"\tHOF \"INT8\"\n\tDFS 40\n\tORG 0\n\tDFB 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,"
       "26,27,28,29,30,31,32,33,34,35,36,37,38,39,40\n",
       ":100000000102030405060708090A0B0C0D0E0F1068\r\n:100010001112131415161718191A1B1C1D1E1F2058\r\n"
       ":080020002122232425262728B4\r\n:00000001FF\r\n"},  // sixteen bytes a record at most
      // END stops the pass, and its address goes to the end record
      {"\tHOF \"INT8\"\n\tDFB 1\n\tEND 0x100\n\tDFB 2\n", ":0100000001FE\r\n:00010001FE\r\n"},
      // a main file without END ends as if END followed
      {"\tHOF \"MOT8\"\n\tDFB 1", "S104000001FA\r\nS9030000FC\r\n"},
  };
  for (const TCase& c : cases) {
    TRunResult r = AssembleText(c.Source);
    EXPECT_EQ(r.Object, c.Object) << c.Source;
    EXPECT_EQ(r.ErrorCount, 0) << c.Source;
  }
}

TEST(ObjectFormat, FillOfMinusOneCountsTwoHundredFiftyFivePerByte) {
  TRunResult r = AssembleText("\tHOF \"BIN8\"\n\tFILL -1\n\tDFS 4\n\tDFB 1\n");
  EXPECT_EQ(Hex(r.Object), "FF FF FF FF 01");
  EXPECT_EQ(r.Checksum, 4u * 255u + 1u);
}

TEST(ObjectFormat, BackwardMoveAfterFillUnderIntelIsRefused) {
  ExpectRun({"\tORG 10H\n\tDFB 1\n\tORG 0\n\tDFB 2\n"}, "\tHOF \"INT8\"\n");
  ExpectRun({.Source = "\tFILL 0\n\tORG 10H\n\tDFB 1\n\tORG 0\n\tDFB 2\n", .Errors = "39:5"}, "\tHOF \"INT8\"\n");
}

}  // namespace
