#include "engine/subtitle_sink.h"

#include <charconv>
#include <cstring>

namespace {

// "{-2147483648}" twice, the space, a caption of up to 254 bytes and CR LF.
constexpr std::size_t kFrameBytes = 13;
constexpr std::size_t kShortCaption = 254;
constexpr std::size_t kLineBytes = 2 * kFrameBytes + 1 + kShortCaption + 2;

char* PutFrame(char* out, std::uint32_t frame) {
  *out++ = '{';
  out = std::to_chars(out, out + kFrameBytes, static_cast<std::int32_t>(frame)).ptr;
  *out++ = '}';
  return out;
}

void AppendWithCrLf(std::string& out, std::string_view caption) {
  for (std::size_t lineFeed; (lineFeed = caption.find('\n')) != std::string_view::npos;) {
    out.append(caption.substr(0, lineFeed));
    out.append("\r\n");
    caption.remove_prefix(lineFeed + 1);
  }
  out.append(caption);
  out.append("\r\n");
}

}  // namespace

void AppendSubtitleLine(std::string& out, std::uint32_t startFrame, std::uint32_t endFrame,
                        std::string_view caption) {
  char line[kLineBytes];
  char* end = PutFrame(PutFrame(line, startFrame), endFrame);
  *end++ = ' ';
  if (caption.size() > kShortCaption || caption.find('\n') != std::string_view::npos) {
    out.append(line, static_cast<std::size_t>(end - line));
    AppendWithCrLf(out, caption);
    return;
  }
  // The usual line goes in with one append.
  if (!caption.empty()) std::memcpy(end, caption.data(), caption.size());
  end += caption.size();
  *end++ = '\r';
  *end++ = '\n';
  out.append(line, static_cast<std::size_t>(end - line));
}
