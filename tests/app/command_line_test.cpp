#include "app/command_line.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

// Found by argument-dependent lookup, so it lives beside the type.
void PrintTo(const CommandLineOptions& o, std::ostream* out) {
  *out << "{folder='" << o.folder << "' format='" << o.timeFormat << "' combined='"
       << o.combinedName << "' ntsc=" << o.ntsc << " offset=" << o.minuteOffset << "}";
}

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ParseCommandLineTest, PicksOptionsAtWordStarts) {
  struct Case {
    const char* name;
    const char* tail;
    CommandLineOptions expected;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"typical", "-d C:\\Video -c MOVALL.SUB", {"C:\\Video", "", "MOVALL.SUB", false, 0}},
      {"quoted folder, NTSC, negative offset",
       "-d \"C:\\Video clips\" -ntsc -o -60",
       {"C:\\Video clips", "", "", true, -60}},
      {"names ignore case, values keep it",
       "-D C:\\Video -C MovAll.Sub -NTSC",
       {"C:\\Video", "", "MovAll.Sub", true, 0}},
      {"no closing quote ignores the folder", "-d \"C:\\Video", {}},
      {"quoted format", "-f \"%H:%M\"", {"", "%H:%M", "", false, 0}},
      {"format without closing quote", "-f \"%H:%M", {}},
      {"unquoted format up to the next space", "-f %H:%M -o 3", {"", "%H:%M", "", false, 3}},
      {"combined name and offset without folder", "-c all.sub -o 5", {"", "", "all.sub", false, 5}},
      {"offset without value", "-o", {}},
      {"offset not a number", "-o x", {}},
      {"no space after the option",
       "-dC:\\Video -c\"a b.sub\"",
       {"C:\\Video", "", "a b.sub", false, 0}},
      {"option inside a folder name", "-d /media/my-clips", {"/media/my-clips", "", "", false, 0}},
      {"offset option inside a folder name",
       "-d C:\\My-Old\\clips -o 30",
       {"C:\\My-Old\\clips", "", "", false, 30}},
      {"options inside quotes",
       "-d \"/v/take -o 7 -ntsc -c stray\" -o 30",
       {"/v/take -o 7 -ntsc -c stray", "", "", false, 30}},
      {"option glued to its value", "-o-90", {"", "", "", false, -90}},
      {"a word starting with the option", "-old", {}},
      {"explicit plus sign", "-o +15", {"", "", "", false, 15}},
      {"first occurrence counts", "-d a -d b -o 1 -o 2", {"a", "", "", false, 1}},
      {"NTSC only at a word start", "x-ntsc \"-ntsc\"", {}},
      {"NTSC as a prefix", "-ntscfoo", {"", "", "", true, 0}},
      {"option as a prefix of its word", "-dir", {"ir", "", "", false, 0}},
      {"white space before the value", "-d\t /v", {"/v", "", "", false, 0}},
      {"unquoted value ends at a space only", "-d /v\tx y", {"/v\tx", "", "", false, 0}},
      {"word start after a tab", "x\t-o 4", {"", "", "", false, 4}},
      {"empty quoted folder", "-d \"\" -o 2", {"", "", "", false, 2}},
      {"option without value", "-d", {}},
      {"option followed by white space only", "-d \t ", {}},
      {"value is the next word even if it looks like an option",
       "-d -o 5",
       {"-o", "", "", false, 5}},
      {"largest offset", "-o 2147483647", {"", "", "", false, kMax}},
      {"smallest offset", "-o -2147483648", {"", "", "", false, kMin}},
      {"offset clamped above", "-o 2147483648", {"", "", "", false, kMax}},
      {"offset clamped below", "-o -99999999999999999999", {"", "", "", false, kMin}},
      {"digits stop at the first other character", "-o 12ab3", {"", "", "", false, 12}},
      {"quoted offset is no number", "-o \"5\"", {}},
      {"UTF-8 kept", "-d /v/\xC3\x84rger", {"/v/\xC3\x84rger", "", "", false, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseCommandLine(c.tail), c.expected) << c.name;
}

TEST(ParseCommandLineTest, TrimsValuesOnlyWhenAsked) {
  const CommandLineOptions parsed = ParseCommandLine("-d \" /v \" -f \"%H \" -c \"\tall.sub\n\"");
  EXPECT_EQ(parsed.folder, " /v ");
  EXPECT_EQ(parsed.timeFormat, "%H ");
  const CommandLineOptions trimmed = TrimOptions(parsed);
  EXPECT_EQ(trimmed.folder, "/v");
  EXPECT_EQ(trimmed.timeFormat, "%H");
  EXPECT_EQ(trimmed.combinedName, "all.sub");
  EXPECT_EQ(TrimOptions(ParseCommandLine("-d \" \v\f\r \"")).folder, "");
}

TEST(ParseArgumentsTest, ShellArgumentsArriveUnchanged) {
  const std::vector<const char*> arguments = {"-d",   "/media/my-clips/Summer 2007/",
                                              "-f",   "%d.%m.%Y %H:%M",
                                              "-c",   "MOVALL.SUB",
                                              "-o",   "-30",
                                              "-ntsc"};
  const CommandLineOptions expected{"/media/my-clips/Summer 2007/", "%d.%m.%Y %H:%M", "MOVALL.SUB",
                                    true, -30};
  EXPECT_EQ(ParseArguments(arguments), expected);
}

}  // namespace
