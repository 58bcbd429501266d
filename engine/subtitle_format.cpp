#include "engine/subtitle_format.h"

#include <charconv>

#include "engine/subtitle_sink.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsLineBreak(char c) { return c == '|' || c == '\n' || c == '\r'; }

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Appends `value` with at least `digits` digits.
void AppendNumber(std::string& out, std::uint64_t value, int digits) {
  char text[24];
  const char* end = std::to_chars(text, text + sizeof text, value).ptr;
  const std::string_view number(text, static_cast<std::size_t>(end - text));
  for (auto length = number.size(); length < static_cast<std::size_t>(digits); ++length) {
    out.push_back('0');
  }
  out.append(number);
}

void AppendEscaped(std::string& out, std::string_view line) {
  for (const char c : line) {
    if (c == '&') {
      out.append("&amp;");
    } else if (c == '<') {
      out.append("&lt;");
    } else if (c == '>') {
      out.append("&gt;");
    } else {
      out.push_back(c);
    }
  }
}

// The time a frame stands for in sixtieths of a millisecond, which both systems give exactly:
// 40 ms a frame for PAL, 1001/30 ms for NTSC.
std::uint64_t FrameSixtieths(std::uint32_t frame, VideoSystem system) {
  return std::uint64_t{frame} * (system == kPal ? 2400 : 2002);
}

}  // namespace

std::string_view SubtitleExtension(SubtitleFormat format) {
  switch (format) {
    case SubtitleFormat::kSubRip:
      return ".srt";
    case SubtitleFormat::kWebVtt:
      return ".vtt";
    case SubtitleFormat::kMicroDvd:
      break;
  }
  return ".SUB";
}

std::uint64_t FrameMilliseconds(std::uint32_t frame, VideoSystem system) {
  return (FrameSixtieths(frame, system) + 30) / 60;
}

SubtitleEncoder::SubtitleEncoder(SubtitleFormat format, VideoSystem system)
    : m_format(format), m_system(system) {}

std::string_view SubtitleEncoder::Header() const {
  return m_format == SubtitleFormat::kWebVtt ? "WEBVTT\r\n\r\n" : "";
}

void SubtitleEncoder::Append(std::string& out, std::uint32_t startFrame, std::uint32_t endFrame,
                             std::string_view caption) {
  if (m_format == SubtitleFormat::kMicroDvd) {
    AppendSubtitleLine(out, startFrame, endFrame, caption);
    return;
  }
  const char separator = m_format == SubtitleFormat::kSubRip ? ',' : '.';
  if (m_format == SubtitleFormat::kSubRip) {
    AppendNumber(out, ++m_cues, 1);
    out.append(kLineEnd);
  }
  std::uint64_t start = FrameMilliseconds(startFrame, m_system);
  std::uint64_t end = FrameMilliseconds(endFrame, m_system);
  // A WebVTT cue must end after it starts (browsers drop one that does not): a caption of no
  // length there is the millisecond its frame falls in.
  if (m_format == SubtitleFormat::kWebVtt && end <= start) {
    start = FrameSixtieths(startFrame, m_system) / 60;
    end = start + 1;
  }
  AppendTime(out, start, separator);
  out.append(" --> ");
  AppendTime(out, end, separator);
  out.append(kLineEnd);
  AppendCueText(out, caption);
  out.append(kLineEnd);
}

void SubtitleEncoder::AppendTime(std::string& out, std::uint64_t ms, char decimalSeparator) {
  AppendNumber(out, ms / 3'600'000, 2);
  out.push_back(':');
  AppendNumber(out, ms / 60'000 % 60, 2);
  out.push_back(':');
  AppendNumber(out, ms / 1000 % 60, 2);
  out.push_back(decimalSeparator);
  AppendNumber(out, ms % 1000, 3);
}

void SubtitleEncoder::AppendCueText(std::string& out, std::string_view caption) const {
  for (std::size_t begin = 0; begin <= caption.size();) {
    std::size_t end = begin;
    while (end < caption.size() && !IsLineBreak(caption[end])) ++end;
    std::string_view line = caption.substr(begin, end - begin);
    // The spaces on either side of a "|" go with it.
    if (begin > 0 && caption[begin - 1] == '|') {
      while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    }
    if (end < caption.size() && caption[end] == '|') {
      while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    }
    begin = end + 1;
    if (IsBlank(line)) continue;
    if (m_format == SubtitleFormat::kWebVtt) {
      AppendEscaped(out, line);
    } else {
      out.append(line);
    }
    out.append(kLineEnd);
  }
}
