#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/clipstamp_run.h"

namespace {

using SilentRunTest = ClipstampRunTest;

TEST_F(SilentRunTest, ConvertsAFolderWithSpacesByteForByte) {
  const std::string folder = MakeFolder("Summer 2007");
  WriteClipFile(folder + "/clip1.MOI", {.milliseconds = 7250, .durationMs = 3500});
  WriteClipFile(folder + "/clip2.moi", {.minute = 50, .milliseconds = 59600, .durationMs = 1000});

  const RunResult result = Run({"-d", folder + "/", "-c", "MOVALL.SUB"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/clip1.SUB"),
            "{0}{19} 2007-11-12 | 13:45:07\r\n{19}{44} 2007-11-12 | 13:45:08\r\n"
            "{44}{69} 2007-11-12 | 13:45:09\r\n{69}{88} 2007-11-12 | 13:45:10\r\n");
  EXPECT_EQ(ReadFileText(folder + "/clip2.SUB"),
            "{0}{10} 2007-11-12 | 13:50:59\r\n{10}{25} 2007-11-12 | 13:51:00\r\n");
  EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"),
            "{0}{19} 2007-11-12 | 13:45:07\r\n{19}{44} 2007-11-12 | 13:45:08\r\n"
            "{44}{69} 2007-11-12 | 13:45:09\r\n{69}{88} 2007-11-12 | 13:45:10\r\n"
            "{88}{98} 2007-11-12 | 13:50:59\r\n{98}{113} 2007-11-12 | 13:51:00\r\n");
  EXPECT_EQ(Entries(m_root / "home"), std::vector<std::string>{}) << "nothing written to HOME";
  EXPECT_EQ(Entries(m_root / "work"), std::vector<std::string>{});
}

TEST_F(SilentRunTest, NtscWithOffsetAcrossTheSpringChange) {
  const std::string folder = MakeFolder("ntsc");
  WriteClipFile(folder + "/a.MOI",
                {.year = 2007, .month = 3, .day = 11, .hour = 0, .minute = 30, .durationMs = 2000});
  const RunResult result = Run({"-ntsc", "-o", "150", "-d", folder, "-f", "%H:%M:%S %Z"}, kNewYork);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/a.SUB"), "{0}{30} 03:00:00 EDT\r\n{30}{60} 03:00:01 EDT\r\n");
}

TEST_F(SilentRunTest, CaptionLineFeedsAndNamesAreStoredAsOnTheOriginalPlatform) {
  const std::string folder = MakeFolder("format");
  WriteClipFile(folder + "/a.MOI", {.month = 3, .day = 12, .durationMs = 900});
  EXPECT_EQ(Run({"-d", folder, "-f", "%A%n%B %p"}).exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/a.SUB"), "{0}{23} Monday\r\nMarch PM\r\n");
}

TEST_F(SilentRunTest, OptionsInsideFolderNamesAreValues) {
  const std::string folder = MakeFolder("my-clips -o 7");
  WriteClipFile(folder + "/a.MOI", {.durationMs = 900});
  EXPECT_EQ(Run({"-d", folder, "-o", "-1"}).exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/a.SUB"), "{0}{23} 2007-11-12 | 13:44:00\r\n");
  EXPECT_EQ(Entries(m_root / "work"), std::vector<std::string>{}) << "no stray combined file";
}

TEST_F(SilentRunTest, RelativeNamesAreResolvedInTheWorkingFolder) {
  const std::string folder = MakeFolder("work/clips");
  WriteClipFile(folder + "/a.MOI", {.durationMs = 900});
  EXPECT_EQ(Run({"-d", "clips", "-c", "movall.sub"}).exitStatus, 0);
  EXPECT_EQ(ReadFileText(m_root / "work/movall.sub"), "{0}{23} 2007-11-12 | 13:45:00\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder + "/MOVALL.SUB"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/a.SUB"));
}

TEST_F(SilentRunTest, ExitStatusTellsWhetherEverythingWasWritten) {
  const std::string folder = MakeFolder("status");
  WriteClipFile(folder + "/good.MOI", {.durationMs = 900});
  WriteFileText(folder + "/short.MOI", "V6");
  std::filesystem::create_directory(folder + "/dir.MOI");
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int exitStatus;
  };
  const Case cases[] = {
      {"unreadable entries are no failure", {"-d", folder, "-c", "MOVALL.SUB"}, 0},
      {"missing folder", {"-d", folder + "/missing", "-c", m_root / "empty.sub"}, 1},
      {"folder is a file", {"-d", folder + "/good.MOI"}, 1},
      {"combined file cannot be created", {"-d", folder, "-c", m_root / "no/such/all.sub"}, 1},
      {"combined file on a full disk", {"-d", folder, "-c", "/dev/full"}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.arguments).exitStatus, c.exitStatus) << c.name;
  EXPECT_FALSE(std::filesystem::exists(m_root / "empty.sub")) << "nothing when nothing is listed";
  EXPECT_EQ(Entries(m_root / "work"), std::vector<std::string>{});
}

TEST_F(SilentRunTest, WithoutAFolderTheDialogNeedsADisplay) {
  const std::vector<std::vector<std::string>> commandLines = {
      {}, {"-c", "all.sub", "-o", "5"}, {"-d", "   "}};
  for (const auto& arguments : commandLines) {
    RunOptions options = Options(arguments);
    const RunResult result = RunProgram(CLIPSTAMP_EXE, options);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.standardOutput, "");
    EXPECT_NE(result.standardError.find("clipstamp -d FOLDER"), std::string::npos)
        << result.standardError;
  }
  EXPECT_EQ(Entries(m_root / "work"), std::vector<std::string>{});
  EXPECT_EQ(Entries(m_root / "home"), std::vector<std::string>{});
}

}  // namespace
