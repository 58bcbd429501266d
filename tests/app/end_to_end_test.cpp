#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Each folder under tests/data/e2e is one run: `in/` is copied to a temporary folder, the
// program runs in its `work/` folder with `args` and `env` (through `run` where there is one),
// and the tree must then equal `out/` and pass `check`.
TEST(EndToEndTest, OutputTreesMatchTheExpectedFiles) {
  int cases = 0;
  for (const auto& data : fs::directory_iterator(TestData("e2e"))) {
    const std::string name = data.path().filename().string();
    TempFolder root;
    fs::copy(data.path() / "in", root.Path(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    RunOptions options;
    options.arguments = ReadLines(data.path() / "args");
    options.environment = ReadLines(data.path() / "env");
    options.workingFolder = root / "work";
    if (auto script = ReadFile(data.path() / "run")) options.script = *script;
    const RunResult result = RunClipstamp(options);
    EXPECT_FALSE(result.timedOut) << name;
    EXPECT_EQ(std::to_string(result.exitStatus), ReadLines(data.path() / "status").at(0)) << name;
    EXPECT_EQ(result.output, "") << name << ": a run prints nothing";
    const auto expected = FileTree(data.path() / "out");
    const auto actual = FileTree(root.Path());
    for (const auto& [file, contents] : expected) {
      EXPECT_TRUE(actual.contains(file) && actual.at(file) == contents) << name << ": " << file;
    }
    for (const auto& [file, contents] : actual) {
      EXPECT_TRUE(expected.contains(file)) << name << ": unexpected " << file;
    }
    if (auto check = ReadFile(data.path() / "check")) {
      options.workingFolder = root.Path().string();
      options.script = *check;
      EXPECT_EQ(RunClipstamp(options).exitStatus, 0) << name << ": " << *check;
    }
    ++cases;
  }
  EXPECT_GE(cases, 14);
}

// Output is streamed: the longest PAL clip (a 5 MB subtitle file) needs no more memory than a
// one-second one.
TEST(EndToEndTest, MemoryDoesNotGrowWithClipLength) {
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
