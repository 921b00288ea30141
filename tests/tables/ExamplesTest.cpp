// Every bundled example assembles without an error: each .asm file under
// examples/ (its own directory on the search path, for its include files).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TableRun.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ExampleSources() {
  std::vector<std::string> sources;
  for (const auto& e : fs::recursive_directory_iterator(TARN_TABLES_DIR "/../examples"))
    if (e.is_regular_file() && e.path().extension() == ".asm") sources.push_back(fs::canonical(e.path()).string());
  std::sort(sources.begin(), sources.end());
  return sources;
}

class ExampleTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleTest, AssemblesWithoutErrors) {
  TTempDir dir;
  const std::string source = GetParam();
  TTableRun r = RunTarnOn(dir, source, "-I '" + fs::path(source).parent_path().string() + "'");
  EXPECT_EQ(r.Status, 0) << r.Stderr;
  EXPECT_TRUE(r.Errors.empty()) << r.Stderr;
  EXPECT_FALSE(r.Object.empty());
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleTest, ::testing::ValuesIn(ExampleSources()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           fs::path p(info.param);
                           std::string n = p.parent_path().filename().string() + "_" + p.stem().string();
                           for (char& c : n) if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
