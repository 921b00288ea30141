// Bad input and failing files: numbered errors, never a crash, hang or overflow.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "SourceReader.h"
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

TEST(Robustness, LongAndOddLinesEndWhereTheLineBufferEnds) {
  static const char Zero[] = "\tDFB 1\0junk\n\tDFB 2\n";  // a zero byte ends its line
  EXPECT_NE(ExpectRun({std::string(Zero, sizeof Zero - 1), "01 02"}).Listing.find("\tDFB 1\n"), std::string::npos);
  // A 300-character comment line: the second piece starts at character 255.
  ExpectRun({"; " + std::string(252, 'x') + "\tDFB 7" + std::string(42, ' ') + "\n", "07"});
  TRunResult huge = AssembleText("\tHOF \"BIN8\"\n\tDFB 1 " + std::string(1 << 20, 'A') + "\n\tDFB 2\n");
  EXPECT_EQ(huge.Object.substr(huge.Object.size() - 1), "\x02");
  EXPECT_GE(huge.ErrorCount, 1);
  // The code of the longest data line fits.
  std::string list = "0";
  while (list.size() < 240) list += ",0";
  EXPECT_EQ(ExpectRun({"\tALGN 16\n\tDFLDF " + list + "\n"}).Object.size(), 121u * 10u + 6u);
}

TEST(Robustness, MainSourceThatDoesNotOpen) {
  TTempDir dir;
  for (const char* name : {"missing.asm", "."}) {
    // The outputs of an earlier run must not pass for this run's.
    dir.Write("m.LST", "stale listing\n");
    dir.Write("m.HEX", ":0100000001FE\r\n:00000001FF\r\n");
    TRunResult r = AssembleIn(dir, name, "m.LST", "m.HEX", "m.ERR");
    EXPECT_EQ(r.ErrorCount, 1);
    EXPECT_EQ(r.Passes, 0);
    std::string upper = name;
    for (char& c : upper) c = char(toupper(c));
    EXPECT_EQ(r.Errors, "$DIR/" + upper + "(0,1): Error 1 - Source file did not open\n");
    EXPECT_EQ(r.Object, ":00000001FF\r\n");
    EXPECT_EQ(r.Listing.find("stale"), std::string::npos) << r.Listing;
  }
}

// The workbench derives the output names from the source's: a source named
// like an output, or reached through a link, must survive the run untouched.
TEST(Robustness, SourceIsNeverOverwrittenByAnOutput) {
  struct TCase {
    const char* Source;  // written as the source; "=name" makes it a symbolic link to name, "+name" a hard link
    const char* Main;    // the name assembled
    const char *Listing, *Object, *Errors;
    int Fatal;           // the fatal error expected, 0 = none
  } cases[] = {
      {"P.HEX", "P.HEX", "P.LST", "P.HEX", "P.ERR", 7}, {"P.LST", "P.LST", "P.LST", "P.HEX", "P.ERR", 8},
      {"P.ERR", "P.ERR", "P.LST", "P.HEX", "P.ERR", 0}, {"MAIN.ASM", "./MAIN.ASM", "MAIN.LST", "MAIN.ASM", "MAIN.ERR", 7},
      {"=M.asm", "real.asm", "M.asm", "m.HEX", "m.ERR", 8}, {"+H.asm", "real.asm", "m.LST", "H.asm", "m.ERR", 7},
      {"=L.asm", "L.asm", "m.LST", "real.asm", "m.ERR", 7},
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    const std::string text = "\tDFB 300\n\tDFB 1\n";
    dir.Write("real.asm", text);
    std::string link = c.Source;
    if (link[0] == '=') ASSERT_EQ(symlink("real.asm", (dir.Path() + "/" + link.substr(1)).c_str()), 0);
    else if (link[0] == '+') ASSERT_EQ(::link((dir.Path() + "/real.asm").c_str(), (dir.Path() + "/" + link.substr(1)).c_str()), 0);
    else std::filesystem::rename(dir.Path() + "/real.asm", dir.Path() + "/" + link);
    testing::internal::CaptureStdout();
    TRunResult r = AssembleIn(dir, c.Main, c.Listing, c.Object, c.Errors);
    std::string out = testing::internal::GetCapturedStdout();
    std::string kept = link[0] == '=' || link[0] == '+' ? "real.asm" : link;
    EXPECT_EQ(dir.Read(kept), text) << c.Source;
    bool fatal = false;
    for (const TDiagnostic& d : r.LastPass) fatal |= d.Number == c.Fatal;
    if (c.Fatal) EXPECT_TRUE(fatal) << c.Source << "\n" << r.Errors << out;
    else EXPECT_NE(out.find("Error 36"), std::string::npos) << out;  // errors went to the standard output
  }
}

TEST(Robustness, ProgramCounterWrapsAt32Bits) {
  TRunResult r = AssembleText(
      "\tHOF \"MOT32\"\n\tORG 7FFFFFFFH\n\tDFB 1,2,3\n\tDFS 2\nHERE\tORG 0FFFFFFFFH\n\tDFS 2\nTOP\tDFB 4\n"
      "\tDWL TOP,HERE\n");
  EXPECT_EQ(r.ErrorCount, 0) << r.Errors;
  EXPECT_NE(r.Object.find("S3087FFFFFFF010203"), std::string::npos) << r.Object;
  EXPECT_NE(r.Object.find("S30A00000001040100FFFF"), std::string::npos) << r.Object;  // TOP wrapped to 1
}

// Writes text into a named pipe once, as a shell's process substitution does.
std::jthread WriteIntoPipe(const std::string& path, const std::string& text) {
  EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
  return std::jthread([path, text] {
    if (FILE* f = std::fopen(path.c_str(), "w")) {
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
  });
}

TEST(Robustness, PipesAreReadOnceAndKeptForLaterPasses) {
  // The forward reference needs a second pass over both the main source and the included pipe.
  TTempDir dir;
  auto main = WriteIntoPipe(dir.Path() + "/main.asm", "\tHOF \"BIN8\"\n\tDFB L\n\tINCL \"part.asm\"\n\tINCL \"part.asm\"\nL\tDFB 9\n");
  auto part = WriteIntoPipe(dir.Path() + "/part.asm", "\tDFB 7\n");
  TRunResult r = AssembleIn(dir, "main.asm", "main.LST", "main.HEX", "main.ERR");
  EXPECT_EQ(r.Passes, 2);
  EXPECT_EQ(r.ErrorCount, 0) << r.Errors;
  EXPECT_EQ(Hex(r.Object), "03 07 07 09");
}

// The lines of a file are known by their place in later passes only while
// its version can be trusted: not when it changed in the last seconds (its
// next change may fall in the same grain of its file system's clock and keep
// its times) nor when its time lies ahead of the clock.
TEST(Robustness, OnlyAFileUnchangedForSecondsHasASettledVersion) {
  namespace fs = std::filesystem;
  TTempDir dir;
  const auto now = fs::file_time_type::clock::now();
  struct TCase {
    const char* Name;
    fs::file_time_type Time;
    bool Settled;
  } cases[] = {
      {"an hour old", now - std::chrono::hours(1), true},
      {"just written", now, false},
      {"dated ahead", now + std::chrono::hours(1), false},
  };
  for (const TCase& c : cases) {
    std::string path = dir.Path() + "/part.asm";
    dir.Write("part.asm", "\tNOP\n");
    fs::last_write_time(path, c.Time);
    TSourceReader reader;
    ASSERT_TRUE(reader.Open(path)) << c.Name;
    TTextVersion version;
    ASSERT_TRUE(reader.Version(version)) << c.Name;
    EXPECT_EQ(version.Settled, c.Settled) << c.Name;
  }
}

TEST(Robustness, ErrorForALabelSkippedInPassOneStandsAtTheLabel) {
  // X is the program counter (0) in pass 1 and 1 in pass 2, so the line of
  // LATE is skipped only in pass 1; the long line before must not lend its column.
  std::string source = "\tIF X\n\tDFB 1,0" + std::string(60, '1') + "\nLATE\tDFB 2\n\tENDI\nX\tEQU 1\n";
  ExpectRun({.Source = source, .Column = 1, .Errors = "40:3"}, "");
}

TEST(Robustness, AFailingOutputIsAFatalErrorNeverASilentSuccess) {
  struct TCase { const char* Listing; const char* Object; const char* Errors; int Number; } cases[] = {
      {"nodir/m.LST", "m.HEX", "m.ERR", 8}, {"m.LST", "nodir/m.HEX", "m.ERR", 7}, {"/dev/full", "m.HEX", "m.ERR", 2},
      {"m.LST", "/dev/full", "m.ERR", 2},   {"m.LST", "m.HEX", "/dev/full", 2},
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    dir.Write("m.asm", "\tDFB 300\n\tEND\n");
    TRunResult r = AssembleIn(dir, "m.asm", c.Listing, c.Object, c.Errors);
    EXPECT_GE(r.ErrorCount, 1);
    bool found = false;
    for (const TDiagnostic& d : r.LastPass) found |= d.Number == c.Number;
    EXPECT_TRUE(found) << c.Listing << " " << c.Object << " " << c.Errors << "\n" << r.Errors;
  }
}

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

// Tables that strain the format: each ends in a numbered error or assembles,
// in time and memory that follow the table's size.
TEST(Robustness, StrainedTablesEndInNumberedErrorsOrAssemble) {
  std::mt19937 rng(7);
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += char(rng() & 0xFF);
  std::string million = "*\n*\n*\n";
  million.reserve(16000000);
  for (int i = 0; i < 1000000; ++i) million.append("I").append(std::to_string(i)).append("^").append(1, "0123456789ABCDEF"[i & 15]).append("5:\n");
  std::string groups = "*\n*\n1,-^00:\n*\nNOP";
  for (int i = 0; i < 120; ++i) groups += "|1";  // as many alternative groups as a table line holds
  groups += "^EA:\n";
  std::string tooLong = "*\n*\n1,-^00:\n*\nNOP";
  for (int i = 0; i < 255; ++i) tooLong += "|1";  // beyond a table line: the rest is a line of its own
  tooLong += "^EA:\n";
  const TSourceCase cases[] = {
      {.Source = "\tNOP\n", .Error = 6, .Files = {{"x.tbl", garbage}}},  // random bytes
      {.Source = "\tI0\n\tI999999\n\tI500000\n", .Bytes = "05 F5 05", .Files = {{"x.tbl", million}}},
      {.Source = "\tNOP -\n\tNOP --\n", .Bytes = "EA 00", .Error = 33, .Files = {{"x.tbl", groups}}},
      {.Source = "\tNOP -\n", .Error = 6, .Files = {{"x.tbl", tooLong}}},  // 255 groups on one line
  };
  for (const TSourceCase& c : cases) ExpectRun(c, "\tCPU \"x.tbl\"\n\tHOF \"BIN8\"\n");
}

}  // namespace
