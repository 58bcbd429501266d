#include "engine/temporary_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
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

TEST(TemporaryFileTest, IsRemovedUnlessReleased) {
  TempFolder folder;
  const std::string prefix = folder.Path().string() + "/";
  std::string removed;
  std::string kept;
  {
    std::optional<TemporaryFile> a = TemporaryFile::Create(prefix);
    std::optional<TemporaryFile> b = TemporaryFile::Create(prefix);
    ASSERT_TRUE(a && b);
    removed = a->Path();
    kept = b->Path();
    EXPECT_NE(removed, kept);
    EXPECT_TRUE(IsTemporaryFileName(std::filesystem::path(removed).filename().string()));
    EXPECT_TRUE(std::filesystem::exists(removed));
    b->Release();
  }
  EXPECT_FALSE(std::filesystem::exists(removed));
  EXPECT_TRUE(std::filesystem::exists(kept));
  EXPECT_FALSE(TemporaryFile::Create(prefix + "missing/").has_value());
}

void SetModificationTime(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST(TemporaryFileTest, RemovesOnlyStaleUnlockedTemporaryFiles) {
  TempFolder folder;
  const std::string prefix = folder.Path().string() + "/";
  const std::time_t now = std::time(nullptr);
  const std::string stale = prefix + ".clipstamp-Stale1.tmp";
  const std::string fresh = prefix + ".clipstamp-Fresh1.tmp";
  const std::string other = prefix + ".clipstamp-other.tmp.bak";
  WriteFileText(stale, "left by a killed run");
  WriteFileText(fresh, "another run just began");
  WriteFileText(other, "not ours");
  std::filesystem::create_directory(prefix + ".clipstamp-Folder.tmp");
  SetModificationTime(stale, now - 100);
  SetModificationTime(other, now - 100);
  SetModificationTime(prefix + ".clipstamp-Folder.tmp", now - 100);
  std::optional<TemporaryFile> live = TemporaryFile::Create(prefix);
  ASSERT_TRUE(live.has_value());
  SetModificationTime(live->Path(), now - 100);

  RemoveStaleTemporaryFiles(prefix, now);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(std::filesystem::exists(prefix + ".clipstamp-Folder.tmp"));
  EXPECT_TRUE(std::filesystem::exists(live->Path())) << "a live writer holds its lock";
}

}  // namespace
