// The files tarn writes for build tools and debuggers: make dependency files
// (-MD, -MF, -MT, -MP) and label files (--labels, --label-format).
#include <gtest/gtest.h>

#include <filesystem>

#include "CliSupport.h"
#include "DependencyFile.h"

namespace fs = std::filesystem;

namespace {

const char Table[] = "*\n*\n*\nNOP^EA:\n";

// A main source with a CPU table, an include found through -I and, inside
// it, an include whose name holds the characters make reads specially.
void WriteProgram(const TTempDir& dir) {
  dir.Write("x.tbl", Table);
  dir.Write("main.asm", "\tHOF \"BIN8\"\n\tCPU \"x.tbl\"\n\tINCL \"part.asm\"\n\tNOP\n\tINCL \"part.asm\"\n");
  dir.Write("lib/part.asm", "\tINCL \"a b#$.asm\"\n\tNOP\n");
  dir.Write("lib/a b#$.asm", "\tNOP\n");
  dir.Write("bad.asm", "\tCPU \"x.tbl\"\n\tDFB 300\n\tINCL \"gone.asm\"\n");
}

const char Prerequisites[] = ": main.asm \\\n x.tbl \\\n lib/part.asm \\\n lib/a\\ b\\#$$.asm\n";

TEST(CliDependencies, RuleNamesTheTargetAndEveryFileOpenedOnceAlsoFromAPipe) {
  TTempDir dir;
  WriteProgram(dir);
  struct TCase { const char* Arguments; int Status; const char* File; std::string Expected; };
  const TCase cases[] = {
      {"-MD main.asm", 0, "main.d", std::string("main.HEX") + Prerequisites},
      // Each included file and the table get an empty rule; the main source does not.
      {"-MD -MP main.asm", 0, "main.d",
       std::string("main.HEX") + Prerequisites + "\nx.tbl:\n\nlib/part.asm:\n\nlib/a\\ b\\#$$.asm:\n"},
      // The default target is escaped like the prerequisites; -MT is written as given.
      {"-MD -o 'my p$.bin' -MF deps.mk main.asm", 0, "deps.mk", std::string("my\\ p$$.bin") + Prerequisites},
      {"-MD --no-object -MT all -MT '$(OUT)/x' main.asm", 0, "main.d", std::string("all $(OUT)/x") + Prerequisites},
      {"-MD -MFjoined.d -MTt main.asm", 0, "joined.d", std::string("t") + Prerequisites},
      // The derived name is never the object file itself.
      {"-MD -o x.d main.asm", 0, "x.d.d", std::string("x.d") + Prerequisites},
      // Written after errors too, with the files that did open.
      {"-MD bad.asm", 1, "bad.d", "bad.HEX: bad.asm \\\n x.tbl\n"},
      {"-MD missing.asm", 1, "missing.d", "missing.HEX: missing.asm\n"},
      // A device or pipe has no time a build tool could compare.
      {"-MD -o out.bin /dev/null", 0, "out.d", "out.bin:\n"},
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q -I lib ") + c.Arguments);
    EXPECT_EQ(r.Status, c.Status) << c.Arguments << "\n" << r.Err;
    EXPECT_EQ(dir.Read(c.File), c.Expected) << c.Arguments;
  }
  // A main source read from a pipe is assembled in every pass but is no
  // prerequisite; the files it opens still get their empty rules (the first
  // of them once lost its own).
  ASSERT_EQ(RunIn(dir, "cat main.asm | '" TARN_BINARY "' -q -I lib -MD -MP -o pipe.bin /dev/stdin"), 0);
  EXPECT_EQ(Hex(dir.Read("pipe.bin")), "EA EA EA EA EA");
  EXPECT_EQ(dir.Read("pipe.d"), "pipe.bin: x.tbl \\\n lib/part.asm \\\n lib/a\\ b\\#$$.asm\n"
                                "\nx.tbl:\n\nlib/part.asm:\n\nlib/a\\ b\\#$$.asm:\n");
}

// Blanks, "#" and "$" as the rules above show them; here tabs and backslashes.
TEST(CliDependencies, EscapesNamesAsMakeReadsThem) {
  struct TCase { const char* Name; const char* Escaped; };
  const TCase cases[] = {{"a\tb", "a\\\tb"}, {"a\\ b", "a\\\\\\ b"}, {"a\\b c", "a\\b\\ c"}};
  for (const TCase& c : cases) EXPECT_EQ(EscapeForMake(c.Name), c.Escaped) << c.Name;
}

// The rule and the include as the README shows them: make rebuilds when an
// included file changes, and -MP keeps it going when one is removed.
TEST(CliDependencies, MakeRebuildsWhenAnIncludedFileChanges) {
  if (RunIn(TTempDir(), "command -v make >/dev/null") != 0) GTEST_SKIP() << "make is not installed";
  TTempDir dir;
  WriteProgram(dir);
  dir.Write("Makefile", "all: main.HEX\n%.HEX: %.asm\n\t'" TARN_BINARY "' -q -I lib -MD -MP $<\n-include main.d\n"
                        ".DELETE_ON_ERROR:\n");
  ASSERT_EQ(RunIn(dir, "make -s >make.txt 2>&1"), 0) << dir.Read("make.txt");
  EXPECT_EQ(RunIn(dir, "make -q"), 0) << "up to date after the build";
  ASSERT_EQ(RunIn(dir, "touch -d @$(($(date +%s) + 100)) 'lib/a b#$.asm'"), 0);
  EXPECT_EQ(RunIn(dir, "make -q"), 1) << "the included file with blank, # and $ changed";
  ASSERT_EQ(RunIn(dir, "make -s >make.txt 2>&1"), 0) << dir.Read("make.txt");
  // The included file goes away with its INCL line.
  dir.Write("lib/part.asm", "\tNOP\n");
  fs::remove(dir.Path() + "/lib/a b#$.asm");
  EXPECT_EQ(RunIn(dir, "make -s >make.txt 2>&1"), 0) << dir.Read("make.txt");
  EXPECT_EQ(dir.Read("main.d"), "main.HEX: main.asm \\\n x.tbl \\\n lib/part.asm\n\nx.tbl:\n\nlib/part.asm:\n");
}

TEST(CliDependencies, NinjaReadsTheFileWithDepsGcc) {
  if (RunIn(TTempDir(), "command -v ninja >/dev/null") != 0) GTEST_SKIP() << "ninja is not installed";
  TTempDir dir;
  WriteProgram(dir);
  dir.Write("build.ninja", "rule tarn\n  command = '" TARN_BINARY "' -q -I lib -MD -MF $out.d -o $out $in\n"
                           "  depfile = $out.d\n  deps = gcc\nbuild main.bin: tarn main.asm\n");
  ASSERT_EQ(RunIn(dir, "ninja >ninja.txt 2>&1"), 0) << dir.Read("ninja.txt");
  ASSERT_EQ(RunIn(dir, "ninja -t deps main.bin >deps.txt"), 0);
  EXPECT_NE(dir.Read("deps.txt").find("    lib/a b#$.asm\n"), std::string::npos) << dir.Read("deps.txt");
  ASSERT_EQ(RunIn(dir, "ninja -n >ninja.txt"), 0);
  EXPECT_NE(dir.Read("ninja.txt").find("no work to do"), std::string::npos) << dir.Read("ninja.txt");
  ASSERT_EQ(RunIn(dir, "touch -d @$(($(date +%s) + 100)) 'lib/a b#$.asm' && ninja -n >ninja.txt"), 0);
  EXPECT_EQ(dir.Read("ninja.txt").find("no work to do"), std::string::npos) << dir.Read("ninja.txt");
}

// Labels of every kind a source makes: in the main source and an include,
// EQU, SETL, a -D name, two labels of one value, values past 16 bits and
// below zero, and labels a macro expansion makes (left out).
void WriteLabelSource(const TTempDir& dir) {
  dir.Write("x.tbl", Table);
  dir.Write("lab.asm", "\tHOF \"BIN8\"\n\tCPU \"x.tbl\"\n\tORG 1000H\nSTART\tNOP\n\tINCL \"part.asm\"\n"
                       "M\tMACRO\nLOC\tNOP\n\tENDM\n\tM\n\tM\nV\tSETL 1\nV\tSETL 2\nNEG\tEQU -2\n"
                       "BIG\tEQU 12345678H\n.DOT\tNOP\n");
  dir.Write("part.asm", "ZED\tNOP\nALPHA\tEQU 1001H\n");
}

const char EquLabels[] = "V\tSETL\t$0002\nSIZE\tEQU\t$0003\nSTART\tEQU\t$1000\nALPHA\tEQU\t$1001\nZED\tEQU\t$1001\n"
                         ".DOT\tEQU\t$1004\nBIG\tEQU\t$12345678\nNEG\tEQU\t$FFFFFFFE\n";

TEST(CliLabels, EquAndViceFormsExactlyAndEquReadBackByIncl) {
  TTempDir dir;
  WriteLabelSource(dir);
  struct TCase { const char* Arguments; const char* File; const char* Expected; std::vector<const char*> Warnings; };
  const TCase cases[] = {
      {"--labels lab.equ", "lab.equ", EquLabels, {}},
      {"--labels lab.equ --label-format EQU", "lab.equ", EquLabels, {}},
      // The monitor takes 16-bit addresses and names without a dot.
      {"--labels lab.vice --label-format vice", "lab.vice",
       "al C:0002 .V\nal C:0003 .SIZE\nal C:1000 .START\nal C:1001 .ALPHA\nal C:1001 .ZED\n",
       {"tarn: label .DOT: the VICE monitor reads no '.' in a label name; left out of 'lab.vice'\n",
        "tarn: label BIG: its value $12345678 is not an address from $0000 to $FFFF; left out of 'lab.vice'\n",
        "tarn: label NEG: its value $FFFFFFFE is not an address"}},
      // A device is written directly, never replaced.
      {"--labels /dev/stdout", "stdout.txt", EquLabels, {}},
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q -D size=3 ") + c.Arguments + " lab.asm");
    EXPECT_EQ(r.Status, 0) << c.Arguments << "\n" << r.Err;
    EXPECT_EQ(dir.Read(c.File), c.Expected) << c.Arguments;
    for (const char* w : c.Warnings) EXPECT_NE(r.Err.find(w), std::string::npos) << w << "\nin\n" << r.Err;
    if (c.Warnings.empty()) {
      EXPECT_EQ(r.Err, "") << c.Arguments;
    }
  }
  // What the equ form wrote above, a source that INCLs it reads back as the
  // same values; a SETL name stays one that may be set again.
  dir.Write("use.asm", "\tHOF \"BIN8\"\n\tINCL \"lab.equ\"\n\tDFL V,SIZE,START,ALPHA,ZED,.DOT,BIG,NEG\nV\tSETL 7\n");
  TCommand r = RunTarn(dir, "-q -o use.bin use.asm");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Hex(dir.Read("use.bin")),
            "00 00 00 02 00 00 00 03 00 00 10 00 00 00 10 01 00 00 10 01 00 00 10 04 12 34 56 78 FF FF FF FE");
}

// The longest names still read back; one that cannot fit a source line is
// left out with a message rather than cut.
TEST(CliLabels, EquFormKeepsEveryLineReadable) {
  TTempDir dir;
  for (size_t length : {161u, 162u, 239u, 240u}) {
    std::string name(length, 'L');
    dir.Write("long.asm", "\tHOF \"BIN8\"\n\tORG 0FFFFFFF0H\n" + name + ":\tDFB 1\n");
    TCommand r = RunTarn(dir, "-q --labels long.equ long.asm");
    EXPECT_EQ(r.Status, 0) << r.Err;
    std::string written = dir.Read("long.equ");
    if (length > 239) {
      EXPECT_EQ(written, "") << length;
      EXPECT_NE(r.Err.find(": the name is too long for a source line; left out of 'long.equ'"), std::string::npos);
      continue;
    }
    EXPECT_EQ(written.find('\t') != std::string::npos, length <= 161) << written;
    // TAB 40 spreads the tabs widest; the value must still arrive whole.
    dir.Write("back.asm", "\tTAB 40\n\tINCL \"long.equ\"\n");
    TCommand back = RunTarn(dir, "-q --labels back.equ back.asm");
    EXPECT_EQ(back.Status, 0) << back.Err;
    EXPECT_EQ(dir.Read("back.equ"), written) << length;
  }
}

TEST(CliLabels, JsonReadByAJsonReader) {
  if (RunIn(TTempDir(), "command -v python3 >/dev/null") != 0) GTEST_SKIP() << "python3 is not installed";
  TTempDir dir;
  WriteLabelSource(dir);
  // A main source whose name holds a quote, a backslash, a tab and a byte
  // that is no UTF-8.
  dir.Write("q\"b\\s\t\xff.asm", "\tINCL \"lab.asm\"\nODD\tNOP\n");
  TCommand r = RunTarn(dir, "-q -D SIZE=3 --labels lab.json --label-format json 'q\"b\\s\t\xff.asm'");
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_EQ(RunIn(dir, "PYTHONIOENCODING=utf-8 python3 -c 'import json,sys\n"
                       "for e in json.load(open(sys.argv[1], encoding=\"utf-8\")):\n"
                       "  print(e[\"name\"], e[\"value\"], json.dumps(e[\"file\"]), e[\"line\"])' lab.json >parsed.txt"),
            0)
      << dir.Read("lab.json");
  EXPECT_EQ(dir.Read("parsed.txt"),
            "V 2 \"lab.asm\" 12\n"
            "SIZE 3 null None\n"
            "START 4096 \"lab.asm\" 4\n"
            "ALPHA 4097 \"part.asm\" 2\n"
            "ZED 4097 \"part.asm\" 1\n"
            ".DOT 4100 \"lab.asm\" 15\n"
            "ODD 4101 \"q\\\"b\\\\s\\t\\ufffd.asm\" 2\n"
            "BIG 305419896 \"lab.asm\" 14\n"
            "NEG -2 \"lab.asm\" 13\n");
}

// A dependency or label file that cannot be written fails the run with a
// message; what was there stays whole, and no temporary file is left behind.
TEST(CliBuildFiles, WriteFailuresAreReportedAndLeaveNothingBehind) {
  TTempDir dir;
  dir.Write("a.asm", "\tHOF \"BIN8\"\nHERE\tDFB 1\n");
  dir.Write("sub/keep", "");
  struct TCase { const char* Arguments; const char* Message; };
  const TCase cases[] = {
      {"-MD -MF nodir/a.d a.asm", "tarn: cannot write the dependency file 'nodir/a.d': No such file or directory\n"},
      {"--labels sub a.asm", "tarn: cannot write the label file 'sub': Is a directory\n"},
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q ") + c.Arguments);
    EXPECT_EQ(r.Status, 1) << c.Arguments;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    EXPECT_EQ(Hex(dir.Read("a.HEX")), "01") << "the other outputs are written all the same";
  }
  // An existing file is replaced; a link to it stays a link.
  dir.Write("real.equ", "OLD\tEQU\t$0001\n");
  ASSERT_EQ(RunIn(dir, "ln -s real.equ link.equ"), 0);
  EXPECT_EQ(RunTarn(dir, "-q --labels link.equ a.asm").Status, 0);
  EXPECT_TRUE(fs::is_symlink(dir.Path() + "/link.equ"));
  EXPECT_EQ(dir.Read("real.equ"), "HERE\tEQU\t$0000\n");
  // A device is written, not replaced, so several outputs may share one.
  EXPECT_EQ(RunTarn(dir, "-q -o /dev/null -MD -MF /dev/null --labels /dev/null a.asm").Status, 0);
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

}  // namespace
