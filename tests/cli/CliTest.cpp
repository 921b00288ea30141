// The tarn command: output names, options, exit status and the editor error form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CliSupport.h"

namespace fs = std::filesystem;

namespace {

const char Good[] = "\tHOF \"INT8\"\n\tDFB 1\n";
const char Bad[] = "\tDFB 1\n\tINCL \"part.asm\"\n\tDFB 300\n";
const char Part[] = "\n\tDFB UNKNOWN\n";

TEST(Cli, WritesTheThreeFilesBesideTheSource) {
  TTempDir dir;
  dir.Write("sub/prog.s.asm", Good);
  TCommand c = RunTarn(dir, "sub/prog.s.asm");
  EXPECT_EQ(c.Status, 0) << c.Err;
  EXPECT_TRUE(fs::exists(dir.Path() + "/sub/prog.s.LST"));
  EXPECT_EQ(dir.Read("sub/prog.s.HEX"), ":0100000001FE\r\n:00000001FF\r\n");
  EXPECT_EQ(dir.Read("sub/prog.s.ERR"), "");
  EXPECT_EQ(c.Err, "tarn: 2 passes, 3 lines, 0 errors, checksum 1\n");
}

// The error lines take the form compilers write, which editors read (such as
// VS Code's "$gcc" problem matcher); -q leaves out the summary only.
TEST(Cli, ReportsErrorsInTheEditorFormWithNamesAsWritten) {
  TTempDir dir;
  dir.Write("src/Main.asm", Bad);
  dir.Write("part.asm", Part);
  const std::string errors = "part.asm:2:13: error: Undefined label [40]\n"
                             "src/Main.asm:3:15: error: Operand not in specified range [36]\n";
  TCommand c = RunTarn(dir, "src/Main.asm");
  EXPECT_EQ(c.Status, 1);
  EXPECT_EQ(c.Err, errors + "tarn: 2 passes, 6 lines, 2 errors, checksum 46\n");
  EXPECT_EQ(RunTarn(dir, "-q src/Main.asm").Err, errors);
  // The error file keeps the upper-case full path.
  std::string upper = dir.Path();
  for (char& ch : upper) ch = char(toupper(ch));
  EXPECT_EQ(dir.Read("src/Main.ERR"), upper + "/PART.ASM(2,13): Error 40 - Undefined label\n" + upper +
                                          "/SRC/MAIN.ASM(3,15): Error 36 - Operand not in specified range\n");
}

TEST(Cli, NamedAndUnwantedOutputs) {
  TTempDir dir;
  dir.Write("a.asm", Bad);
  dir.Write("part.asm", Part);
  TCommand c = RunTarn(dir, "-q -l out.lst -o out.hex -e out.err a.asm");
  EXPECT_EQ(c.Status, 1);
  EXPECT_TRUE(fs::exists(dir.Path() + "/out.lst"));
  EXPECT_TRUE(fs::exists(dir.Path() + "/out.hex"));
  EXPECT_NE(dir.Read("out.err").find("Error 36"), std::string::npos);
  EXPECT_EQ(c.Err.find("tarn:"), std::string::npos) << "-q prints no summary";

  TCommand none = RunTarn(dir, "--no-listing --no-object --no-errors -q a.asm");
  EXPECT_EQ(none.Status, 1);
  for (const char* name : {"a.LST", "a.HEX", "a.ERR"}) EXPECT_FALSE(fs::exists(dir.Path() + "/" + name)) << name;
  // Without an error file the error lines go to standard output after their listing line.
  EXPECT_NE(none.Out.find("\tDFB 300\n"), std::string::npos) << none.Out;
  EXPECT_NE(none.Out.find("/A.ASM(3,15): Error 36 - Operand not in specified range\n"), std::string::npos);
  EXPECT_NE(none.Err.find("a.asm:3:15: error: Operand not in specified range [36]"), std::string::npos);
}

TEST(Cli, SearchesIncludeDirectoriesOnlyForNamesThatDoNotOpen) {
  TTempDir dir;
  dir.Write("lib/x.tbl", "*\n*\n*\nNOP^EA:\n");
  dir.Write("lib/part.asm", "\tDFB 2\n");
  dir.Write("part.asm", "\tDFB 1\n");
  dir.Write("a.asm", "\tHOF \"BIN8\"\n\tCPU \"x.tbl\"\n\tNOP\n\tINCL \"part.asm\"\n");
  TCommand missing = RunTarn(dir, "-q a.asm");
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("a.asm:2:1: error: Source file did not open [1]"), std::string::npos) << missing.Err;
  TCommand found = RunTarn(dir, "-q -I lib a.asm");
  EXPECT_EQ(found.Status, 0) << found.Err;
  EXPECT_EQ(Hex(dir.Read("a.HEX")), "EA 01");  // part.asm opens as written, before lib/
}

TEST(Cli, FindsTheBundledTablesFromAnyDirectoryAfterTheIncludeDirectories) {
  TTempDir dir;
  dir.Write("a.asm", "\tHOF \"BIN8\"\n\tCPU \"6502.tbl\"\n\tLDA #1\n");
  TCommand bundled = RunTarn(dir, "-q a.asm");
  EXPECT_EQ(bundled.Status, 0) << bundled.Err;
  EXPECT_EQ(Hex(dir.Read("a.HEX")), "A9 01");
  // A table of the same name in an -I directory comes first.
  dir.Write("mine/6502.tbl", "*\n*\n*\nLDA #1^42:\n");
  TCommand own = RunTarn(dir, "-q -I mine a.asm");
  EXPECT_EQ(own.Status, 0) << own.Err;
  EXPECT_EQ(Hex(dir.Read("a.HEX")), "42");
}

// A usage error names the option; an output that is the source, or another
// output, is refused: either way nothing is written.
struct TUsageCase { const char* Arguments; int Status; const char* Expect; const char* Setup = ""; };

void PrintTo(const TUsageCase& c, std::ostream* os) { *os << c.Arguments; }

class CliUsageTest : public ::testing::TestWithParam<TUsageCase> {};

TEST_P(CliUsageTest, ExitStatusAndMessage) {
  const TUsageCase& c = GetParam();
  TTempDir dir;
  for (const char* name : {"a.asm", "MAIN.ASM", "P.HEX"}) dir.Write(name, Good);
  if (*c.Setup) {
    ASSERT_EQ(RunIn(dir, c.Setup), 0);
  }
  TCommand r = RunTarn(dir, c.Arguments);
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  EXPECT_NE((c.Status ? r.Err : r.Out).find(c.Expect), std::string::npos) << r.Out << r.Err;
  if (c.Status != 2) return;
  for (const char* name : {"a.asm", "MAIN.ASM", "P.HEX"}) EXPECT_EQ(dir.Read(name), Good) << name;
  for (const char* name : {"a.HEX", "a.LST", "a.d", "MAIN.LST", "MAIN.HEX", "P.LST"})
    EXPECT_FALSE(fs::exists(dir.Path() + "/" + name)) << name;
}

const char Formats[] = "BIN8, INT8, INHX8M, MOT8, BIN16, INT16, MOT16, BIN32, MOT32";

const TUsageCase UsageCases[] = {
    {"--help", 0, "usage: tarn [options] SOURCE"}, {"--version", 0, "tarn "}, {"", 2, "no source file given"},
    {"--bogus a.asm", 2, "unknown option --bogus"}, {"a.asm b.asm", 2, "only one source file"},
    {"a.asm -o", 2, "-o needs a file name"},
    {"missing.asm", 1, "missing.asm:0:1: error: Source file did not open [1]"},
    {"--explain 0 a.asm", 2, "--explain needs a line number"},
    {"--explain x a.asm", 2, "--explain needs a line number"}, {"a.asm --explain", 2, "--explain needs a line number"},
    {"-f XYZ a.asm", 2, Formats}, {"--format a.asm", 2, Formats}, {"a.asm -f", 2, Formats},
    {"-D 1X=2 a.asm", 2, "-D"}, {"-D X=1+ a.asm", 2, "-D"}, {"-D X=1,2 a.asm", 2, "-D"},
    {"-D =5 a.asm", 2, "-D"}, {"a.asm -D", 2, "-D"},
    {"a.asm -MD -MF", 2, "tarn: -MF needs a file name\n"}, {"-MD -MF '' a.asm", 2, "tarn: -MF needs a file name\n"},
    {"a.asm -MD -MT", 2, "tarn: -MT needs a target name\n"},
    {"a.asm --labels", 2, "tarn: --labels needs a file name\n"},
    {"--labels x --label-format xml a.asm", 2, "tarn: --label-format needs one of equ, vice, json\n"},
    {"--labels x a.asm --label-format", 2, "tarn: --label-format needs one of equ, vice, json\n"},
    {"--label-format json a.asm", 2, "tarn: --label-format has no effect without --labels\n"},
    {"-MF a.d a.asm", 2, "tarn: -MF has no effect without -MD\n"},
    {"-MT x a.asm", 2, "tarn: -MT has no effect without -MD\n"},
    {"-MP a.asm", 2, "tarn: -MP has no effect without -MD\n"},
    {"-MD --no-object a.asm", 2, "tarn: -MD with --no-object needs -MT TARGET\n"},
    {"-MD -MF a.asm a.asm", 2, "the dependency file 'a.asm' is the source file"},
    {"--labels ./a.asm a.asm", 2, "the label file './a.asm' is the source file"},
    {"--labels a.HEX a.asm", 2, "the label file 'a.HEX' is also the object file"},
    {"-MD -MF x/../out.lst -l out.lst a.asm", 2, "the dependency file 'x/../out.lst' is also the listing"},
    {"-MD -MF same --labels same a.asm", 2, "the label file 'same' is also the dependency file"},
    {"P.HEX", 2, "is the source file"}, {"-o MAIN.ASM MAIN.ASM", 2, "is the source file"},
    {"-l MAIN.ASM MAIN.ASM", 2, "is the source file"}, {"-e ./MAIN.ASM MAIN.ASM", 2, "is the source file"},
    {"-o MAIN.ASM ./MAIN.ASM", 2, "is the source file"},
    {"-o out.hex MAIN.ASM", 2, "is the source file", "ln -s MAIN.ASM out.hex"},
    {"-l out.lst MAIN.ASM", 2, "is the source file", "ln MAIN.ASM out.lst"},
    {"-e sub/../MAIN.ASM MAIN.ASM", 2, "is the source file", "mkdir sub"},
};

INSTANTIATE_TEST_SUITE_P(Usage, CliUsageTest, ::testing::ValuesIn(UsageCases));

// --explain shows every candidate and sub-pattern tried on a line, where and
// why each stopped, and the result; the rest of the run is unchanged.
TEST(Cli, ExplainsHowALineIsMatched) {
  TTempDir dir;
  dir.Write("x.tbl", ImaginaryTable);
  dir.Write("m.asm", "\tCPU \"x.tbl\"\n\tLD #300\n\tMOV B,7\n\tDFB 1\n");
  struct TCase { const char* Line; std::vector<std::string> Expected; };
  const TCase cases[] = {
      {"2",
       {"line 2 in pass 2:         LD #300\n", "candidate: LD|1-2 ^10\n", "    sub-pattern 1: #{1} ^00 00\n",
        "        field {1}: operand 300, allowed -128 to 255: out of range\n",
        "      stopped by error 36 \"Operand not in specified range\" at column 15\n",
        "    sub-pattern 2: {2} ^01 00 00\n", "result: error 45 \"Undefined operator\" at column 12\n"}},
      {"3", {"    sub-pattern 3: {4},{1} ^00 00\n", "        field {4}: name number 1, allowed 0 to 3\n",
             "      matched\n", "result: 41 07\n"}},
      {"4", {"line 4: no instruction was matched there in pass 2 or later\n"}},
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q --explain ") + c.Line + " m.asm");
    EXPECT_EQ(r.Status, 1) << r.Err;  // LD #300 is an error whichever line is explained
    for (const std::string& text : c.Expected) EXPECT_NE(r.Out.find(text), std::string::npos) << text << "in\n" << r.Out;
  }
}

// -f / --format: the object format every pass starts with; HOF still switches.
TEST(Cli, FormatOptionSetsTheObjectFormat) {
  TTempDir dir;
  dir.Write("p.asm", "\tDFB 1\n");
  dir.Write("h.asm", "\tDFB 1\n\tHOF \"BIN8\"\n\tDFB 2\n");
  struct TCase { const char* Arguments; const char* Object; };
  const TCase cases[] = {
      {"-f bin8 p.asm", "\x01"},
      {"--format MOT16 p.asm", "S20500000001F9\r\nS804000000FB\r\n"},
      {"-f Int8 p.asm", ":0100000001FE\r\n:00000001FF\r\n"},
      {"p.asm", ":020000020000FC\r\n:0100000001FE\r\n:00000001FF\r\n"},  // INT16, the default
      // Every pass starts again with MOT8, not with the BIN8 the pass before
      // ended with; the end record is BIN8's (none).
      {"-f MOT8 h.asm", "S104000001FA\r\n\x02"},
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q -o out.obj ").append(c.Arguments));
    EXPECT_EQ(r.Status, 0) << c.Arguments << "\n" << r.Err;
    EXPECT_EQ(dir.Read("out.obj"), c.Object) << c.Arguments;
  }
}

// -D NAME[=VALUE]: NAME stands defined before the first line of every pass.
TEST(Cli, DefinesNamesBeforeTheFirstLine) {
  TTempDir dir;
  dir.Write("d.asm", "\tHOF \"BIN8\"\n\tIF DEBUG\n\tDFB 0DBH\n\tENDI\n\tDFB SIZE,SIZE*2\n");
  dir.Write("twice.asm", "\tHOF \"BIN8\"\nSIZE\tEQU 7\n\tDFB SIZE\n");
  struct TCase { const char* Arguments; int Status; const char* Bytes; const char* Error = ""; };
  const TCase cases[] = {
      {"-D DEBUG -D SIZE=3 d.asm", 0, "DB 03 06"},
      {"-DDEBUG=0 -DSIZE={1+2}*2 d.asm", 0, "06 0C"},
      {"-D debug -D size=10H d.asm", 0, "DB 10 20"},  // names are read in upper case, as the source's
      {"-D DEBUG=0 d.asm", 1, ""},                    // SIZE is not defined: error 40
      {"-D SIZE=1 twice.asm", 1, "", "[32]"},         // defined twice: the usual phase error
  };
  for (const TCase& c : cases) {
    TCommand r = RunTarn(dir, std::string("-q -o out.bin ").append(c.Arguments));
    EXPECT_EQ(r.Status, c.Status) << c.Arguments << "\n" << r.Err;
    EXPECT_NE(r.Err.find(c.Error), std::string::npos) << r.Err;
    if (*c.Bytes) {
      EXPECT_EQ(Hex(dir.Read("out.bin")), c.Bytes) << c.Arguments;
    }
  }
}

// On a terminal each error is followed by its source line and a caret under
// the column (tabs shown at 8), in colour unless NO_COLOR is set; through a
// pipe the error lines stand alone (the other tests read them so).
TEST(Cli, ShowsTheSourceLineAndACaretOnATerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script (util-linux) is not installed";
  TTempDir dir;
  dir.Write("c.asm", "\tHOF \"BIN8\"\n\tDFB\t1,2,NOPE\n");
  for (bool colour : {false, true}) {
    ASSERT_NE(RunIn(dir, std::string(colour ? "unset NO_COLOR; " : "NO_COLOR=1 ") +
                             "script -q -c \"'" TARN_BINARY "' -q c.asm\" /dev/null >tty.txt 2>&1 </dev/null"), -1);
    std::string out = dir.Read("tty.txt");
    std::string caretLine = colour ? "\033[1;32m" + std::string(20, ' ') + "^" : "  " + std::string(20, ' ') + "^";
    EXPECT_NE(out.find("          DFB     1,2,NOPE\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find(caretLine), std::string::npos) << out;
    EXPECT_EQ(out.find('\033') != std::string::npos, colour) << out;
  }
  // A named pipe is read once: its lines are not shown, and tarn does not
  // wait on it for a writer that never comes.
  int status = RunIn(dir, "mkfifo p.asm && (cat c.asm >p.asm &) && NO_COLOR=1 timeout 20 script -q -c \"'" TARN_BINARY
                         "' -q p.asm\" /dev/null >fifo.txt 2>&1 </dev/null");
  ASSERT_NE(status, -1);
  EXPECT_NE(status, 124) << dir.Read("fifo.txt");
  EXPECT_NE(dir.Read("fifo.txt").find("p.asm:2:"), std::string::npos) << dir.Read("fifo.txt");
}

// Memory running out outside the records the engine guards (here the
// records of lines kept between passes) stops the run with a message and
// its own exit status, not an abort; so does any limit on the process's
// memory that leaves no room for the heap's first large step, and a limit
// that leaves enough room assembles as without one.
TEST(Cli, StopsWithAMessageWhenMemoryRunsOut) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizer's own memory does not fit under a data limit";
#endif
  TTempDir dir;
  std::string source = "\tHOF \"INT8\"\n";
  for (int i = 0; i < 300000; ++i) source += "\tDFB " + std::to_string(i % 256) + ", 2, 3\n";
  dir.Write("big.asm", source);
  const std::string tarn = " '" TARN_BINARY "' -q --no-listing big.asm >stdout.txt 2>stderr.txt </dev/null";
  EXPECT_EQ(RunIn(dir, "ulimit -d 6000 &&" + tarn), 3);
  EXPECT_EQ(dir.Read("stderr.txt"),
            "tarn: out of memory; the run was stopped and the files it was writing may be incomplete\n");
  EXPECT_EQ(RunIn(dir, "ulimit -d 40000 &&" + tarn), 0) << dir.Read("stderr.txt");
  EXPECT_EQ(dir.Read("big.ERR"), "");
}

}  // namespace
