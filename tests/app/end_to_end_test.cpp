#include <gtest/gtest.h>
#include <locale.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

// The case folders under tests/data/e2e, by name.
std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(TestData("e2e"))) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// The locale that `environment` selects with LC_ALL, when this system lacks it.
std::string MissingLocale(const std::vector<std::string>& environment) {
  for (const std::string& variable : environment) {
    if (!variable.starts_with("LC_ALL=")) continue;
    const std::string name = variable.substr(7);
    const locale_t locale = ::newlocale(LC_ALL_MASK, name.c_str(), nullptr);
    if (locale == nullptr) return name;
    ::freelocale(locale);
  }
  return "";
}

class EndToEndTest : public testing::TestWithParam<std::string> {};

// Each folder under tests/data/e2e is one run: `in/` is copied to a temporary folder, the
// program runs in its `work/` folder with `args` and `env` (through `run` where there is one),
// prints `stderr` (nothing where there is none), and the tree must then equal `out/` and pass
// `check`.
TEST_P(EndToEndTest, LeavesTheExpectedTree) {
  const fs::path data = TestData("e2e") / GetParam();
  RunOptions options;
  options.environment = ReadLines(data / "env");
  if (const std::string locale = MissingLocale(options.environment); !locale.empty()) {
    GTEST_SKIP() << "the locale " << locale << " is missing (scripts/install-deps.sh makes it)";
  }
  TempFolder root;
  fs::copy(data / "in", root.Path(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  options.arguments = ReadLines(data / "args");
  options.workingFolder = root / "work";
  if (auto script = ReadFile(data / "run")) options.script = *script;
  const RunResult result = RunClipstamp(options);
  EXPECT_EQ(std::to_string(result.exitStatus), ReadLines(data / "status").at(0));
  EXPECT_EQ(result.output, ReadFile(data / "stderr").value_or(""))
      << "a run names each failure, and prints nothing else";
  EXPECT_EQ(FileTree(root.Path()), FileTree(data / "out"));
  if (auto check = ReadFile(data / "check")) {
    options.workingFolder = root.Path().string();
    options.script = *check;
    EXPECT_EQ(RunClipstamp(options).exitStatus, 0) << *check;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEndTest, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& test) {
                           return test.param;
                         });

// Output is streamed: the longest PAL clip (a 5 MB subtitle file) needs no more memory than a
// one-second one.
TEST(EndToEndMemoryTest, MemoryDoesNotGrowWithClipLength) {
  long peakKb[2] = {};
  for (const char* source : {"permissions_kept", "file_size_limit"}) {
    TempFolder root;
    fs::copy_file(TestData("e2e") / source / "in/clips/A.MOI", root / "A.MOI");
    RunOptions options;
    options.arguments = {"-d", root.Path().string()};
    const RunResult result = RunClipstamp(options);
    ASSERT_EQ(result.exitStatus, 0);
    peakKb[source[0] == 'f'] = result.maxResidentKb;
  }
  EXPECT_LT(peakKb[1] - peakKb[0], 2048);
}

}  // namespace
