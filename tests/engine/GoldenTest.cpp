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

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
