#include "app/dialog_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

TEST(DialogRules, MinuteOffsetIsAWholeNumberIn32Bits) {
  const struct {
    const char* text;
    std::optional<std::int32_t> offset;
  } rows[] = {{" \t-61 ", -61},           {"+5", 5},
              {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
              {"", std::nullopt},         {"-", std::nullopt},
              {"+-5", std::nullopt},      {"1 2", std::nullopt},
              {"5x", std::nullopt},       {"\n5", std::nullopt}};
  for (const auto& row : rows) EXPECT_EQ(ParseMinuteOffset(row.text), row.offset) << row.text;
}

TEST(DialogRules, CombinedNameFollowsTheFolderWhileItIsTheDefault) {
  const struct {
    const char* name;
    const char* previous;
    const char* chosen;
    const char* result;
  } rows[] = {{"MOVALL.SUB", "", "C:\\Video", "C:\\Video\\MOVALL.SUB"},
              {"C:\\Video\\MOVALL.SUB", "C:\\Video", "D:\\Other", "D:\\Other\\MOVALL.SUB"},
              {"MOVALL.SUB", "", "C:\\", "C:\\\\MOVALL.SUB"},
              {"C:\\Video\\MOVALL.SUB", "D:\\Other", "E:\\", "C:\\Video\\MOVALL.SUB"},
              {"movall.sub", "", "C:\\Video", "movall.sub"},
              {"all.sub", "C:\\Video", "D:\\Other", "all.sub"},
              {"", "C:\\Video", "D:\\Other", ""}};
  for (const auto& row : rows) {
    EXPECT_EQ(CombinedNameAfterChoice(row.name, row.previous, row.chosen, '\\'), row.result)
        << row.name << " " << row.chosen;
  }
  EXPECT_EQ(CombinedNameAfterChoice("/a/MOVALL.SUB", "/a", "/b", '/'), "/b/MOVALL.SUB");
}

TEST(DialogRules, CombinedFileChooserStartsFromTheField) {
  const struct {
    const char* name;
    const char* folder;
    const char* start;
  } rows[] = {{"MOVALL.SUB", "C:\\Video", "C:\\Video\\MOVALL.SUB"},
              {"MOVALL.SUB", "C:\\", "C:\\MOVALL.SUB"},
              {"MOVALL.SUB", "", "MOVALL.SUB"},
              {"", "C:\\Video", "C:\\Video"},
              {"D:\\all.sub", "C:\\Video", "D:\\all.sub"}};
  for (const auto& row : rows) {
    EXPECT_EQ(ProposedCombinedFile(row.name, row.folder, '\\'), row.start) << row.name;
  }
}

}  // namespace
