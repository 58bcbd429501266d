#include "app/settings/command_line.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr char kQuote = '"';
constexpr std::size_t kNameLength = 2;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](char c) { return LowerAscii(c); });
  return lowered;
}

bool StartsWithOption(std::string_view text, std::string_view option) {
  return text.size() >= option.size() &&
         std::equal(option.begin(), option.end(), text.begin(),
                    [](char o, char t) { return o == LowerAscii(t); });
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The format a long option asks for ("--srt", "--vtt", in any letter case), or nullopt.
std::optional<SubtitleFormat> FormatOption(std::string_view word) {
  if (word.size() != 5 || !StartsWithOption(word, "--")) return std::nullopt;
  if (StartsWithOption(word, "--srt")) return SubtitleFormat::kSubRip;
  if (StartsWithOption(word, "--vtt")) return SubtitleFormat::kWebVtt;
  return std::nullopt;
}

std::size_t SkipWhiteSpace(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
  return pos;
}

// atol() with a 32-bit long: leading white space, optional sign, decimal digits, saturating at
// the 32-bit range.
std::int32_t ReadLongValue(std::string_view text) {
  std::size_t pos = SkipWhiteSpace(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string TrimWhiteSpace(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

// The option vocabulary, read through one way of finding options: `source.Text(name)` gives the
// value text of an option (nullopt when absent or unreadable), `source.NumberText(name)` the text
// its number is read from, `source.Has(name)` whether it occurs.
template <class Source>
ConversionSettings ReadSettings(const Source& source) {
  ConversionSettings settings;
  const auto readText = [&](std::string_view option, std::string& value) {
    if (std::optional<std::string> text = source.Text(option)) value = TrimWhiteSpace(*text);
  };
  readText("-d", settings.folder);
  readText("-f", settings.timeFormat);
  readText("-c", settings.combinedName);
  settings.videoSystem = source.Has("-ntsc") ? kNtsc : kPal;
  settings.format = source.Format();
  if (const std::optional<std::string> number = source.NumberText("-o")) {
    settings.minuteOffset = ReadLongValue(*number);
  }
  return settings;
}

// Options in one string: at word starts outside double quotes, values quoted or up to a space.
class TailOptions {
 public:
  // The appended space ends an unquoted value at the end of the tail. Options are found in the
  // lower-case copy; values are taken from the original at the same positions.
  explicit TailOptions(std::string_view tail)
      : m_line(std::string(tail) + ' '), m_lowered(LowerAscii(m_line)) {}

  bool Has(std::string_view option) const { return Find(option) != std::string_view::npos; }

  std::optional<std::string> Text(std::string_view option) const {
    const std::size_t at = Find(option);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t pos = SkipWhiteSpace(m_line, at + kNameLength);
    if (pos == m_line.size()) return std::nullopt;
    if (m_line[pos] == kQuote) {
      const std::size_t close = m_line.find(kQuote, pos + 1);
      if (close == std::string::npos) return std::nullopt;
      return m_line.substr(pos + 1, close - pos - 1);
    }
    return m_line.substr(pos, m_line.find(' ', pos) - pos);
  }

  std::optional<std::string> NumberText(std::string_view option) const {
    const std::size_t at = Find(option);
    if (at == std::string_view::npos) return std::nullopt;
    return m_line.substr(at + kNameLength);
  }

  // The last of "--srt" and "--vtt" given as a word outside quotes; ".SUB" without either.
  SubtitleFormat Format() const {
    SubtitleFormat format = SubtitleFormat::kMicroDvd;
    bool quoted = false;
    for (std::size_t i = 0; i < m_line.size(); ++i) {
      if (!quoted && (i == 0 || IsWhiteSpace(m_line[i - 1]))) {
        std::size_t end = i;
        while (end < m_line.size() && !IsWhiteSpace(m_line[end])) ++end;
        format = FormatOption(std::string_view(m_line).substr(i, end - i)).value_or(format);
      }
      if (m_line[i] == kQuote) quoted = !quoted;
    }
    return format;
  }

 private:
  // Position of the first word-start occurrence of `option` outside quotes, or npos. Every quote
  // character toggles the quoted state, counted from the start of the text.
  std::size_t Find(std::string_view option) const {
    bool quoted = false;
    for (std::size_t i = 0; i < m_lowered.size(); ++i) {
      const bool wordStart = i == 0 || IsWhiteSpace(m_lowered[i - 1]);
      if (!quoted && wordStart && m_lowered.substr(i).starts_with(option)) return i;
      if (m_lowered[i] == kQuote) quoted = !quoted;
    }
    return std::string_view::npos;
  }

  std::string m_line;
  std::string m_lowered;
};

// Options in separate arguments: at argument starts, values the rest or the next argument.
class ArgumentOptions {
 public:
  explicit ArgumentOptions(std::span<const char* const> arguments) : m_arguments(arguments) {}

  bool Has(std::string_view option) const { return Find(option) < m_arguments.size(); }

  std::optional<std::string> Text(std::string_view option) const {
    const std::size_t at = Find(option);
    if (at >= m_arguments.size()) return std::nullopt;
    // Anything after the name, white space alone included, is the value.
    const std::string_view argument(m_arguments[at]);
    if (argument.size() > kNameLength) return std::string(argument.substr(kNameLength));
    if (at + 1 < m_arguments.size()) return std::string(m_arguments[at + 1]);
    return std::nullopt;
  }

  std::optional<std::string> NumberText(std::string_view option) const { return Text(option); }

  // The last of "--srt" and "--vtt" given as an argument of its own; ".SUB" without either.
  SubtitleFormat Format() const {
    SubtitleFormat format = SubtitleFormat::kMicroDvd;
    for (const char* argument : m_arguments) format = FormatOption(argument).value_or(format);
    return format;
  }

 private:
  // Index of the first argument that starts with `option`, or the argument count.
  std::size_t Find(std::string_view option) const {
    const auto found = std::find_if(m_arguments.begin(), m_arguments.end(),
                                    [&](const char* a) { return StartsWithOption(a, option); });
    return static_cast<std::size_t>(found - m_arguments.begin());
  }

  std::span<const char* const> m_arguments;
};

}  // namespace

ConversionSettings ParseArguments(std::span<const char* const> arguments) {
  return ReadSettings(ArgumentOptions(arguments));
}

ConversionSettings ParseCommandLine(std::string_view tail) {
  return ReadSettings(TailOptions(tail));
}

std::string_view CommandLineTail(std::string_view commandLine) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    at = commandLine.find('"', 1);
    at = at == std::string_view::npos ? commandLine.size() : at + 1;
  } else {
    while (at < commandLine.size() && !blank(commandLine[at])) ++at;
  }
  while (at < commandLine.size() && blank(commandLine[at])) ++at;
  return commandLine.substr(at);
}
