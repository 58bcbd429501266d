#include <gtest/gtest.h>

#include <string>

#include "engine/subtitle_format.h"

namespace {

// Cue times are the frames' times rounded to the millisecond, halves up (NTSC frame 15 is
// 500.5 ms); "|" and line ends break lines, the spaces around "|" and empty lines go. Frame
// numbers of ".SUB" lines are signed 32-bit decimals, so a wrapped count shows as negative.
TEST(SubtitleEncoderTest, WritesCuesInEachFormat) {
  struct Row {
    SubtitleFormat format;
    VideoSystem system;
    std::uint32_t start, end;
    const char* caption;
    const char* expected;
  };
  const Row rows[] = {
      {SubtitleFormat::kSubRip, kNtsc, 15, 107892, "2007-11-12 | 13:45:07",
       "1\r\n00:00:00,501 --> 00:59:59,996\r\n2007-11-12\r\n13:45:07\r\n\r\n"},
      {SubtitleFormat::kSubRip, kPal, 0, 0, "a<b>&c||\n |  d\r\ne ",
       "1\r\n00:00:00,000 --> 00:00:00,000\r\na<b>&c\r\nd\r\ne \r\n\r\n"},
      {SubtitleFormat::kWebVtt, kPal, 90000, 90000, "a<b>&c",
       "WEBVTT\r\n\r\n01:00:00.000 --> 01:00:00.001\r\na&lt;b&gt;&amp;c\r\n\r\n"},
      {SubtitleFormat::kWebVtt, kNtsc, 4294967295u, 4294967295u, "",
       "WEBVTT\r\n\r\n39807:59:02.076 --> 39807:59:02.077\r\n\r\n"},
      {SubtitleFormat::kMicroDvd, kPal, 0x80000000u, 0xFFFFFFFFu, "a\nb",
       "{-2147483648}{-1} a\r\nb\r\n"},
  };
  for (const Row& row : rows) {
    SubtitleEncoder encoder(row.format, row.system);
    std::string out(encoder.Header());
    encoder.Append(out, row.start, row.end, row.caption);
    EXPECT_EQ(out, row.expected) << row.caption;
  }
}

}  // namespace
