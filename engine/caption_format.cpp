#include "engine/caption_format.h"

#include <cstring>

namespace {

// strftime() writes into a 256-byte buffer with a limit of 255 bytes, terminator included.
constexpr std::size_t kCaptionLimit = 255;
constexpr std::size_t kPieceLimit = kCaptionLimit + 1;
constexpr char kMarker = '.';

// Conversions whose expansion does not depend on the seconds: "%c", "%r", "%s", "%S", "%T" and
// "%X" do, and anything not listed is treated as if it did.
constexpr std::string_view kMinuteConversions = "aAbBCdDeFgGhHIjklmMnpPRtuUVwWxyYzZ%";
constexpr std::string_view kFlags = "_-0^#";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Cuts the format at every plain "%S", parsing each conversion as strftime() does: flags, a
// width, one modifier, the conversion character. Returns no pieces when some other conversion
// may depend on the seconds.
std::vector<std::string> CutAtSeconds(const char* format) {
  std::vector<std::string> pieces(1, std::string(1, kMarker));
  for (const char* p = format; *p != '\0';) {
    if (*p != '%') {
      pieces.back().push_back(*p++);
      continue;
    }
    const char* conversion = p + 1;
    while (*conversion != '\0' && kFlags.find(*conversion) != std::string_view::npos) ++conversion;
    while (IsDigit(*conversion)) ++conversion;
    if (*conversion == 'E' || *conversion == 'O') ++conversion;
    if (conversion == p + 1 && *conversion == 'S') {
      pieces.emplace_back(1, kMarker);
    } else if (*conversion != '\0' &&
               kMinuteConversions.find(*conversion) != std::string_view::npos) {
      pieces.back().append(p, conversion + 1);
    } else {
      return {};
    }
    p = conversion + 1;
  }
  return pieces;
}

}  // namespace

CaptionFormat::CaptionFormat(const std::string& timeFormat) : m_format(timeFormat) {
  if (m_locale.IsClassic()) m_pieces = CutAtSeconds(m_format.c_str());
}

std::string_view CaptionFormat::Format(const std::tm& time) {
  // Only seconds of 0-99 are two digits.
  if (m_pieces.empty() || time.tm_sec < 0 || time.tm_sec > 99) return FormatWhole(time);
  if (!m_haveMinute || !SameButSeconds(time, m_minute)) FormatMinute(time);
  if (m_minuteTooLong) return {};
  for (const std::size_t at : m_secondsAt) {
    m_caption[at] = static_cast<char>('0' + time.tm_sec / 10);
    m_caption[at + 1] = static_cast<char>('0' + time.tm_sec % 10);
  }
  return std::string_view(m_caption, m_length);
}

std::string_view CaptionFormat::FormatWhole(const std::tm& time) {
  m_haveMinute = false;
  return std::string_view(m_caption,
                          m_locale.FormatTime(m_caption, kCaptionLimit, m_format.c_str(), time));
}

void CaptionFormat::FormatMinute(const std::tm& time) {
  m_haveMinute = true;
  m_minute = time;
  m_minuteTooLong = true;
  m_secondsAt.clear();
  m_length = 0;
  char piece[kPieceLimit];
  for (std::size_t i = 0; i < m_pieces.size(); ++i) {
    const std::size_t length = m_locale.FormatTime(piece, kPieceLimit, m_pieces[i].c_str(), time);
    if (length == 0) return;
    const std::size_t text = length - 1;
    const std::size_t seconds = i + 1 < m_pieces.size() ? 2 : 0;
    if (m_length + text + seconds >= kCaptionLimit) return;
    std::memcpy(m_caption + m_length, piece + 1, text);
    m_length += text;
    if (seconds != 0) m_secondsAt.push_back(m_length);
    m_length += seconds;
  }
  m_minuteTooLong = false;
}
