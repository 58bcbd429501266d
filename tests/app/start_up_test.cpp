#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

RunResult RunWith(std::vector<std::string> arguments, std::string script = "") {
  RunOptions options;
  options.arguments = std::move(arguments);
  if (!script.empty()) options.script = std::move(script);
  return RunClipstamp(options);
}

TEST(StartUpTest, HelpListsTheReadmeOptionsAndVersionNamesTheRelease) {
  const RunResult help = RunWith({"--help"});
  ASSERT_EQ(help.exitStatus, 0);
  std::ifstream readme(CLIPSTAMP_SOURCE_DIR "/README.md");
  int options = 0;
  for (std::string line; std::getline(readme, line);) {
    if (!line.starts_with("| `-")) continue;
    const std::string option = line.substr(3, line.find('`', 3) - 3);
    EXPECT_NE(help.output.find("\n  " + option + " "), std::string::npos) << option;
    ++options;
  }
  EXPECT_EQ(options, 7);
  EXPECT_EQ(RunWith({"-h"}).output, help.output);
  const RunResult version = RunWith({"--version"});
  EXPECT_EQ(std::to_string(version.exitStatus) + " " + version.output,
            "0 clipstamp " CLIPSTAMP_VERSION "\n");
}

// Without a folder the dialog program beside clipstamp runs with the arguments unchanged.
TEST(StartUpTest, WithoutAFolderTheDialogProgramGetsTheArgumentsUnchanged) {
  const TempFolder bin;
  fs::copy_file(CLIPSTAMP_EXE, bin / "clipstamp");
  std::ofstream(bin / "clipstamp-dialog") << "#!/bin/sh\nprintf '[%s]' \"$@\"\nexit 7\n";
  fs::permissions(bin / "clipstamp-dialog", fs::perms::owner_all);
  const std::vector<std::vector<std::string>> commandLines = {
      {"--HELP"}, {"--version", "--help"}, {"--help", "-c", "all files.sub", "-o", "5"}};
  for (const std::vector<std::string>& arguments : commandLines) {
    std::string expected;
    for (const std::string& argument : arguments) expected += "[" + argument + "]";
    const RunResult result = RunWith(arguments, "exec " + bin / "clipstamp" + " \"$@\"");
    EXPECT_EQ(result.exitStatus, 7) << expected;
    EXPECT_EQ(result.output, expected);
  }
}

}  // namespace
