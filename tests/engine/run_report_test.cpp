#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/conversion.h"
#include "tests/support/test_support.h"

namespace {

TEST(RunReportTest, CountsTheFilesWrittenAndNamesThoseUnreadUnwrittenAndSkipped) {
  const TempFolder root;
  const std::string clip = ReadFile(TestData("e2e/dst_new_york/in/clips/A.MOI")).value();
  std::ofstream(root / "A.MOI") << clip;
  std::ofstream(root / "B.MOI") << clip;
  std::ofstream(root / "C.MOI") << clip.substr(0, 17);
  // A folder where the subtitle file belongs cannot be replaced, whoever runs the test.
  std::filesystem::create_directory(root / "B.SUB");
  std::filesystem::create_directory(root / "D.MOI");

  const RunReport report = ConvertFolder({root.Path().string(), "", "MOVALL.SUB"});
  EXPECT_TRUE(report.listed);
  EXPECT_EQ(report.written, 2u);
  ASSERT_EQ(report.unwritten.size(), 1u);
  EXPECT_EQ(report.unwritten[0].path, root / "B.SUB");
  EXPECT_EQ(report.unwritten[0].error, std::errc::is_a_directory);
  // A short file and a folder named like a clip are no clips, and no failures either.
  EXPECT_EQ(report.skipped.size(), 2u);
  EXPECT_TRUE(report.unreadable.empty());
  EXPECT_FALSE(report.Succeeded());
}

}  // namespace
