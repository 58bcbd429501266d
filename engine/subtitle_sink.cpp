#include "engine/subtitle_sink.h"

#include <charconv>

namespace {

void AppendFrame(std::string& out, std::uint32_t frame) {
  char digits[16];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, static_cast<std::int32_t>(frame));
  out.push_back('{');
  out.append(digits, result.ptr);
  out.push_back('}');
}

}  // namespace

void AppendSubtitleLine(std::string& out, std::uint32_t startFrame, std::uint32_t endFrame,
                        std::string_view caption) {
  AppendFrame(out, startFrame);
  AppendFrame(out, endFrame);
  out.push_back(' ');
  for (std::size_t lineFeed; (lineFeed = caption.find('\n')) != std::string_view::npos;) {
    out.append(caption.substr(0, lineFeed));
    out.append("\r\n");
    caption.remove_prefix(lineFeed + 1);
  }
  out.append(caption);
  out.append("\r\n");
}
