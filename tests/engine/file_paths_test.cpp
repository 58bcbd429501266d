#include "engine/file_paths.h"

#include <gtest/gtest.h>

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

}  // namespace
