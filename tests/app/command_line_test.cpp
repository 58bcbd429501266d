#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

void PrintTo(const CommandLineOptions& o, std::ostream* out) {
  *out << "{folder='" << o.folder << "' format='" << o.timeFormat << "' combined='"
       << o.combinedName << "' ntsc=" << o.ntsc << " offset=" << o.minuteOffset << "}";
}

namespace {

// Arguments as a shell delivers them, each one word, through the parser and the trim.
TEST(CommandLineTest, PicksTheOptionsOutOfTheArguments) {
  struct Case {
    const char* name;
    std::vector<const char*> arguments;
    CommandLineOptions expected;
  };
  const Case cases[] = {
      {"none", {}, {}},
      {"typical", {"-d", "/v", "-c", "MOVALL.SUB"}, {"/v", "", "MOVALL.SUB", false, 0}},
      {"names ignore case, values keep it",
       {"-D", "/V", "-C", "All.Sub", "-NTSC", "-O", "-60"},
       {"/V", "", "All.Sub", true, -60}},
      {"folder with spaces, trimmed", {"-d", " /v/my clips\t"}, {"/v/my clips", "", "", false, 0}},
      {"format with spaces, trimmed both ends",
       {"-f", " %H:%M %Z ", "-o", "5"},
       {"", "%H:%M %Z", "", false, 5}},
      {"unquoted format up to the next space", {"-f", "%H", "-o", "3"}, {"", "%H", "", false, 3}},
      {"glued values", {"-d/v", "-o-90"}, {"/v", "", "", false, -90}},
      {"option inside a word does not count",
       {"-d", "/media/my-old-clips", "x-c", "-o", "1"},
       {"/media/my-old-clips", "", "", false, 1}},
      {"options inside a value with spaces do not count",
       {"-d", "/v -o 7 -ntsc", "-o", "30"},
       {"/v -o 7 -ntsc", "", "", false, 30}},
      {"empty value keeps its place", {"-d", "", "-o", "2"}, {"", "", "", false, 2}},
      {"first occurrence counts", {"-d", "a", "-d", "b"}, {"a", "", "", false, 0}},
      {"offset not a number", {"-o", "x"}, {}},
      {"a quote is part of its argument",
       {"-f", "%H\"", "-c", "all.sub", "-ntsc", "-o", "60"},
       {"", "%H\"", "all.sub", true, 60}},
      {"white space inside one argument", {"-dmy clips", "-o 30"}, {"my clips", "", "", false, 30}},
      {"white space alone is the value",
       {"-d", "v", "-c ", "x", "-o ", "3"},
       {"v", "", "", false, 0}},
      {"vertical tab and form feed trimmed",
       {"-d", "\v/v\f", "-f\f%H\v"},
       {"/v", "%H", "", false, 0}},
      {"offset clamped", {"-o", "99999999999"}, {"", "", "", false, 2147483647}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimOptions(ParseArguments(c.arguments)), c.expected) << c.name;
  }
}

TEST(CommandLineTest, QuotesInTheTailDelimitValues) {
  EXPECT_EQ(ParseCommandLine("-d \"C:\\Video clips\" -f \"%H:%M\""),
            (CommandLineOptions{"C:\\Video clips", "%H:%M", "", false, 0}));
  EXPECT_EQ(ParseCommandLine("-d \"C:\\Video -o 5"), CommandLineOptions{}) << "no closing quote";
  // The program's name, quoted or not, and the white space after it are not part of the tail.
  for (const auto& [line, tail] : {std::pair{"\"C:\\My Tools\\clipstamp.exe\" \t-d x", "-d x"},
                                   {"clipstamp.exe\t -d \"a b\"", "-d \"a b\""},
                                   {"\"clipstamp -d x", ""},
                                   {"clipstamp", ""}}) {
    EXPECT_EQ(CommandLineTail(line), tail) << line;
  }
}

}  // namespace
