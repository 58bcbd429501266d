#include "engine/clip_header.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <vector>

#include "tests/support/test_support.h"

namespace {

std::vector<std::uint8_t> FileStart(std::array<std::uint8_t, 12> header) {
  std::vector<std::uint8_t> bytes = {'V', '6', 0xAA, 0xBB, 0xCC, 0xDD};
  for (const std::uint8_t byte : header) bytes.push_back(byte);
  return bytes;
}

TEST(ClipHeaderTest, DecodesBigEndianFields) {
  struct Case {
    const char* name;
    std::array<std::uint8_t, 12> bytes;
    ClipHeader expected;
  };
  const Case cases[] = {
      {"worked example",
       {0x07, 0xD7, 0x0B, 0x0C, 0x0D, 0x2D, 0x1C, 0x52, 0x00, 0x00, 0x0D, 0xAC},
       {2007, 11, 12, 13, 45, 7250, 3500}},
      {"forty seconds",
       {0x07, 0xD7, 0x0B, 0x0C, 0x0D, 0x2D, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x40},
       {2007, 11, 12, 13, 45, 0, 40000}},
      {"every byte significant",
       {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x11, 0x22, 0x33, 0x44},
       {0x1234, 0x56, 0x78, 0x9A, 0xBC, 0xDEF0, 0x11223344}},
      {"largest values, unchecked",
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
       {65535, 255, 255, 255, 255, 65535, 0xFFFFFFFF}},
  };
  for (const Case& c : cases) {
    const std::optional<ClipHeader> header = DecodeClipHeader(FileStart(c.bytes));
    ASSERT_TRUE(header.has_value()) << c.name;
    EXPECT_EQ(header->year, c.expected.year) << c.name;
    EXPECT_EQ(header->month, c.expected.month) << c.name;
    EXPECT_EQ(header->day, c.expected.day) << c.name;
    EXPECT_EQ(header->hour, c.expected.hour) << c.name;
    EXPECT_EQ(header->minute, c.expected.minute) << c.name;
    EXPECT_EQ(header->milliseconds, c.expected.milliseconds) << c.name;
    EXPECT_EQ(header->durationMs, c.expected.durationMs) << c.name;
  }
}

TEST(ClipHeaderTest, NeedsEighteenBytes) {
  std::vector<std::uint8_t> bytes = FileStart({0x07, 0xD7, 1, 2, 3, 4, 0, 0, 0, 0, 0, 1});
  EXPECT_TRUE(DecodeClipHeader(bytes).has_value());
  bytes.pop_back();
  EXPECT_FALSE(DecodeClipHeader(bytes).has_value());
  EXPECT_FALSE(DecodeClipHeader({}).has_value());
}

TEST(ClipHeaderTest, ReadsOnlyRegularFilesOfEighteenBytesOrMore) {
  TempFolder folder;
  const ClipSpec clip{.year = 2010, .month = 6, .day = 5, .milliseconds = 1234, .durationMs = 99};
  WriteClipFile(folder / "clip.MOI", clip);
  std::vector<std::uint8_t> exact = EncodeClipFile(clip);
  exact.resize(18);
  WriteFileBytes(folder / "exact.MOI", exact);
  exact.pop_back();
  WriteFileBytes(folder / "short.MOI", exact);
  WriteFileBytes(folder / "empty.MOI", {});
  std::filesystem::create_directory(folder / "folder.MOI");
  std::filesystem::create_symlink("clip.MOI", folder / "link.MOI");
  std::filesystem::create_symlink("missing.MOI", folder / "dangling.MOI");
  std::filesystem::create_symlink("loop.MOI", folder / "loop.MOI");
  ASSERT_EQ(::mkfifo((folder / "fifo.MOI").c_str(), 0644), 0);

  struct Case {
    const char* name;
    bool readable;
  };
  const Case cases[] = {
      {"clip.MOI", true},   {"exact.MOI", true},   {"link.MOI", true},      {"short.MOI", false},
      {"empty.MOI", false}, {"folder.MOI", false}, {"dangling.MOI", false}, {"loop.MOI", false},
      {"fifo.MOI", false},  {"absent.MOI", false},
  };
  for (const Case& c : cases) {
    std::error_code error;
    const std::optional<ClipHeader> header = ReadClipHeader(folder / c.name, error);
    EXPECT_EQ(header.has_value(), c.readable) << c.name;
    EXPECT_FALSE(error) << c.name << ": no clip is no read error";
    if (header) {
      EXPECT_EQ(header->year, 2010) << c.name;
      EXPECT_EQ(header->milliseconds, 1234) << c.name;
      EXPECT_EQ(header->durationMs, 99u) << c.name;
    }
  }
}

}  // namespace
