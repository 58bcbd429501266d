#include "engine/clip_subtitles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

struct Line {
  std::int32_t start;
  std::int32_t end;
  std::string caption;
  bool operator==(const Line&) const = default;
};

void PrintTo(const Line& line, std::ostream* out) {
  *out << "{" << line.start << "}{" << line.end << "} " << line.caption;
}

class RecordingSink final : public SubtitleSink {
 public:
  void WriteLine(std::uint32_t start, std::uint32_t end, std::string_view caption) override {
    lines.push_back(
        {static_cast<std::int32_t>(start), static_cast<std::int32_t>(end), std::string(caption)});
  }
  std::vector<Line> lines;
};

ClipHeader Header(int milliseconds, std::uint32_t durationMs) {
  return ClipHeader{2007, 11, 12, 13, 45, static_cast<std::uint16_t>(milliseconds), durationMs};
}

struct Written {
  std::uint32_t next;
  std::vector<Line> perClip;
  std::vector<Line> combined;
};

Written Write(const ClipHeader& header, VideoSystem system, std::uint32_t offset,
              const char* format = "%H:%M:%S", std::int32_t minutes = 0) {
  RecordingSink perClip;
  RecordingSink combined;
  const std::uint32_t next =
      WriteCaptionLines(header, format, system, offset, minutes, &perClip, &combined);
  return {next, perClip.lines, combined.lines};
}

class ClipSubtitlesTest : public ::testing::Test {
 protected:
  ScopedTimeZone m_zone{"UTC0"};
};

TEST_F(ClipSubtitlesTest, PalWorkedExample) {
  const Written w = Write(Header(7250, 3500), kPal, 100, "%Y-%m-%d | %H:%M:%S");
  EXPECT_EQ(w.next, 188u);
  EXPECT_EQ(w.perClip, (std::vector<Line>{{0, 19, "2007-11-12 | 13:45:07"},
                                          {19, 44, "2007-11-12 | 13:45:08"},
                                          {44, 69, "2007-11-12 | 13:45:09"},
                                          {69, 88, "2007-11-12 | 13:45:10"}}));
  EXPECT_EQ(w.combined, (std::vector<Line>{{100, 119, "2007-11-12 | 13:45:07"},
                                           {119, 144, "2007-11-12 | 13:45:08"},
                                           {144, 169, "2007-11-12 | 13:45:09"},
                                           {169, 188, "2007-11-12 | 13:45:10"}}));
}

TEST_F(ClipSubtitlesTest, NtscWorkedExampleDropsOneFrameInTheCombinedFileOnly) {
  const Written w = Write(Header(0, 40000), kNtsc, 0);
  EXPECT_EQ(w.next, 1199u);
  ASSERT_EQ(w.perClip.size(), 40u);
  ASSERT_EQ(w.combined.size(), 40u);
  for (int second = 0; second <= 32; ++second) {
    const std::string caption =
        "13:45:" + std::string(second < 10 ? "0" : "") + std::to_string(second);
    const Line expected{30 * second, 30 * second + 30, caption};
    EXPECT_EQ(w.perClip[second], expected) << second;
    EXPECT_EQ(w.combined[second], expected) << second;
  }
  EXPECT_EQ(w.perClip[33], (Line{990, 1020, "13:45:33"}));
  EXPECT_EQ(w.combined[33], (Line{990, 1019, "13:45:33"}));
  for (int second = 34; second < 40; ++second) {
    const Line expected{1019 + 30 * (second - 34), 1049 + 30 * (second - 34),
                        "13:45:" + std::to_string(second)};
    EXPECT_EQ(w.perClip[second], expected) << second;
    EXPECT_EQ(w.combined[second], expected) << second;
  }
  EXPECT_EQ(w.perClip.back(), (Line{1169, 1199, "13:45:39"}));
}

TEST_F(ClipSubtitlesTest, NtscDropDependsOnTheFrameWithinTheClip) {
  // Offset 500 puts the clip's frame 990 at 1490 and its frame 480 at 980: only the former drops.
  const Written w = Write(Header(0, 40000), kNtsc, 500);
  EXPECT_EQ(w.next, 1699u);
  EXPECT_EQ(w.combined[16], (Line{980, 1010, "13:45:16"}));
  EXPECT_EQ(w.combined[33], (Line{1490, 1519, "13:45:33"}));
  EXPECT_EQ(w.combined[34], (Line{1519, 1549, "13:45:34"}));
  EXPECT_EQ(w.perClip, Write(Header(0, 40000), kNtsc, 0).perClip);
}

TEST_F(ClipSubtitlesTest, NtscDropsOnlyWhereTheRemainderIsAbove970) {
  struct Case {
    const char* name;
    int milliseconds;  // chosen for the first frame count, so the steps start at first + 30k
    std::int32_t start;
    std::int32_t combinedEnd;
  };
  const Case cases[] = {
      {"remainder 970 keeps the frame", 683, 970, 1000},
      {"remainder 971 drops it", 649, 971, 1000},
      {"remainder 999 drops it", 716, 999, 1028},
      {"the next thousand drops again", 0, 1979, 2008},
  };
  for (const Case& c : cases) {
    const Written w = Write(Header(c.milliseconds, 80000), kNtsc, 0);
    bool found = false;
    for (std::size_t i = 0; i + 1 < w.combined.size(); ++i) {
      if (w.combined[i].start != c.start) continue;
      found = true;
      EXPECT_EQ(w.combined[i].end, c.combinedEnd) << c.name;
      EXPECT_EQ(w.perClip[i].end, c.start + 30) << c.name;
      EXPECT_EQ(w.combined[i + 1].start, c.combinedEnd) << c.name;
      EXPECT_EQ(w.perClip[i + 1].start, c.combinedEnd) << c.name;
    }
    EXPECT_TRUE(found) << c.name;
  }
}

TEST_F(ClipSubtitlesTest, NtscFinalStepNeverDrops) {
  // 33530 ms are 1005 frames; the final step starts at frame 990.
  const Written w = Write(Header(0, 33530), kNtsc, 0);
  EXPECT_EQ(w.next, 1005u);
  ASSERT_EQ(w.perClip.size(), 34u);
  EXPECT_EQ(w.perClip.back(), (Line{990, 1005, "13:45:33"}));
  EXPECT_EQ(w.combined.back(), (Line{990, 1005, "13:45:33"}));
  EXPECT_EQ(w.combined[32], (Line{960, 990, "13:45:32"}));
}

TEST_F(ClipSubtitlesTest, FirstAndSingleLineEdges) {
  struct Case {
    const char* name;
    ClipHeader header;
    VideoSystem system;
    std::uint32_t offset;
    std::vector<Line> perClip;
    std::uint32_t next;
  };
  const Case cases[] = {
      {"first frames 0 gives an empty first line",
       Header(7990, 3000),
       kPal,
       0,
       {{0, 0, "13:45:07"}, {0, 25, "13:45:08"}, {25, 50, "13:45:09"}, {50, 75, "13:45:10"}},
       75},
      {"first frames equal total", Header(7250, 760), kPal, 10, {{0, 19, "13:45:07"}}, 29},
      {"first frames above total", Header(7250, 500), kPal, 10, {{0, 13, "13:45:07"}}, 23},
      {"no frames at all", Header(7250, 19), kPal, 10, {{0, 0, "13:45:07"}}, 10},
      {"half a frame rounds up", Header(7250, 20), kPal, 0, {{0, 1, "13:45:07"}}, 1},
      {"just over one second",
       Header(250, 1500),
       kPal,
       0,
       {{0, 19, "13:45:00"}, {19, 38, "13:45:01"}},
       38},
      {"wrapped duration is no frames", Header(0, 171798672), kPal, 5, {{0, 0, "13:45:00"}}, 5},
      {"last step shorter than a second",
       Header(0, 2040),
       kPal,
       0,
       {{0, 25, "13:45:00"}, {25, 50, "13:45:01"}, {50, 51, "13:45:02"}},
       51},
  };
  for (const Case& c : cases) {
    const Written w = Write(c.header, c.system, c.offset);
    EXPECT_EQ(w.perClip, c.perClip) << c.name;
    EXPECT_EQ(w.next, c.next) << c.name;
    ASSERT_EQ(w.combined.size(), c.perClip.size()) << c.name;
    for (std::size_t i = 0; i < c.perClip.size(); ++i) {
      const Line shifted{c.perClip[i].start + static_cast<std::int32_t>(c.offset),
                         c.perClip[i].end + static_cast<std::int32_t>(c.offset),
                         c.perClip[i].caption};
      EXPECT_EQ(w.combined[i], shifted) << c.name << " line " << i;
    }
  }
}

TEST_F(ClipSubtitlesTest, FramesWrapAndPrintAsSigned) {
  const Written w = Write(Header(7250, 3500), kPal, 0xFFFFFFF0u);
  EXPECT_EQ(w.next, 88u - 16u);
  EXPECT_EQ(w.combined.front(), (Line{-16, 3, "13:45:07"}));
  EXPECT_EQ(w.combined.back(), (Line{53, 72, "13:45:10"}));
  const Written big = Write(Header(7250, 3500), kPal, 0x7FFFFFF0u);
  EXPECT_EQ(big.combined.back(), (Line{static_cast<std::int32_t>(0x7FFFFFF0u + 69u),
                                       static_cast<std::int32_t>(0x7FFFFFF0u + 88u), "13:45:10"}));
  EXPECT_EQ(big.combined.back().end, -2147483576);
}

TEST_F(ClipSubtitlesTest, PerClipLinesDoNotDependOnTheCombinedSink) {
  RecordingSink alone;
  const std::uint32_t next =
      WriteCaptionLines(Header(123, 77777), "%c", kNtsc, 42, -90, &alone, nullptr);
  const Written both = Write(Header(123, 77777), kNtsc, 42, "%c", -90);
  EXPECT_EQ(alone.lines, both.perClip);
  EXPECT_EQ(next, both.next);
  EXPECT_EQ(alone.lines.front().caption, "Mon Nov 12 12:15:00 2007");
}

TEST(SubtitleLineTest, StoresCrLfLineEnds) {
  struct Case {
    const char* name;
    std::uint32_t start;
    std::uint32_t end;
    std::string caption;
    std::string expected;
  };
  const Case cases[] = {
      {"plain", 0, 19, "2007-11-12 | 13:45:07", "{0}{19} 2007-11-12 | 13:45:07\r\n"},
      {"empty caption", 5, 5, "", "{5}{5} \r\n"},
      {"line feed", 1, 2, "a\nb\n", "{1}{2} a\r\nb\r\n\r\n"},
      {"carriage return kept", 1, 2, "a\r\nb\rc", "{1}{2} a\r\r\nb\rc\r\n"},
      {"signed frames", 0x80000000u, 0xFFFFFFFFu, "x", "{-2147483648}{-1} x\r\n"},
  };
  for (const Case& c : cases) {
    std::string out = "kept|";
    AppendSubtitleLine(out, c.start, c.end, c.caption);
    EXPECT_EQ(out, "kept|" + c.expected) << c.name;
  }
}

class WriteClipSubtitlesTest : public ::testing::Test {
 protected:
  ScopedTimeZone m_zone{"UTC0"};
  TempFolder m_folder;
};

TEST_F(WriteClipSubtitlesTest, WritesBesideTheClipWithUpperCaseExtension) {
  WriteClipFile(m_folder / "clip2.moi", {.milliseconds = 7250, .durationMs = 3500});
  const ClipResult result =
      WriteClipSubtitles(m_folder / "clip2.moi", "%H:%M:%S", nullptr, kPal, 7, 0);
  EXPECT_EQ(result.outcome, ClipOutcome::kWritten);
  EXPECT_EQ(result.runningFrameOffset, 95u);
  EXPECT_EQ(ReadFileText(m_folder / "clip2.SUB"),
            CrLfLines({"{0}{19} 13:45:07", "{19}{44} 13:45:08", "{44}{69} 13:45:09",
                       "{69}{88} 13:45:10"}));
  EXPECT_EQ(SubtitlePathFor("/v/a.b.MoI"), "/v/a.b.SUB");
}

TEST_F(WriteClipSubtitlesTest, ReplacesAnExistingSubtitleFile) {
  WriteFileText(m_folder / "a.SUB", std::string(10000, 'z'));
  WriteClipFile(m_folder / "a.MOI", {.durationMs = 1000});
  const ClipResult result = WriteClipSubtitles(m_folder / "a.MOI", "x", nullptr, kPal, 0, 0);
  EXPECT_EQ(result.outcome, ClipOutcome::kWritten);
  EXPECT_EQ(ReadFileText(m_folder / "a.SUB"), CrLfLines({"{0}{25} x"}));
}

TEST_F(WriteClipSubtitlesTest, SkipsUnreadableClipsWithoutWriting) {
  WriteFileText(m_folder / "short.MOI", "V6 too short");
  std::filesystem::create_directory(m_folder / "dir.MOI");
  for (const char* name : {"short.MOI", "dir.MOI", "missing.MOI"}) {
    const ClipResult result = WriteClipSubtitles(m_folder / name, "x", nullptr, kPal, 33, 0);
    EXPECT_EQ(result.outcome, ClipOutcome::kSkipped) << name;
    EXPECT_EQ(result.runningFrameOffset, 33u) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(m_folder / "short.SUB"));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "dir.SUB"));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "missing.SUB"));
}

TEST_F(WriteClipSubtitlesTest, FailsButFeedsTheCombinedFileWhenTheSubtitleFileCannotBeCreated) {
  WriteClipFile(m_folder / "a.MOI", {.durationMs = 1000});
  std::filesystem::create_directory(m_folder / "a.SUB");
  std::optional<SubtitleFile> combined = SubtitleFile::Create(m_folder / "all.sub");
  ASSERT_TRUE(combined.has_value());
  const ClipResult result = WriteClipSubtitles(m_folder / "a.MOI", "x", &*combined, kPal, 9, 0);
  EXPECT_EQ(result.outcome, ClipOutcome::kFailed);
  EXPECT_EQ(result.runningFrameOffset, 34u);
  EXPECT_TRUE(combined->Commit());
  EXPECT_EQ(ReadFileText(m_folder / "all.sub"), CrLfLines({"{9}{34} x"}));
}

TEST_F(WriteClipSubtitlesTest, CombinedFileThatIsThePerClipFileIsWrittenOnce) {
  WriteClipFile(m_folder / "a.MOI", {.durationMs = 1000});
  std::optional<SubtitleFile> combined = SubtitleFile::Create(m_folder / "a.SUB");
  ASSERT_TRUE(combined.has_value());
  const ClipResult result = WriteClipSubtitles(m_folder / "a.MOI", "x", &*combined, kPal, 3, 0);
  EXPECT_EQ(result.outcome, ClipOutcome::kWritten);
  EXPECT_EQ(result.runningFrameOffset, 28u);
  EXPECT_TRUE(combined->Commit());
  EXPECT_EQ(ReadFileText(m_folder / "a.SUB"), CrLfLines({"{3}{28} x"}));
}

TEST_F(WriteClipSubtitlesTest, WriteErrorIsReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::optional<SubtitleFile> full = SubtitleFile::Create("/dev/full");
  ASSERT_TRUE(full.has_value());
  full->WriteLine(0, 1, "x");
  EXPECT_FALSE(full->Commit());
}

}  // namespace
