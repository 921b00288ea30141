// Every cases/NAME.asm is assembled; its listing, error file and object file
// must equal NAME.lst, NAME.err and NAME.hex (or NAME.bin, shown as hex text)
// where those exist. TARN_UPDATE_GOLDEN=1 writes them afresh for review.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(TARN_CASES_DIR))
    if (e.path().extension() == ".asm") names.push_back(e.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class GoldenTest : public ::testing::TestWithParam<std::string> {};

void Compare(const fs::path& expected, const std::string& actual, bool update) {
  if (update) {
    std::ofstream(expected, std::ios::binary) << actual;
    return;
  }
  if (!fs::exists(expected)) return;
  EXPECT_EQ(actual, ReadFile(expected.string())) << expected;
}

TEST_P(GoldenTest, MatchesExpectedFiles) {
  const std::string name = GetParam();
  const fs::path dir = TARN_CASES_DIR;
  const bool update = std::getenv("TARN_UPDATE_GOLDEN") != nullptr;
  TTempDir temp;
  temp.Write(name + ".asm", ReadFile((dir / (name + ".asm")).string()));
  TRunResult r = AssembleIn(temp, name + ".asm", name + ".LST", name + ".HEX", name + ".ERR");
  Compare(dir / (name + ".lst"), r.Listing, update);
  Compare(dir / (name + ".err"), r.Errors, update);
  bool binary = !r.Object.empty() && r.Object[0] != ':' && r.Object[0] != 'S';
  if (binary || fs::exists(dir / (name + ".bin"))) Compare(dir / (name + ".bin"), Hex(r.Object) + "\n", update);
  else Compare(dir / (name + ".hex"), r.Object, update);
}

// The files written with LF and with CR LF line ends: MAIN assembles to
// exactly the same listing, errors and bytes.
TRunResult SameWithBothLineEnds(const std::map<std::string, std::string>& files, const std::string& main) {
  TRunResult results[2];
  for (int crlf = 0; crlf < 2; ++crlf) {
    TTempDir temp;
    for (const auto& [name, text] : files) {
      std::string written;
      for (char c : text) written += crlf && c == '\n' ? "\r\n" : std::string(1, c);
      temp.Write(name, written);
    }
    const std::string stem = main.substr(0, main.find('.'));
    results[crlf] = AssembleIn(temp, main, stem + ".LST", stem + ".HEX", stem + ".ERR");
  }
  EXPECT_EQ(results[1].Listing, results[0].Listing);
  EXPECT_EQ(results[1].Errors, results[0].Errors);
  EXPECT_EQ(results[1].Object, results[0].Object);
  return results[0];
}

TEST_P(GoldenTest, SameWithCrLfLineEnds) {
  const std::string text = ReadFile((fs::path(TARN_CASES_DIR) / (GetParam() + ".asm")).string());
  SameWithBothLineEnds({{"case.asm", text}}, "case.asm");
}

TEST(CrLf, LongLinesAndTablesSplitAsWithLf) {
  // Lines of 253, 254 and 255 characters meet the line buffer's end at their
  // CR, their LF and beyond; the table is read with CR LF ends too.
  std::string source = "\tCPU \"t.tbl\"\n\tHOF \"BIN8\"\n";
  for (int length : {253, 254, 255}) source += "\tDFB 1" + std::string(size_t(length - 6), ' ') + "\n";
  source += "\tNOP\n\tNOP 5\n\tDFB 300\n";
  TRunResult lf = SameWithBothLineEnds({{"t.tbl", "*\n*\n*\nNOP^EA:\n"}, {"m.asm", source}}, "m.asm");
  EXPECT_EQ(Hex(lf.Object), "01 01 01 EA 00 2C");
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
