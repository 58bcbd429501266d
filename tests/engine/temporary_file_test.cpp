#include "engine/temporary_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

namespace {

TEST(TemporaryFileTest, RecognisesItsOwnNamesOnly) {
  struct Case {
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {".clipstamp-aZ09xy.tmp", true},
      {".clipstamp-aZ09x.tmp", false},
      {".clipstamp-aZ09xyz.tmp", false},
      {".clipstamp-aZ-9xy.tmp", false},
      {"clipstamp-aZ09xy.tmp", false},
      {".clipstamp-aZ09xy.TMP", false},
      {"a.SUB", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTemporaryFileName(c.name), c.matches) << c.name;
}

TEST(TemporaryFileTest, IsRemovedUnlessRenamed) {
  TempFolder folder;
  const std::string prefix = folder.Path().string() + "/";
  std::string removed;
  {
    std::optional<TemporaryFile> a = TemporaryFile::Create(prefix);
    std::optional<TemporaryFile> b = TemporaryFile::Create(prefix);
    ASSERT_TRUE(a && b);
    removed = a->Path();
    EXPECT_NE(removed, b->Path());
    EXPECT_TRUE(IsTemporaryFileName(std::filesystem::path(removed).filename().string()));
    EXPECT_TRUE(std::filesystem::exists(removed));
    EXPECT_TRUE(b->File().WriteAll("kept"));
    EXPECT_TRUE(b->RenameOver(prefix + "target"));
  }
  EXPECT_FALSE(std::filesystem::exists(removed));
  EXPECT_EQ(ReadFileText(prefix + "target"), "kept");
  EXPECT_FALSE(TemporaryFile::Create(prefix + "missing/").has_value());
}

TEST(TemporaryFileTest, RemovesOnlyUnlockedTemporaryFiles) {
  TempFolder folder;
  const std::string prefix = folder.Path().string() + "/";
  const std::string stale = prefix + ".clipstamp-Stale1.tmp";
  const std::string other = prefix + ".clipstamp-other.tmp.bak";
  WriteFileText(stale, "left by a killed run a moment ago");
  WriteFileText(other, "not ours");
  std::filesystem::create_directory(prefix + ".clipstamp-Folder.tmp");
  std::optional<TemporaryFile> live = TemporaryFile::Create(prefix);
  ASSERT_TRUE(live.has_value());

  RemoveStaleTemporaryFiles(prefix);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(std::filesystem::exists(prefix + ".clipstamp-Folder.tmp"));
  EXPECT_TRUE(std::filesystem::exists(live->Path())) << "a live writer holds its lock";
}

}  // namespace
