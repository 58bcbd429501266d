#include "engine/file_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

namespace {

TEST(FilePathsTest, JoinsAndSplitsWithSlash) {
  EXPECT_EQ(JoinPath("/v", "a.MOI"), "/v/a.MOI");
  EXPECT_EQ(JoinPath("", "a.MOI"), "/a.MOI") << "an empty folder is the root";
  struct Case {
    const char* path;
    const char* parent;
  };
  const Case cases[] = {{"/v/a.SUB", "/v/"}, {"a.SUB", ""}, {"/a.SUB", "/"}, {"v//a", "v//"}};
  for (const Case& c : cases) EXPECT_EQ(ParentFolder(c.path), c.parent) << c.path;
}

TEST(FilePathsTest, ResolvesSymbolicLinkChains) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "d");
  WriteFileText(folder / "d/file", "x");
  std::filesystem::create_symlink("file", folder / "d/relative");
  std::filesystem::create_symlink("d/relative", folder / "chain");
  std::filesystem::create_symlink(folder / "d/file", folder / "absolute");
  std::filesystem::create_symlink("nowhere", folder / "dangling");
  std::filesystem::create_symlink("loop2", folder / "loop1");
  std::filesystem::create_symlink("loop1", folder / "loop2");
  EXPECT_EQ(ResolveSymlinks(folder / "d/file"), folder / "d/file");
  EXPECT_EQ(ResolveSymlinks(folder / "chain"), folder / "d/file");
  EXPECT_EQ(ResolveSymlinks(folder / "absolute"), folder / "d/file");
  EXPECT_EQ(ResolveSymlinks(folder / "dangling"), folder / "nowhere");
  EXPECT_EQ(ResolveSymlinks(folder / "missing"), folder / "missing");
  EXPECT_EQ(ResolveSymlinks(folder / "loop1"), "");
}

TEST(FilePathsTest, SameFileMeansTheSameFileOnDisk) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "v");
  WriteFileText(folder / "v/b.SUB", "x");
  std::filesystem::create_symlink("v/b.SUB", folder / "link");
  struct Case {
    std::string a;
    std::string b;
    bool same;
  };
  const Case cases[] = {
      {folder / "v/b.SUB", folder / "v/../v/b.SUB", true},
      {folder / "v/b.SUB", folder / "link", true},
      {folder / "v/new.SUB", folder / "v/./new.SUB", true},
      {folder / "v/new.SUB", folder / "v/b.SUB", false},
      {folder / "v/new.SUB", folder / "v/other.SUB", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SameFile(c.a, c.b), c.same) << c.a << " vs " << c.b;
}

}  // namespace
