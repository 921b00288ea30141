// The engine's fast path against its plain one: generated programs of every
// kind (6502 and imaginary-processor instructions, directives, macros,
// conditional blocks, text replacement, include files, CASE and TAB changes,
// forward references, errors) must give identical listing, object and error
// files with the matching caches on and off.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "TestSupport.h"
#include "Tarn.h"

namespace {

class TProgramGenerator {
 public:
  TProgramGenerator(unsigned seed, bool mos6502) : Rng(seed), Mos6502(mos6502) {}

  std::string Program(int lines) {
    std::string s = Mos6502 ? "\tCPU \"t.tbl\"\n" : "\tCPU \"x.tbl\"\n";
    s += Pick({"\tHOF \"INT8\"\n", "\tHOF \"MOT16\"\n", "\tHOF \"BIN8\"\n", "\tHOF \"INT16\"\n"});
    s += "SHOW\tMACRO P,Q\nHERE\t" + Instruction() + "\n\tDFB P\n\tDWL HERE,Q\n\tENDM\n";
    s += "TWICE\tMACRO X\n\tSHOW X,X+1\n\tENDM\n";
    return s + Include(lines, true);
  }

  std::string Include(int lines, bool mainFile = false) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += Line(mainFile);
    return s;
  }

 private:
  int Number(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Rng); }
  bool Chance(int percent) { return Number(1, 100) <= percent; }
  std::string Pick(std::initializer_list<const char*> items) {
    auto it = items.begin();
    std::advance(it, Number(0, int(items.size()) - 1));
    return *it;
  }
  std::string LabelName(int k) { return std::string("L").append(std::to_string(k)); }

  std::string Operand() {
    switch (Number(0, 7)) {
      case 0: return std::to_string(Number(0, 255));
      case 1: return std::to_string(Number(0, 70000));
      case 2: return LabelName(Number(0, Labels + 8));  // backward, forward or never defined
      case 3: return LabelName(Number(0, Labels + 2)) + "+" + std::to_string(Number(0, 3));
      case 4: return "$+" + std::to_string(Number(0, 130));
      case 5: return Pick({"0FFH", "100H", "-1", "\"A\"", "SYM", "{2*3}", "10H SHR 1", "LOW 1234H"});
      case 6: return "FOO";  // rewritten by RPTXT once one is in force
      default: return std::to_string(Number(-300, 300));
    }
  }

  std::string Instruction() {
    if (!Mos6502) {
      switch (Number(0, 9)) {
        case 0: return "LD #" + Operand();
        case 1: return "LD " + Operand();
        case 2: return "MOV " + Pick({"A", "B", "C", "D", "E", "b"}) + "," + Operand();
        case 3: return "BR " + Operand();
        case 4: return "PUSH " + Pick({"A", "A,C", "B,C,D", "", "E"});
        case 5: return "JP " + Operand();
        case 6: return "ST " + Operand();
        case 7: return "JMPI (" + Operand() + ")";
        case 8: return Pick({"NOP", "NOP A", "NOP 5", "TWO X,Y", "UNDEF 5", "BLANK 5", "LDX 5", "nopl", "LD"});
        default: return "LD #" + Operand() + " junk";
      }
    }
    static const char* const Memory[] = {"LDA", "STA", "ADC", "AND", "CMP", "EOR", "ORA", "SBC", "LDX",
                                         "LDY", "STX", "STY", "CPX", "CPY", "BIT", "INC", "DEC", "ASL",
                                         "LSR", "ROL", "ROR", "JMP", "JSR"};
    static const char* const Branches[] = {"BNE", "BEQ", "BCC", "BCS", "BPL", "BMI", "BVC", "BVS"};
    static const char* const Implied[] = {"NOP", "TAX", "TXA", "RTS", "CLC", "SEC", "INX", "DEY", "ASL A", "PHA"};
    switch (Number(0, 5)) {
      case 0: return std::string(Implied[Number(0, 9)]);
      case 1: return std::string(Branches[Number(0, 7)]) + " " + Operand();
      default: {
        std::string m = Memory[Number(0, 22)], v = Operand();
        switch (Number(0, 6)) {
          case 0: return m + " #" + v;
          case 1: return m + " " + v + ",X";
          case 2: return m + " " + v + ",Y";
          case 3: return m + " (" + v + ",X)";
          case 4: return m + " (" + v + "),Y";
          case 5: return m + " (" + v + ")";
          default: return m + " " + v;
        }
      }
    }
  }

  std::string Line(bool mainFile) {
    std::string label;
    if (Chance(20)) label = LabelName(Labels++);
    int kind = Number(0, 99);
    std::string body;
    if (kind < 55) {
      body = Instruction();
    } else if (kind < 63) {
      body = "DFB " + Operand() + "," + Operand();
    } else if (kind < 67) {
      body = "DWL " + Operand();
    } else if (kind < 70) {
      return "SYM\tSETL " + Operand() + "\n";
    } else if (kind < 73) {
      body = Pick({"ALGN 2", "ALGN 1", "FILL 0EAH", "DFS 3", "ORG $+16", "HEX OFF", "HEX ON", "LIST OFF",
                   "LIST ON", "TAB 4", "TAB 8", "CASE ON", "CASE OFF", "PAGE", "TITL \"T\""});
    } else if (kind < 79 && Depth < 3) {
      ++Depth;
      return label + "\tIF " + Operand() + (Chance(50) ? " > 100" : "") + "\n";
    } else if (kind < 82 && Depth > 0) {
      return "\tELSE\n";
    } else if (kind < 86 && Depth > 0) {
      --Depth;
      return "\tENDI\n";
    } else if (kind < 90) {
      body = Chance(50) ? "SHOW " + Operand() + "," + Operand() : "TWICE " + Operand();
    } else if (kind < 92) {
      body = "RPTXT \"FOO\",\"" + std::to_string(Number(0, 255)) + "\"";
    } else if (kind < 94 && mainFile) {
      body = "INCL \"inc.asm\"";
    } else if (kind < 96) {
      body = Pick({"!bad", "DFB", "EQU 5", "DFB 1,,2", "DFB \"open", "ELSE", "ENDM", "ORG NOWHERE"});
    } else {
      return LabelName(Labels++) + "\tEQU " + Operand() + "\n";
    }
    // Sometimes a blank instead of a tab, or a lower-case line (only read as
    // written while CASE is on).
    std::string sep = Chance(80) ? "\t" : " ";
    std::string line = label + sep + body + "\n";
    if (Chance(5))
      for (char& c : line) c = char(std::tolower(static_cast<unsigned char>(c)));
    return line;
  }

  std::mt19937 Rng;
  bool Mos6502;
  int Labels = 0;
  int Depth = 0;
};

// The tables the programs name: bundled ones, the imaginary processor's, and
// one whose field values divide by the operand and shift by it.
const std::map<std::string, std::string>& Tables() {
  static const std::map<std::string, std::string> tables = {
      {"t.tbl", ReadFile(TARN_TABLES_DIR "/6502.tbl")}, {"z.tbl", ReadFile(TARN_TABLES_DIR "/z80.tbl")},
      {"r.tbl", ReadFile(TARN_TABLES_DIR "/rv32im.tbl")}, {"b.tbl", ReadFile(TARN_TABLES_DIR "/thumb.tbl")},
      {"x.tbl", ImaginaryTable},
      {"d.tbl", "0,\"A\"\n*\n1,8,8,100/#,0,255\n2,8,16,#,0,65535\n3,8,8,1 << #,0,255\n*\n"
                "1,{1}^0000:\n2,{2}^000000:\n3,{3}^0000:\n*\nDIV|1-2^10:\nSHF|3^20:\n"},
      // Instructions named like directives: once the table is in, they stand
      // in the directives' place, on lines before the CPU line too.
      {"o.tbl", "0,\"A\"\n*\n1,8,8,#,0,255\n*\n1,{1}^0000:\n*\nDFB|1^10:\nEQU|1^20:\nNOP^EA:\n"}};
  return tables;
}

using TProgress = std::function<void(int field, const char* text)>;

// Assembles main.asm with the files given and the tables beside it on the
// fast path and on the plain one; the files written must be the same.
// PREPARE may change each directory and give the run a progress callback.
std::array<TRunResult, 2> AssembleBothWays(const std::map<std::string, std::string>& files, const std::string& what,
                                           const std::function<TProgress(const TTempDir&)>& prepare = {}) {
  std::array<TRunResult, 2> results;
  for (int plain = 0; plain < 2; ++plain) {
    TTempDir dir;
    for (const auto& [name, text] : Tables()) dir.Write(name, text);
    for (const auto& [name, text] : files) dir.Write(name, text);
    results[size_t(plain)] =
        AssembleIn(dir, "main.asm", "main.LST", "main.HEX", "main.ERR", plain == 1, prepare ? prepare(dir) : nullptr);
  }
  const TRunResult &fast = results[0], &plain = results[1];
  EXPECT_EQ(fast.Listing, plain.Listing) << what;
  EXPECT_EQ(fast.Errors, plain.Errors) << what;
  EXPECT_EQ(fast.Object, plain.Object) << what;
  EXPECT_EQ(fast.ErrorCount, plain.ErrorCount) << what;
  EXPECT_EQ(fast.Passes, plain.Passes) << what;
  return results;
}

const std::string Head = "\tCPU \"t.tbl\"\n\tHOF \"INT8\"\n\tORG 1000H\n";

TEST(Differential, FastAndPlainAlgorithmsWriteTheSameFiles) {
  for (unsigned seed = 1; seed <= 120 && !HasFailure(); ++seed) {
    TProgramGenerator generator(seed, seed % 2 == 0);
    std::string program = generator.Program(150);
    AssembleBothWays({{"main.asm", program}, {"inc.asm", generator.Include(10)}},
                     "seed " + std::to_string(seed) + "\n" + program);
  }
}

// A pass that has recorded a phase error skips the rest of its output, since
// another pass follows; a fatal error later in that pass makes it the last
// after all, and the files must still be complete up to that line.
TEST(Differential, FatalErrorAfterAPhaseErrorKeepsThatPassOutput) {
  struct TCase {
    const char* Name;
    const char* Tail;  // after a line whose label moves in pass 2 (HERE: 1002H, then 1003H)
  } cases[] = {
      {"include that does not open", "\tIF HERE-1002H\n\tINCL \"missing.asm\"\n\tENDI\n"},
      {"include too deep", "\tIF HERE-1002H\n\tINCL \"self.asm\"\n\tENDI\n"},
      {"fatal error on the phase error's own line", "\tIF HERE-1002H\nAGAIN\tINCL \"missing.asm\"\n\tENDI\n"},
  };
  for (const TCase& c : cases) {
    std::string program = Head + "\tLDA FWD\nHERE\tNOP\n\tDFB 1,2,3\nBAD\tDFB\n" + c.Tail + "\tNOP\nFWD\tEQU 2000H\n";
    auto [fast, plain] = AssembleBothWays({{"main.asm", program}, {"self.asm", "\tINCL \"self.asm\"\n"}}, c.Name);
    EXPECT_EQ(plain.Passes, 2) << c.Name;
    EXPECT_NE(plain.Listing.find("DFB 1,2,3"), std::string::npos) << c.Name;
    EXPECT_EQ(fast.LastPass.size(), plain.LastPass.size()) << c.Name;
  }
}

// A file rewritten while the assembly runs (here once the first pass is
// done with it) is read as it then stands: a line is known by its place in
// its file only while every opening of the file finds the same version, and
// a file changed in the last seconds has no version to trust, since a second
// change may keep its size and times. Each rewrite puts the file's times back.
TEST(Differential, AFileRewrittenBetweenPassesIsReadAsItThenStands) {
  const std::string main = Head + "\tLDA FWD\n\tINCL \"inc.asm\"\n";
  struct TCase {
    const char* Name;
    const char* File;     // the file rewritten
    bool Fresh;           // written just now rather than an hour ago
    std::string Rewrite;  // its new text
    const char* Code;     // in the object, as the new text has it
  } cases[] = {
      {"an old include rewritten at another length", "inc.asm", false, "\tLDA  #7\n\tLDX #8\n", "A907A208"},
      {"a fresh include rewritten at the same length", "inc.asm", true, "\tLDA #7\n\tLDX #8\n", "A907A208"},
      // Read again from its start in each pass, not opened again.
      {"the main file rewritten at another length", "main.asm", false, main + "\tLDY  #9\nFWD\tEQU 12H\n", "A009"},
  };
  namespace fs = std::filesystem;
  for (const TCase& c : cases) {
    auto prepare = [&c](const TTempDir& dir) -> TProgress {
      fs::path file = fs::path(dir.Path()) / c.File;
      if (c.Fresh) fs::last_write_time(file, fs::file_time_type::clock::now());
      // Once the first pass is back in the main file from the include.
      return [file, &c, included = false, rewritten = false](int field, const char* text) mutable {
        if (field != FieldCurrentFile || rewritten) return;
        included = included || std::string_view(text).ends_with("INC.ASM");
        if (!included || !std::string_view(text).ends_with("MAIN.ASM")) return;
        rewritten = true;
        fs::file_time_type times = fs::last_write_time(file);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.Rewrite;
        fs::last_write_time(file, times);
      };
    };
    auto results = AssembleBothWays(
        {{"main.asm", main + "\tLDY #1\nFWD\tEQU 12H\n"}, {"inc.asm", "\tLDA #1\n\tLDX #2\n"}}, c.Name, prepare);
    EXPECT_GE(results[0].Passes, 2) << c.Name;
    EXPECT_NE(results[0].Object.find(c.Code), std::string::npos) << c.Name << "\n" << results[0].Object;
  }
}

// Each program is assembled on both paths (AssembleBothWays). Its head is the
// CPU line naming TABLE, HOF "INT8" and ORG 1000H; TEXT follows, twice when
// TWICE, and INCLUDE stands beside it as inc.asm.
struct TProgramCase {
  const char* Name;
  std::string Text;
  std::string Include;
  const char* Table = "t.tbl";  // "" = no head
  bool Twice = false;
};

std::vector<TProgramCase> ProgramCases() {
  // Lines that the reading changes or cuts: CR LF ends, a zero byte, a line
  // longer than a line can be, a last line without its newline, and lines
  // across the reader's 64 KB blocks, all read again in later passes.
  std::string cut;
  for (int i = 0; i < 7000; ++i) cut += i % 3 ? "\tLDA FWD\r\n" : "\tLDA FWD,X\n";
  cut += std::string("\tDFB 1\0 2\n", 10) + "\tLDA " + std::string(300, '1') + "\n\tNOP";
  // Data lines of plain numbers and labels are read without the expression
  // reader; every other list, and every value out of range, goes through it.
  std::string items;
  for (int i = 0; i < 70; ++i) items += (i ? "," : "") + std::to_string(i);
  std::string data =
      // ZP, defined at the end, shortens the first line in the second pass: the labels move.
      "\tLDA ZP\nNEG\tEQU -5\nFAR\tEQU -200\nL0\tDFB 1, 2,$FF , 0FFH,377Q,11111111B,255D,0x7F\n"
      "\tDLL $FFFFFFFF,$123456789,999999999,4294967296,$0x12,$ab\n\tDFB 12.5\n"
      "\tDFB 255,256\n\tDFB -128\n\tDFB $100\n\tDFB NEG,FAR\n\tDWL FAR,NEG\n\tDFB 1,,2\n\tDFB 1,\n\tDFB ,1\n"
      "\tDFB \"AB\",1\n\tDFB L0,FWD\n\tDFB LOW L0\n\tDFB $\n\tDFB $1G\n\tDFB 19O\n\tDFB 1 2\n\tDFB 1 ;note\n"
      "\tDWL 65535,65536\n\tDWL L0,L1,FWD\n\tDWM L1,$1234\n\tDFL L0,$12345678\n\tDLL 1,NEG\n"
      "L1\tDWL L1\n\tDFB L0+1\n\tDFB L0 ,L1\n\tDWL NEVER\n\tdfb l0, 1\n\tDFB " + items + "\n" +
      "M\tMACRO\n\tDWL L0,M1\nM1\tDFB 1\n\tENDM\n\tM\n\tM\n"
      "\tCASE \"ON\"\nlow\tDFB L0,l0\n\tDFB low\n\tCASE \"OFF\"\nFWD\tEQU 7\nZP\tEQU 12H\n";
  return {
      // A line read again with the same text takes its code from its last
      // reading while the labels and the program counter it reads are
      // unchanged: each case changes one input of a line between two readings
      // of it, in one pass (an included file met again) or between passes.
      {"labels and the counter change between two inclusions",
       "SYM\tSETL 5\n\tINCL \"inc.asm\"\nSYM\tSETL 300\n\tINCL \"inc.asm\"\n\tORG 2000H\n\tINCL \"inc.asm\"\n",
       "\tLDA SYM\n\tLDA SYM,X\n\tBNE $+4\n\tJMP $\n\tDWL SYM,$\n\tLDA (SYM+SYM),Y\n\tDFB \"AB\",SYM\n\tDFF 1.5\n"},
      {"CASE and TAB change how the same text reads",
       "\tTAB 2\n\tINCL \"inc.asm\"\n\tTAB 40\n\tINCL \"inc.asm\"\n\tCASE \"ON\"\n\tINCL \"inc.asm\"\n",
       // Seven tabs of 40 columns push the operand past the end of the line.
       "\tlda #1\n\tLDA\t\t\t\t\t\t\t#1\nx\tLDA x\n"},
      {"a replacement begins between two inclusions",
       "FOO\tEQU 10H\nBAR\tEQU 1234H\n\tINCL \"inc.asm\"\n\tRPTXT \"FOO\",\"BAR\"\n\tINCL \"inc.asm\"\n",
       "\tLDA FOO\n\tDFB FOO\n"},
      {"labels that move read themselves on their own lines",
       "\tLDA FWD\nL1\tJMP L1\nL2\tDWL L2\nL3\tBNE L3\nL4\tLDA L4,Y\nFWD\tEQU 1234H\n\tINCL \"inc.asm\"\n", "\tNOP\n"},
      {"labels that move in every pass up to the last read themselves",
       // The first reading of L5's line is not kept (FWD is not yet defined), so
       // that its fourth is kept and its fifth, the last, could repeat it.
       "\tIF FLIP == 1000H\n\tNOP\n\tENDI\nFLIP\tNOP\nL2\tDWL L2\nL3\tLDA L3\n\tINCL \"inc.asm\"\n"
       "L5\tDWL L5,FWD\nL6\tLDA L6+FWD\nFWD\tEQU 1\n", "L4\tDFB L4\n"},
      {"a label defined by an included line met twice",
       "\tINCL \"inc.asm\"\n\tINCL \"inc.asm\"\n", "DUP\tNOP\n\tLDA DUP\n\tJMP DUP\nSELF\tDWL SELF\n"},
      {"names read before their labels in the first pass",
       // Kept with the name in the first pass, matched from their shape later;
       // the second inclusion reads them defined, NEVER stays undefined, and
       // MAC names a macro, not a label.
       "\tINCL \"inc.asm\"\nLATE1\tNOP\nLATE2\tEQU 2000H\nX\tEQU 3\nA\tEQU 4\nVAR\tSETL 5\nMAC\tMACRO\n\tNOP\n\tENDM\n"
       "\tINCL \"inc.asm\"\nVAR\tSETL 300\n",
       // Each line twice: the first of a shape is matched in full, the second from it.
       "\tJMP LATE1\n\tBNE LATE1\n\tJSR LATE2\n\tLDA LATE2\n\tBEQ LATE2\n\tJMP NEVER\n\tLDA VAR\n\tJMP MAC\n"
       "\tJMP (LATE1)\n\tLDA #LATE1\n\tLDA ( LATE2 )\n\tDFS LATE2-1FF0H\n"
       "\tJMP LATE1\n\tBNE LATE1\n\tJSR LATE2\n\tLDA LATE2\n\tBEQ LATE2\n\tJMP NEVER\n\tLDA VAR\n\tJMP MAC\n"
       "\tJMP (LATE1)\n\tLDA #LATE1\n\tLDA ( LATE2 )\n\tLDA LATE2,X\n\tLDA LATE2,X\n\tASL LATE2\n\tASL LATE2\n"},
      {"a name defined only after its second reading",
       "\tINCL \"inc.asm\"\nLATE\tEQU 7\n\tINCL \"inc.asm\"\n", "\tLDA LATE\n\tDFB LATE\n"},
      {"lines the reading changes or cuts", "\tINCL \"inc.asm\"\n\tINCL \"inc.asm\"\nFWD\tEQU 1234H\n", cut},
      {"mnemonics before and after the CPU line",
       "\tNOP\n\tLDA #1\n\tCPU \"t.tbl\"\n\tHOF \"INT8\"\n\tNOP\n\tLDA #1\n", "", ""},
      {"directives before the CPU line that its table makes instructions",
       "\tDFB 1,2,3\n\tDFB 4\nX\tEQU 5\n\tINCL \"inc.asm\"\n\tCPU \"o.tbl\"\n\tHOF \"INT8\"\n\tDFB 6\n\tDFB 7,8\n"
       "\tNOP\n\tINCL \"inc.asm\"\n",
       "\tDFB 9\n\tDFB 10,11\nY\tEQU 12\n", ""},
      {"data lists", data + "\tORG 2000H\n" + data, ""},
      // Lines of one shape (the same text but for their numbers and labels)
      // are matched from the first one's checks while the values pass them
      // alike: each text, given twice, mixes lines of a shape whose values
      // fall on both sides of a range, or whose text a pattern compares.
      {"zero page and absolute forms of one shape",
       "\tLDA $12\n\tLDA $1234\n\tLDA 255\n\tLDA 256\n\tLDA -1\n\tLDA $12,X\n\tLDA $1234,X\n\tLDA 0FFH,Y\n"
       "\tLDA 100H,Y\n\tLDA ($12),Y\n\tLDA ($1234),Y\n\tLDA #$12\n\tLDA #$123\n\tLDA #-128\n\tLDA #-129\n",
       "", "t.tbl", true},
      {"numbers in every base and a digit outside its base",
       "\tLDA 17Q\n\tLDA 101B\n\tLDA 017\n\tLDA 0x1F\n\tLDA 99D\n\tLDA 19O\n\tLDA 12AB\n\tLDA $1G\n"
       "\tLDA $0x12\n\tLDA $ab\n\tLDA $FFFFFFFF\n\tLDA $123456789\n\tLDA 999999999\n\tLDA 4294967296\n\tLDA 12.5\n"
       "\tLDA $12.5\n\tLDA 1E\n", "", "t.tbl", true},
      {"branches of one shape near and far",
       "L0\tBNE L0\n\tBNE L1\n\tDFS 200\nL1\tBNE L1\n\tBNE L0\n\tBNE $+2\n\tBNE 2000H\n\tBNE 1010H\n", "", "t.tbl", true},
      {"labels named as registers and operators",
       "X\tEQU 5\nA\tEQU 300\n\tLDA X,X\n\tLDA $10,X\n\tASL A\n\tASL $10\n\tLDA LOW,X\n\tLDA HIGH 1234H,X\n",
       "", "t.tbl", true},
      {"labels whose values cross a range between passes",
       "\tLDA FAR\n\tLDA NEAR\n\tSTA FAR,X\n\tSTA NEAR,X\nNEAR\tEQU FAR-1F00H\nFAR\tEQU $+1F80H\n", "", "t.tbl", true},
      {"name fields, sets and numbers of the imaginary processor",
       "\tMOV A,5\n\tMOV B,6\n\tMOV b,7\n\tLD #5\n\tLD #500\n\tLD 5\n\tLD 70000\n\tPUSH A,C\n\tPUSH B\n"
       "\tJMPI (5)\n\tJMPI (70000)\n\tBR 1000H\n\tBR 9000H\n\tST 5\n\tST 123456H\n", "", "x.tbl", true},
      {"forward references of one shape in the first pass",
       "\tLDA F1\n\tLDA F2,X\n\tBNE F3\n\tBEQ F4\n\tJMP F5\n\tLDA (F1),Y\n\tLDA #F1\n\tLDA F1,Y\n\tSTA Y\n"
       "\tLDA F6\n\tBNE F6\nF1\tEQU 12H\nF2\tEQU 1234H\nF3\tNOP\n\tDFS 300\nF4\tNOP\nF5\tEQU $\nY\tEQU 7\n"
       "F6\tNOP\n", "", "t.tbl", true},
      {"forward references beside a register that becomes a label later",
       "\tLDA G1,X\n\tLDA G2,X\n\tLDA G3,X\n\tLDA (G1),Y\n\tLDA (G2),Y\n\tASL G1\n\tASL G2\n\tASL A\n"
       "G1\tEQU 12H\nG2\tEQU 1234H\nG3\tNOP\nX\tEQU 300\nY\tEQU 4\nA\tEQU 5\n", "", "t.tbl", true},
      {"labels named like the registers and list names they are compared with",
       // Each operand is compared, letter by letter, with register names that
       // may begin it, end inside it or be all of it; in both letter cases.
       "\tLD A,L1\n\tLD A,LONGER\n\tLD A,L\n\tLD A,H\n\tLD A,HL\n\tLD A,(HL)\n\tLD A,(HLX)\n\tLD A,(BC)\n"
       "\tLD A,(BCD)\n\tLD A,(B)\n\tLD HL,BC\n\tLD HL,BCX\n\tLD B,C\n\tLD B,CC\n\tJP NZ,NZ1\n\tJP NZ,Z\n"
       "\tJP Z,NZ\n\tJR NC,C1\n\tJR C,NC\n\tLD A,(IX+IX)\n\tLD (IX+5),A\n\tLD (IY+Y),A\n\tPUSH AF\n"
       "\tPUSH AFX\n\tEX AF,AF'\n\tld a,l\n\tld a,l1\n\tLD A,A\n\tLD A,AA\n\tLD A,I\n\tLD A,IX\n\tLD A,R2\n"
       "\tLD A,XY\n\tLD A,H\n\tLD A,HX\n\tLD HL,HL\n\tLD HL,HLX\n\tCASE \"ON\"\n\tld a,l\n\tLD A,l1\n\tLD A,hl\n\tCASE \"OFF\"\n"
       "L1\tEQU 1\nLONGER\tEQU 2\nHLX\tEQU 3\nBCD\tEQU 4\nBCX\tEQU 1234H\nCC\tEQU 5\nNZ1\tNOP\nC1\tNOP\n"
       "Y\tEQU 7\nAFX\tEQU 8\nAA\tEQU 9\nR2\tEQU 10\nH\tEQU 12\nHX\tEQU 13\nHL\tEQU 14\nXY\tEQU 15\n",
       "", "z.tbl", true},
      {"long field values in groups, read from the counter: branches, jumps and offsets",
       "L0\tbeq a0,a1,L0\n\tbeq a0,a1,L1\n\tbne x1,x2,L2\n\tjal L1\n\tjal ra,L3\n\tlw t0,0(a1)\n\tlw t0,-2048(a1)\n"
       "\tlw t0,2047(a1)\n\tlw t0,2048(a1)\n\tsw t0,-2049(a0)\n\tsw t0,100(a0)\n\taddi a0,a0,-1\n\taddi a0,a0,4096\n"
       "\tlui a3,%hi(D1)\n\taddi a3,a3,%lo(D1)\n\tsw a3,%lo(D1)(a2)\n\tslli a0,a0,31\n\tslli a0,a0,32\n"
       "\tbeq a0,a1,L0+1\n\tbeqz a2,L1\n\tj L2\n\tbeq a0,a1,L0-5000\n\tDFS 5000\nL1\tnop\nL2\tbeq a0,a1,L0\n"
       "L3\tret\nD1\tEQU 12345678H\n", "", "r.tbl", true},
      {"a long branch whose field value takes over 64 steps",
       "L0\tBL L0\n\tBL L1\n\tBL L0+1\n\tBL L1+3\n\tBL 1000000H\n\tBL L0-400000H\n\tDFS 3000\nL1\tBL L0\n", "", "b.tbl", true},
      {"operands of several numbers and labels",
       "\tLDA L1+1\n\tLDA L2+1\n\tLDA L1-L2\n\tLDA L2-L1\n\tLDA -L1\n\tLDA -L2\n\tLDA {L1+1}*2\n\tLDA {L2+1}*2\n"
       "\tLDA #LOW L1\n\tLDA #LOW L2+1\n\tLDA #HIGH L2\n\tLDA #L1+250\n\tLDA L1+1,X\n\tLDA L2+300,X\n"
       "\tLDA 100/L3\n\tLDA 100/L1\n\tLDA L1 << 2\n\tLDA L1 << L3\n\tBNE L1+2\n\tBNE L2-1\n\tBNE *+2\n"
       "\tLDA F1+1\n\tLDA F1+2\n\tBNE F1+1\n\tBNE F1-1\n\tLDA `+L1\n\tLDA $+1\n\tLDA ($12+1),Y\n"
       "\tLDA ($1234+1),Y\n\tLDA (L1+1,X)\n\tLDA L1+L1+L1+L1+L1+L1+L1+L1+L1+L1\n"
       "L1\tEQU 12H\nL2\tEQU 1234H\nL3\tEQU 0\nF1\tNOP\n", "", "t.tbl", true},
      {"a field value that divides by the operand, a shift by it",
       "\tDIV 5\n\tDIV 0\n\tDIV 50\n\tDIV 0\n\tSHF 3\n\tSHF 40\n\tSHF 3\n", "", "d.tbl", true},
  };
}

TEST(Differential, ProgramsOfEveryKindWriteTheSameFilesBothWays) {
  for (const TProgramCase& c : ProgramCases()) {
    std::string head = *c.Table ? std::string("\tCPU \"") + c.Table + "\"\n\tHOF \"INT8\"\n\tORG 1000H\n" : "";
    std::map<std::string, std::string> files = {{"main.asm", head + c.Text + (c.Twice ? c.Text : "")}};
    if (!c.Include.empty()) files["inc.asm"] = c.Include;
    AssembleBothWays(files, c.Name);
  }
}

// Line normalization copies runs of plain characters at once; it must give
// what copying one character at a time gives, also where tab expansion or a
// quoted text reaches the end of the line buffer.
std::string NormalizedOneByOne(const std::string& source, int tabWidth, bool keepCase) {
  constexpr size_t Max = LineSize - 2;
  std::string out;
  auto put = [&](char c) {
    if (out.size() < Max) out += c;
  };
  for (size_t i = 0;; ++i) {
    unsigned char c = i < source.size() ? static_cast<unsigned char>(source[i]) : 0;
    if (c == 0 || c == '\n' || c == ';') break;
    if (c == '"') {
      put('"');
      for (++i; i < source.size() && source[i] != '"' && source[i] != '\n'; ++i) put(source[i]);
      if (i >= source.size() || source[i] != '"') break;
      put('"');
    } else if (c == '\t') {
      size_t stop = std::min((out.size() / size_t(tabWidth) + 1) * size_t(tabWidth), Max);
      put(' ');
      while (out.size() < stop) out += ' ';
    } else if (c < 32 || c == 127) {
      put(' ');
    } else {
      put(keepCase ? char(c) : char(std::toupper(c)));
    }
  }
  return out + "\n";
}

TEST(Differential, LineNormalizationAgreesWithCopyingOneCharacterAtATime) {
  std::mt19937 rng(11);
  const std::string alphabet = "abcXYZ09 _\t\t\"\";,\x01\x7f\xe9";
  for (int round = 0; round < 3000; ++round) {
    size_t length = std::uniform_int_distribution<size_t>(0, 260)(rng);
    std::string source;
    for (size_t i = 0; i < length; ++i) source += alphabet[rng() % alphabet.size()];
    if (rng() % 2) source += '\n';
    int tabWidth = std::uniform_int_distribution<int>(2, 40)(rng);
    bool keepCase = rng() % 2;
    TTarn tarn;
    tarn.TabWidth = int16_t(tabWidth);
    tarn.CaseFlag = keepCase ? On : Off;
    char out[LineSize];
    tarn.NormalizeLine(out, source.c_str(), false);
    ASSERT_EQ(std::string(out), NormalizedOneByOne(source, tabWidth, keepCase))
        << "source \"" << source << "\", tab " << tabWidth;
  }
}

}  // namespace
