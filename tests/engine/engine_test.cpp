#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/clip_header.h"
#include "engine/clip_subtitles.h"

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

// Records the lines of both sinks in the order they arrive.
class OrderSink final : public SubtitleSink {
 public:
  OrderSink(std::vector<char>& log, char tag) : m_log(log), m_tag(tag) {}
  void WriteLine(std::uint32_t, std::uint32_t, std::string_view) override {
    m_log.push_back(m_tag);
  }

 private:
  std::vector<char>& m_log;
  char m_tag;
};

TEST(CaptionLinesTest, WritesEachPerClipLineBeforeItsCombinedLine) {
  std::vector<char> log;
  OrderSink perClip(log, 'p');
  OrderSink combined(log, 'c');
  WriteCaptionLines({.milliseconds = 7250, .durationMs = 3500}, "%S", kPal, 0, 0, &perClip,
                    &combined);
  EXPECT_EQ(std::string(log.begin(), log.end()), "pcpcpcpc");
}

}  // namespace
