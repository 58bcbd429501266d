#include "app/settings/run_summary.h"

#include <gtest/gtest.h>

namespace {

TEST(RunSummaryTest, CountsAndNamesTheFailures) {
  const std::error_code full = std::make_error_code(std::errc::no_space_on_device);
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  RunReport many{.listed = true};
  std::string manyText = "23 of 23 subtitle files could not be written:";
  for (int i = 0; i < 23; ++i) {
    many.unwritten.push_back({"/c/" + std::to_string(i), full});
    if (i < 10) manyText += "\n/c/" + std::to_string(i) + ": " + full.message();
  }
  struct Case {
    const char* name;
    RunReport report;
    std::string expected;
  };
  const Case cases[] = {
      {"success", {.listed = true, .written = 1, .leftovers = {{"/c/.t", denied}}}, ""},
      {"clips and subtitle files",
       {.listed = true,
        .written = 4,
        .unreadable = {{"/c/A.MOI", denied}, {"/c/B.MOI", denied}},
        .unwritten = {{"/c/C.SUB", full}},
        .leftovers = {{"/c/.t", denied}}},
       "2 clip files could not be read:\n/c/A.MOI: " + denied.message() +
           "\n/c/B.MOI: " + denied.message() +
           "\n\n1 of 5 subtitle files could not be written:\n/c/C.SUB: " + full.message() +
           "\n\n1 temporary file of an earlier run could not be removed:\n/c/.t: " +
           denied.message()},
      {"more than ten", many, manyText + "\nand 13 more"},
      {"unlisted folder",
       {.listingError = denied},
       "The folder \"/card\" cannot be listed: " + denied.message() + "."},
  };
  for (const Case& c : cases) {
    const std::string text = c.report.Succeeded() ? "" : DescribeRunFailure(c.report, "/card");
    EXPECT_EQ(text, c.expected) << c.name;
  }
  // Standard error: one line each, twenty at most.
  const std::vector<std::string> lines = ReportRunFailures(many, "/card");
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[19], "clipstamp: /c/19: " + full.message());
  EXPECT_EQ(lines[20], "clipstamp: ... and 3 more");
  EXPECT_EQ(ReportRunFailures({.listingError = denied}, "/card"),
            std::vector<std::string>{"clipstamp: /card: " + denied.message()});
}

}  // namespace
