// The CPU tables against Debian's own assemblers: the same program, written in
// each assembler's syntax, must give the same bytes.
#include <gtest/gtest.h>

#include "TableRun.h"

namespace {

struct TPeerCase {
  const char* Name;
  const char* OurSource;    // in the peer directory, assembled with "BIN8"
  const char* PeerTool;     // program that must be on the path
  const char* PeerCommand;  // writes peer.bin from the peer source ({SRC})
  const char* PeerSource;
};

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
  return s;
}

// Where two images part, with a few bytes of each around it, so that a
// wrong opcode or operand byte can be found in the peer source.
std::string FirstDifference(const std::string& ours, const std::string& theirs) {
  size_t i = 0;
  while (i < ours.size() && i < theirs.size() && ours[i] == theirs[i]) ++i;
  if (i == ours.size() && i == theirs.size()) return "identical";
  size_t from = i < 4 ? 0 : i - 4;
  char at[64];
  std::snprintf(at, sizeof at, "first difference at offset %zu (address $%04zX)", i, 0x1000 + i);
  return std::string(at) + "\n ours:   " + Hex(ours.substr(from, 12)) + "\n theirs: " + Hex(theirs.substr(from, 12)) +
         "\n sizes " + std::to_string(ours.size()) + " and " + std::to_string(theirs.size());
}

void PrintTo(const TPeerCase& c, std::ostream* os) { *os << c.PeerSource; }

class PeerTest : public ::testing::TestWithParam<TPeerCase> {};

TEST_P(PeerTest, SameBytesAsThePeerAssembler) {
  const TPeerCase& c = GetParam();
  if (RunShell(std::string("command -v ") + c.PeerTool + " >/dev/null 2>&1") != 0)
    GTEST_SKIP() << c.PeerTool << " is not installed; install the Debian package to compare against it";
  TTempDir dir;
  std::string peerSource = std::string(TARN_PEER_DIR "/") + c.PeerSource;
  int peerStatus = RunShell("cd '" + dir.Path() + "' && " + Replaced(c.PeerCommand, "{SRC}", "'" + peerSource + "'") +
                            " >peer.txt 2>&1");
  ASSERT_EQ(peerStatus, 0) << c.PeerTool << " failed on " << c.PeerSource << ":\n" << dir.Read("peer.txt");
  std::string theirs = dir.Read("peer.bin");
  ASSERT_FALSE(theirs.empty());

  TTableRun ours = RunTarnOn(dir, std::string(TARN_PEER_DIR "/") + c.OurSource);
  ASSERT_TRUE(ours.Errors.empty()) << ours.Stderr;
  EXPECT_EQ(ours.Status, 0) << ours.Stderr;
  EXPECT_TRUE(ours.Object == theirs) << FirstDifference(ours.Object, theirs);
}

const TPeerCase PeerCases[] = {
    // Every documented 6502 opcode, the zero-page and absolute boundary, and
    // branches at both ends of their reach.
    {"Opcodes6502With64tass", "all-opcodes.asm", "64tass", "64tass -q -Wno-jmp-bug --nostart -o peer.bin {SRC}",
     "all-opcodes.s"},
    {"Opcodes6502WithDasm", "all-opcodes.asm", "dasm", "dasm {SRC} -f3 -opeer.bin", "all-opcodes.dasm"},
    {"Opcodes6502WithXa65", "all-opcodes.asm", "xa", "xa -o peer.bin {SRC}", "all-opcodes.xa"},
};

INSTANTIATE_TEST_SUITE_P(Tables, PeerTest, ::testing::ValuesIn(PeerCases),
                         [](const ::testing::TestParamInfo<TPeerCase>& info) { return info.param.Name; });

}  // namespace
