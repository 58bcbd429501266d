#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/clip_header.h"
#include "engine/subtitle_sink.h"

namespace {

TEST(ClipHeaderTest, DecodesBigEndianFieldsFromEighteenBytes) {
  std::vector<std::uint8_t> bytes = {'V',  '6',  0xAA, 0xBB, 0xCC, 0xDD, 0x07, 0xD7, 0x0B,
                                     0x0C, 0x0D, 0x2D, 0x1C, 0x52, 0x12, 0x34, 0x56, 0x78};
  const std::optional<ClipHeader> h = DecodeClipHeader(bytes);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(std::vector<unsigned>(
                {h->year, h->month, h->day, h->hour, h->minute, h->milliseconds, h->durationMs}),
            std::vector<unsigned>({2007, 11, 12, 13, 45, 7250, 0x12345678}));
  bytes.pop_back();
  EXPECT_FALSE(DecodeClipHeader(bytes).has_value());
}

// Frame numbers are printed as signed 32-bit decimals, so a wrapped count shows as negative.
TEST(SubtitleLineTest, PrintsFramesSignedAndStoresLineFeedsAsCrLf) {
  std::string out;
  AppendSubtitleLine(out, 0x80000000u, 0xFFFFFFFFu, "a\nb");
  AppendSubtitleLine(out, 2147483647u, 0, "");
  EXPECT_EQ(out, "{-2147483648}{-1} a\r\nb\r\n{2147483647}{0} \r\n");
}

}  // namespace
