#include "engine/subtitle_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/temporary_file.h"
#include "tests/support/test_support.h"

namespace {

class SubtitleFileTest : public ::testing::Test {
 protected:
  // Names in the folder other than the given ones: leftovers such as temporary files.
  std::vector<std::string> Extra(const std::vector<std::string>& expected) const {
    std::vector<std::string> extra;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
      const std::string name = entry.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        extra.push_back(name);
      }
    }
    return extra;
  }

  mode_t Mode(const std::string& path) const {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
  }

  TempFolder m_folder;
};

TEST_F(SubtitleFileTest, ReplacesTheOldFileOnlyOnCommit) {
  const std::string path = m_folder / "a.SUB";
  WriteFileText(path, "old");
  std::optional<SubtitleFile> file = SubtitleFile::Create(path);
  ASSERT_TRUE(file.has_value());
  for (std::uint32_t i = 0; i < 20000; ++i) file->WriteLine(i, i + 1, "caption");
  EXPECT_EQ(ReadFileText(path), "old") << "unchanged while being written";
  EXPECT_EQ(Extra({"a.SUB"}).size(), 1u) << "one temporary file beside it";
  EXPECT_TRUE(file->Commit());
  const std::optional<std::string> text = ReadFileText(path);
  ASSERT_TRUE(text.has_value());
  EXPECT_TRUE(text->starts_with("{0}{1} caption\r\n{1}{2} caption\r\n"));
  EXPECT_TRUE(text->ends_with("{19999}{20000} caption\r\n"));
  EXPECT_EQ(Extra({"a.SUB"}), std::vector<std::string>{});
  EXPECT_FALSE(file->Commit()) << "a second commit has nothing to commit";
}

TEST_F(SubtitleFileTest, AbandonedFileLeavesTheOldOneAndNoTemporaryFile) {
  const std::string path = m_folder / "a.SUB";
  WriteFileText(path, "old");
  {
    std::optional<SubtitleFile> file = SubtitleFile::Create(path);
    ASSERT_TRUE(file.has_value());
    file->WriteLine(0, 1, "new");
    std::optional<SubtitleFile> moved = std::move(file);
  }
  EXPECT_EQ(ReadFileText(path), "old");
  EXPECT_EQ(Extra({"a.SUB"}), std::vector<std::string>{});
}

TEST_F(SubtitleFileTest, KeepsPermissionBitsOrUsesTheUmask) {
  const mode_t previous = ::umask(027);
  const std::string kept = m_folder / "kept.SUB";
  WriteFileText(kept, "old");
  ::chmod(kept.c_str(), 0604);
  std::optional<SubtitleFile> file = SubtitleFile::Create(kept);
  ASSERT_TRUE(file.has_value());
  EXPECT_TRUE(file->Commit());
  std::optional<SubtitleFile> fresh = SubtitleFile::Create(m_folder / "new.SUB");
  ASSERT_TRUE(fresh.has_value());
  EXPECT_TRUE(fresh->Commit());
  ::umask(previous);
  EXPECT_EQ(Mode(kept), 0604u);
  EXPECT_EQ(Mode(m_folder / "new.SUB"), 0640u);
}

TEST_F(SubtitleFileTest, WritesThroughSymbolicLinks) {
  std::filesystem::create_directory(m_folder / "real");
  WriteFileText(m_folder / "real/target.SUB", "old");
  std::filesystem::create_symlink("real/target.SUB", m_folder / "link.SUB");
  std::filesystem::create_symlink(m_folder / "real/created.SUB", m_folder / "dangling.SUB");
  for (const char* name : {"link.SUB", "dangling.SUB"}) {
    std::optional<SubtitleFile> file = SubtitleFile::Create(m_folder / name);
    ASSERT_TRUE(file.has_value()) << name;
    file->WriteLine(1, 2, name);
    EXPECT_TRUE(file->Commit()) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(m_folder / name)) << name;
  }
  EXPECT_EQ(ReadFileText(m_folder / "real/target.SUB"), "{1}{2} link.SUB\r\n");
  EXPECT_EQ(ReadFileText(m_folder / "real/created.SUB"), "{1}{2} dangling.SUB\r\n");
}

TEST_F(SubtitleFileTest, RefusesWhatCannotBeReplaced) {
  std::filesystem::create_directory(m_folder / "folder.SUB");
  std::filesystem::create_symlink("loop.SUB", m_folder / "loop.SUB");
  ASSERT_EQ(::mkfifo((m_folder / "fifo.SUB").c_str(), 0644), 0);
  for (const char* name : {"folder.SUB", "loop.SUB", "fifo.SUB", "missing/a.SUB"}) {
    EXPECT_FALSE(SubtitleFile::Create(m_folder / name).has_value()) << name;
  }
  EXPECT_EQ(Extra({"folder.SUB", "loop.SUB", "fifo.SUB"}), std::vector<std::string>{});
}

TEST_F(SubtitleFileTest, WritesDevicesAndFifosDirectly) {
  const std::string fifo = m_folder / "fifo.SUB";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::optional<SubtitleFile> file = SubtitleFile::Create(fifo);
  ASSERT_TRUE(file.has_value());
  file->WriteLine(3, 4, "piped");
  EXPECT_TRUE(file->Commit());
  char buffer[64] = {};
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(::read(reader, buffer, sizeof buffer))),
            "{3}{4} piped\r\n");
  ::close(reader);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));

  if (!std::filesystem::exists("/dev/full")) return;
  std::optional<SubtitleFile> full = SubtitleFile::Create("/dev/full");
  ASSERT_TRUE(full.has_value());
  full->WriteLine(0, 1, "x");
  EXPECT_FALSE(full->Commit());
}

}  // namespace
