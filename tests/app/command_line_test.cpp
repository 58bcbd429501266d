#include "app/settings/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The settings in one line: folder, format, combined name, video system, offset, and the kind
// of subtitle file when it is not ".SUB".
std::string Show(const ConversionSettings& s) {
  const char* kinds[] = {"", " srt", " vtt"};
  return "'" + s.folder + "' '" + s.timeFormat + "' '" + s.combinedName + "' " +
         (s.videoSystem == kPal ? "PAL " : "NTSC ") + std::to_string(s.minuteOffset) +
         kinds[static_cast<int>(s.format)];
}

// Arguments as a shell delivers them, each one word.
TEST(CommandLineTest, PicksTheSettingsOutOfTheArguments) {
  const struct {
    const char* name;
    std::vector<const char*> arguments;
    const char* expected;
  } cases[] = {
      {"none", {}, "'' '' '' PAL 0"},
      {"typical", {"-d", "/v", "-c", "MOVALL.SUB"}, "'/v' '' 'MOVALL.SUB' PAL 0"},
      {"names ignore case, values keep it",
       {"-D", "/V", "-C", "All.Sub", "-NTSC", "-O", "-60"},
       "'/V' '' 'All.Sub' NTSC -60"},
      {"folder with spaces, trimmed", {"-d", " /v/my clips\t"}, "'/v/my clips' '' '' PAL 0"},
      {"format with spaces, trimmed both ends",
       {"-f", " %H:%M %Z ", "-o", "5"},
       "'' '%H:%M %Z' '' PAL 5"},
      {"unquoted format up to the next space", {"-f", "%H", "-o", "3"}, "'' '%H' '' PAL 3"},
      {"glued values", {"-d/v", "-o-90"}, "'/v' '' '' PAL -90"},
      {"option inside a word does not count",
       {"-d", "/media/my-old-clips", "x-c", "-o", "1"},
       "'/media/my-old-clips' '' '' PAL 1"},
      {"options inside a value with spaces do not count",
       {"-d", "/v -o 7 -ntsc", "-o", "30"},
       "'/v -o 7 -ntsc' '' '' PAL 30"},
      {"empty value keeps its place", {"-d", "", "-o", "2"}, "'' '' '' PAL 2"},
      {"first occurrence counts", {"-d", "a", "-d", "b"}, "'a' '' '' PAL 0"},
      {"offset not a number", {"-o", "x"}, "'' '' '' PAL 0"},
      {"a quote is part of its argument",
       {"-f", "%H\"", "-c", "all.sub", "-ntsc", "-o", "60"},
       "'' '%H\"' 'all.sub' NTSC 60"},
      {"white space inside one argument", {"-dmy clips", "-o 30"}, "'my clips' '' '' PAL 30"},
      {"white space alone is the value", {"-d", "v", "-c ", "x", "-o ", "3"}, "'v' '' '' PAL 0"},
      {"vertical tab and form feed trimmed", {"-d", "\v/v\f", "-f\f%H\v"}, "'/v' '%H' '' PAL 0"},
      {"offset clamped", {"-o", "99999999999"}, "'' '' '' PAL 2147483647"},
      {"the last of --srt and --vtt counts, each an argument of its own",
       {"-d", "--srt", "--VTT", "x--srt", "--srtx", "-o", "1"},
       "'--srt' '' '' PAL 1 vtt"},
  };
  for (const auto& c : cases) EXPECT_EQ(Show(ParseArguments(c.arguments)), c.expected) << c.name;
}

TEST(CommandLineTest, QuotesInTheTailDelimitValues) {
  EXPECT_EQ(Show(ParseCommandLine("-d \"C:\\Video clips\" -f \" %H:%M \" -ntsc")),
            "'C:\\Video clips' '%H:%M' '' NTSC 0");
  EXPECT_EQ(Show(ParseCommandLine("-d \"C:\\Video -o 5")), "'' '' '' PAL 0") << "no closing quote";
  EXPECT_EQ(Show(ParseCommandLine("--VTT -d \"a --vtt\" --srt x--vtt")),
            "'a --vtt' '' '' PAL 0 srt");
  // The program's name, quoted or not, and the white space after it are not part of the tail.
  for (const auto& [line, tail] : {std::pair{"\"C:\\My Tools\\clipstamp.exe\" \t-d x", "-d x"},
                                   {"clipstamp.exe\t -d \"a b\"", "-d \"a b\""},
                                   {"\"clipstamp -d x", ""},
                                   {"clipstamp", ""}}) {
    EXPECT_EQ(CommandLineTail(line), tail) << line;
  }
}

}  // namespace
