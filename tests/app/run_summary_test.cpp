#include "app/run_summary.h"

#include <gtest/gtest.h>

namespace {

TEST(RunSummaryTest, CountsAndNamesTheFailures) {
  const std::error_code full = std::make_error_code(std::errc::no_space_on_device);
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  RunReport many{.listed = true};
  std::string manyText = "12 of 12 subtitle files could not be written:";
  for (int i = 0; i < 12; ++i) {
    many.failed.push_back({"/c/" + std::to_string(i), full});
    if (i < 10) manyText += "\n/c/" + std::to_string(i) + ": " + full.message();
  }
  struct Case {
    const char* name;
    RunReport report;
    std::string expected;
  };
  const Case cases[] = {
      {"success", {.listed = true, .written = {"/c/A.SUB"}}, ""},
      {"two of three",
       {.listed = true, .written = {"/c/A.SUB"}, .failed = {{"/c/B.SUB", full}, {"/c/C", denied}}},
       "2 of 3 subtitle files could not be written:\n/c/B.SUB: " + full.message() +
           "\n/c/C: " + denied.message()},
      {"more than ten", many, manyText + "\nand 2 more"},
      {"unlisted folder",
       {.listingError = denied},
       "The folder \"/card\" cannot be listed: " + denied.message() + "."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeRunFailure(c.report, "/card"), c.expected) << c.name;
  }
}

}  // namespace
