// Every seed input and every reproducer a fuzzer once found, run through its
// target in the ordinary build: one test per file, named after it. A broken
// invariant aborts, which fails that file's test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzTargets.h"

namespace fs = std::filesystem;

namespace {

struct TInput {
  std::string Target;  // engine, editor or profile
  fs::path File;
};

// Shown by its path when a test fails, not as bytes.
void PrintTo(const TInput& input, std::ostream* out) { *out << input.File.string(); }

// The seeds (corpus/TARGET) and the saved reproducers (regressions/TARGET).
std::vector<TInput> InputsOf(const std::string& target) {
  std::vector<TInput> inputs;
  for (const char* kind : {"corpus", "regressions"}) {
    fs::path dir = fs::path(TARN_FUZZ_DIR) / kind / target;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
        inputs.push_back({target, entry.path()});
  }
  std::sort(inputs.begin(), inputs.end(), [](const TInput& a, const TInput& b) { return a.File < b.File; });
  return inputs;
}

bool Built(const std::string& target) {
  return std::string("," TARN_FUZZ_TARGETS ",").find("," + target + ",") != std::string::npos;
}

std::string TestName(const testing::TestParamInfo<TInput>& info) {
  std::string name = info.param.File.parent_path().parent_path().filename().string() + "_" +
                     info.param.File.filename().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name + "_" + std::to_string(info.index);  // unique even where two names fold alike
}

class FuzzInput : public testing::TestWithParam<TInput> {};

TEST_P(FuzzInput, PassesItsTarget) {
  const TInput& input = GetParam();
  bool opened = false;
  std::string bytes = ReadFile(input.File.string(), &opened);
  ASSERT_TRUE(opened) << input.File;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (input.Target == "engine") FuzzEngineOne(data, bytes.size());
#ifdef TARN_FUZZ_WITH_EDITOR
  else if (input.Target == "editor") FuzzEditorOne(data, bytes.size());
  else if (input.Target == "profile") FuzzProfileOne(data, bytes.size());
#endif
}

TEST(FuzzCorpus, EveryBuiltTargetHasSeeds) {
  for (const char* target : {"engine", "editor", "profile"})
    EXPECT_TRUE(!Built(target) || !InputsOf(target).empty()) << target;
}

INSTANTIATE_TEST_SUITE_P(engine, FuzzInput, testing::ValuesIn(InputsOf("engine")), TestName);
#ifdef TARN_FUZZ_WITH_EDITOR
INSTANTIATE_TEST_SUITE_P(editor, FuzzInput, testing::ValuesIn(InputsOf("editor")), TestName);
INSTANTIATE_TEST_SUITE_P(profile, FuzzInput, testing::ValuesIn(InputsOf("profile")), TestName);
#endif

}  // namespace
