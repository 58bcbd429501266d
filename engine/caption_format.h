#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "engine/local_time.h"

// Formats captions with one strftime() format in the classic "C" locale. A caption is empty when
// its expansion needs 255 bytes or more; 254 still fit. When no conversion but a plain "%S" shows
// the seconds, the rest of the caption is formatted once per minute and only the digits change.
class CaptionFormat {
 public:
  explicit CaptionFormat(const std::string& timeFormat);
  CaptionFormat(const CaptionFormat&) = delete;
  CaptionFormat& operator=(const CaptionFormat&) = delete;

  // The caption of `time`, valid until the next call.
  std::string_view Format(const std::tm& time);

 private:
  std::string_view FormatWhole(const std::tm& time);
  void FormatMinute(const std::tm& time);

  ClassicLocale m_locale;
  std::string m_format;
  // The format cut at every plain "%S", each piece after a one-byte marker that keeps an empty
  // expansion apart from one that does not fit. Empty when the format is formatted whole.
  std::vector<std::string> m_pieces;
  bool m_haveMinute = false;
  std::tm m_minute{};  // the time the minute's caption was made for
  bool m_minuteTooLong = false;
  std::vector<std::size_t> m_secondsAt;  // where the two digits of each "%S" go
  std::size_t m_length = 0;
  char m_caption[256];
};
