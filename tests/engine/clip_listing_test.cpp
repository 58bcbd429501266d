#include "engine/clip_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

TEST(ClipListingTest, MatchesNamesEndingInMoiIgnoringCase) {
  struct Case {
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"clip.MOI", true}, {"clip.moi", true},      {"clip.MoI", true},  {".MOI", true},
      {"MOI", false},     {"clip.MOI.bak", false}, {"clip_MOI", false}, {"clip.MOD", false},
      {"", false},        {"x.MO", false},         {"x.m0i", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsClipFileName(c.name), c.matches) << c.name;
}

TEST(ClipListingTest, OrdersNamesWithLettersFoldedToUpperCase) {
  std::vector<std::string> names = {"b.MOI",        "A_.MOI", "a.moi", "AB.MOI", "a.MOI",
                                    "\xC3\xA9.MOI", "1.MOI",  "Z.MOI", "ab.MOI", "[.MOI"};
  std::sort(names.begin(), names.end(), ClipNameLess);
  EXPECT_EQ(names, (std::vector<std::string>{"1.MOI", "a.MOI", "a.moi", "AB.MOI", "ab.MOI",
                                             "A_.MOI", "b.MOI", "Z.MOI", "[.MOI", "\xC3\xA9.MOI"}));
  EXPECT_FALSE(ClipNameLess("a.MOI", "a.MOI"));
}

TEST(ClipListingTest, ListsMatchingEntriesOfAnyTypeInNameOrder) {
  TempFolder folder;
  for (const char* name : {"b.MOI", "a.moi", "notes.txt", "c.MOI.bak", ".MOI", "MOI"}) {
    WriteFileText(folder / name, "x");
  }
  std::filesystem::create_directory(folder / "sub.MOI");
  std::filesystem::create_directory(folder / "nested");
  WriteFileText(folder / "nested/deep.MOI", "x");
  ASSERT_EQ(::mkfifo((folder / "pipe.MOI").c_str(), 0644), 0);

  const auto names = ListClipFiles(folder.Path().string());
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(*names, (std::vector<std::string>{".MOI", "a.moi", "b.MOI", "pipe.MOI", "sub.MOI"}));
  EXPECT_EQ(ListClipFiles(folder.Path().string() + "/"), names) << "a trailing separator";
}

TEST(ClipListingTest, ReportsFoldersThatCannotBeListed) {
  TempFolder folder;
  WriteFileText(folder / "file.MOI", "x");
  EXPECT_FALSE(ListClipFiles(folder / "missing").has_value());
  EXPECT_FALSE(ListClipFiles(folder / "file.MOI").has_value());
  EXPECT_TRUE(ListClipFiles("").has_value()) << "an empty folder is the root";
}

TEST(ClipListingTest, SearchReturnsEntriesOneAtATime) {
  TempFolder folder;
  WriteFileText(folder / "one.MOI", "x");
  ClipFileSearch search(folder.Path().string());
  EXPECT_EQ(search.Next(), "one.MOI");
  EXPECT_EQ(search.Next(), std::nullopt);
  EXPECT_EQ(search.Next(), std::nullopt);
  EXPECT_FALSE(search.Error());
  ClipFileSearch missing(folder / "missing");
  EXPECT_EQ(missing.Next(), std::nullopt);
  EXPECT_TRUE(missing.Error());
}

}  // namespace
