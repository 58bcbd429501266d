#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/app/clipstamp_run.h"

namespace {

namespace fs = std::filesystem;
using StartUpTest = ClipstampRunTest;

TEST_F(StartUpTest, HelpListsTheReadmeOptionsAndVersionNamesTheRelease) {
  const RunResult help = RunProgram(CLIPSTAMP_EXE, Options({"--help"}));
  EXPECT_EQ(help.exitStatus, 0);
  std::ifstream readme(CLIPSTAMP_SOURCE_DIR "/README.md");
  int options = 0;
  for (std::string line; std::getline(readme, line);) {
    if (!line.starts_with("| `-")) continue;
    const std::string option = line.substr(3, line.find('`', 3) - 3);
    EXPECT_NE(help.standardOutput.find("\n  " + option + " "), std::string::npos) << option;
    ++options;
  }
  EXPECT_EQ(options, 5);
  const RunResult version = RunProgram(CLIPSTAMP_EXE, Options({"--version"}));
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.standardOutput, "clipstamp " CLIPSTAMP_VERSION "\n");
}

TEST_F(StartUpTest, WithoutAFolderTheDialogProgramGetsTheArgumentsUnchanged) {
  const fs::path bin = MakeFolder("bin");
  fs::copy_file(CLIPSTAMP_EXE, bin / "clipstamp");
  WriteFileText(bin / "clipstamp-dialog", "#!/bin/sh\nprintf '[%s]' \"$@\"\nexit 7\n");
  fs::permissions(bin / "clipstamp-dialog", fs::perms::owner_all);
  const std::vector<std::vector<std::string>> commandLines = {
      {"--HELP"}, {"--version", "--help"}, {"--help", "-c", "all files.sub", "-o", "5"}};
  for (const std::vector<std::string>& arguments : commandLines) {
    std::string expected;
    for (const std::string& argument : arguments) expected += "[" + argument + "]";
    const RunResult result = RunProgram(bin / "clipstamp", Options(arguments));
    EXPECT_EQ(result.exitStatus, 7) << expected;
    EXPECT_EQ(result.standardOutput, expected);
  }
}

}  // namespace
