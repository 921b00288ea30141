// The CPU tables against Debian's own assemblers: the same program, written in
// each assembler's syntax, must give the same bytes.
//
// Each processor keeps its cases in tests/tables/peer/<cpu>/peer.cases, one
// line each: name | our source | peer program | peer command writing peer.bin
// from {SRC} | peer source; the sources stand beside it. Lines starting with
// "#" are comments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TableRun.h"

namespace {

struct TPeerCase {
  std::string Name;
  std::string Dir;          // the processor's directory under the peer directory
  std::string OurSource;    // assembled with "BIN8"
  std::string PeerTool;     // program that must be on the path
  std::string PeerCommand;  // writes peer.bin from the peer source ({SRC})
  std::string PeerSource;
};

std::string Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<TPeerCase> PeerCases() {
  std::vector<TPeerCase> cases;
  std::vector<std::filesystem::path> files;
  for (const auto& dir : std::filesystem::directory_iterator(TARN_PEER_DIR))
    if (std::filesystem::exists(dir.path() / "peer.cases")) files.push_back(dir.path() / "peer.cases");
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      if (Trimmed(line).empty() || Trimmed(line)[0] == '#') continue;
      std::vector<std::string> parts;
      std::istringstream fields(line);
      for (std::string part; std::getline(fields, part, '|');) parts.push_back(Trimmed(part));
      if (parts.size() != 5) {
        ADD_FAILURE() << file << ": a case needs five parts: " << line;
        continue;
      }
      cases.push_back({parts[0], file.parent_path().string(), parts[1], parts[2], parts[3], parts[4]});
    }
  }
  return cases;
}

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
  return s;
}

// Where two images part, with a few bytes of each around it, so that a
// wrong opcode or operand byte can be found in the peer source.
std::string FirstDifference(const std::string& ours, const std::string& theirs) {
  size_t i = std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end()).first - ours.begin();
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
  TTempDir dir;
  if (RunIn(dir, "command -v " + c.PeerTool + " >/dev/null 2>&1") != 0)
    GTEST_SKIP() << c.PeerTool << " is not installed; install the Debian package to compare against it";
  std::string peerSource = c.Dir + "/" + c.PeerSource;
  int peerStatus = RunIn(dir, Replaced(c.PeerCommand, "{SRC}", "'" + peerSource + "'") + " >peer.txt 2>&1");
  ASSERT_EQ(peerStatus, 0) << c.PeerTool << " failed on " << peerSource << ":\n" << dir.Read("peer.txt");
  std::string theirs = dir.Read("peer.bin");
  ASSERT_FALSE(theirs.empty());

  TTableRun ours = RunTarnOn(dir, c.Dir + "/" + c.OurSource, "-I '" + c.Dir + "'");
  ASSERT_TRUE(ours.Errors.empty()) << ours.Stderr;
  EXPECT_EQ(ours.Status, 0) << ours.Stderr;
  EXPECT_TRUE(ours.Object == theirs) << FirstDifference(ours.Object, theirs);
}

INSTANTIATE_TEST_SUITE_P(Tables, PeerTest, ::testing::ValuesIn(PeerCases()),
                         [](const ::testing::TestParamInfo<TPeerCase>& info) { return info.param.Name; });

}  // namespace
