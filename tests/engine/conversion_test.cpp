#include "engine/conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

TEST(NormaliseSettingsTest, TrimsOneSeparatorAndPlacesTheDefaultCombinedName) {
  struct Case {
    const char* name;
    std::string folder;
    std::string combined;
    std::string format;
    std::string expectedFolder;
    std::string expectedCombined;
    std::string expectedFormat;
  };
  const Case cases[] = {
      {"plain", "/v", "MOVALL.SUB", "%H", "/v", "/v/MOVALL.SUB", "%H"},
      {"trailing separator", "/v/", "MOVALL.SUB", "", "/v", "/v/MOVALL.SUB", "%Y-%m-%d | %H:%M:%S"},
      {"only one separator trimmed", "/v//", "MOVALL.SUB", "", "/v/", "/v//MOVALL.SUB",
       "%Y-%m-%d | %H:%M:%S"},
      {"root", "/", "MOVALL.SUB", "", "", "/MOVALL.SUB", "%Y-%m-%d | %H:%M:%S"},
      {"empty folder is the root", "", "MOVALL.SUB", "", "", "/MOVALL.SUB", "%Y-%m-%d | %H:%M:%S"},
      {"other case is a relative name", "/v", "movall.sub", "", "/v", "movall.sub",
       "%Y-%m-%d | %H:%M:%S"},
      {"path kept", "/v", "/out/all.sub", "", "/v", "/out/all.sub", "%Y-%m-%d | %H:%M:%S"},
      {"no combined file", "/v", "", " ", "/v", "", " "},
  };
  for (const Case& c : cases) {
    const ConversionSettings settings =
        NormaliseSettings({c.folder, c.format, c.combined, kNtsc, -5});
    EXPECT_EQ(settings.folder, c.expectedFolder) << c.name;
    EXPECT_EQ(settings.combinedName, c.expectedCombined) << c.name;
    EXPECT_EQ(settings.timeFormat, c.expectedFormat) << c.name;
    EXPECT_EQ(settings.videoSystem, kNtsc) << c.name;
    EXPECT_EQ(settings.minuteOffset, -5) << c.name;
  }
}

class ConvertFolderTest : public ::testing::Test {
 protected:
  ConversionSettings Settings(const std::string& combined = "") const {
    return {m_folder.Path().string(), "%M:%S", combined, kPal, 0};
  }

  ScopedTimeZone m_zone{kBerlin};
  TempFolder m_folder;
};

// Clips of 88, 50 and 120 PAL frames starting on whole seconds.
void WriteThreeClips(const TempFolder& folder) {
  WriteClipFile(folder / "a.MOI", {.minute = 1, .durationMs = 3520});
  WriteClipFile(folder / "b.MOI", {.minute = 2, .durationMs = 2000});
  WriteClipFile(folder / "c.MOI", {.minute = 3, .durationMs = 4800});
}

TEST_F(ConvertFolderTest, CombinedTimelineRunsBackToBack) {
  WriteThreeClips(m_folder);
  EXPECT_TRUE(ConvertFolder(Settings("MOVALL.SUB")));
  const std::optional<std::string> combined = ReadFileText(m_folder / "MOVALL.SUB");
  ASSERT_TRUE(combined.has_value());
  EXPECT_NE(combined->find("{75}{88} 01:03\r\n{88}{113} 02:00\r\n"), std::string::npos);
  EXPECT_NE(combined->find("{113}{138} 02:01\r\n{138}{163} 03:00\r\n"), std::string::npos);
  EXPECT_TRUE(combined->ends_with("{238}{258} 03:04\r\n"));
  EXPECT_EQ(ReadFileText(m_folder / "b.SUB"), CrLfLines({"{0}{25} 02:00", "{25}{50} 02:01"}));
}

TEST_F(ConvertFolderTest, UnreadableClipDoesNotAdvanceTheTimeline) {
  WriteThreeClips(m_folder);
  WriteFileText(m_folder / "b.MOI", "V6 short");
  EXPECT_TRUE(ConvertFolder(Settings("MOVALL.SUB")));
  const std::optional<std::string> combined = ReadFileText(m_folder / "MOVALL.SUB");
  ASSERT_TRUE(combined.has_value());
  EXPECT_NE(combined->find("{75}{88} 01:03\r\n{88}{113} 03:00\r\n"), std::string::npos);
  EXPECT_TRUE(combined->ends_with("{188}{208} 03:04\r\n"));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "b.SUB"));
}

TEST_F(ConvertFolderTest, PerClipFilesDoNotDependOnTheCombinedFile) {
  WriteThreeClips(m_folder);
  ASSERT_TRUE(ConvertFolder(Settings()));
  const auto withoutCombined = ReadFileText(m_folder / "c.SUB");
  ASSERT_TRUE(ConvertFolder(Settings(m_folder / "out.sub")));
  EXPECT_EQ(ReadFileText(m_folder / "c.SUB"), withoutCombined);
  EXPECT_TRUE(ReadFileText(m_folder / "out.sub").has_value());
  EXPECT_FALSE(std::filesystem::exists(m_folder / "MOVALL.SUB"));
}

TEST_F(ConvertFolderTest, ConvertsClipsOfEitherCaseInNameOrder) {
  WriteClipFile(m_folder / "a.moi", {.minute = 2, .durationMs = 1000});
  WriteClipFile(m_folder / "a.MOI", {.minute = 1, .durationMs = 1000});
  WriteClipFile(m_folder / "B.MoI", {.minute = 3, .durationMs = 1000});
  EXPECT_TRUE(ConvertFolder(Settings("MOVALL.SUB")));
  EXPECT_EQ(ReadFileText(m_folder / "MOVALL.SUB"),
            CrLfLines({"{0}{25} 01:00", "{25}{50} 02:00", "{50}{75} 03:00"}));
  EXPECT_EQ(ReadFileText(m_folder / "a.SUB"), CrLfLines({"{0}{25} 02:00"}));
  EXPECT_EQ(ReadFileText(m_folder / "B.SUB"), CrLfLines({"{0}{25} 03:00"}));
}

TEST_F(ConvertFolderTest, NonRegularEntriesAreSkipped) {
  WriteClipFile(m_folder / "a.MOI", {.minute = 1, .durationMs = 1000});
  std::filesystem::create_directory(m_folder / "old.MOI");
  std::filesystem::create_symlink("nowhere.MOI", m_folder / "dangling.MOI");
  std::filesystem::create_symlink("a.MOI", m_folder / "link.MOI");
  EXPECT_TRUE(ConvertFolder(Settings("MOVALL.SUB")));
  EXPECT_EQ(ReadFileText(m_folder / "MOVALL.SUB"), CrLfLines({"{0}{25} 01:00", "{25}{50} 01:00"}));
  EXPECT_EQ(ReadFileText(m_folder / "link.SUB"), CrLfLines({"{0}{25} 01:00"}));
  EXPECT_FALSE(std::filesystem::is_symlink(m_folder / "link.SUB"));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "old.SUB"));
}

TEST_F(ConvertFolderTest, CombinedFileNamingAClipSubtitleFileTakesItsPlace) {
  WriteThreeClips(m_folder);
  const std::string name = m_folder.Path().filename().string();
  const std::string roundabout = m_folder / ("../" + name + "/b.SUB");
  EXPECT_TRUE(ConvertFolder(Settings(roundabout)));
  const std::optional<std::string> combined = ReadFileText(m_folder / "b.SUB");
  ASSERT_TRUE(combined.has_value());
  EXPECT_TRUE(combined->starts_with("{0}{25} 01:00\r\n"));
  EXPECT_TRUE(combined->ends_with("{238}{258} 03:04\r\n"));
  EXPECT_TRUE(std::filesystem::exists(m_folder / "a.SUB"));
}

TEST_F(ConvertFolderTest, CombinedFileNamingAClipInformationFileIsNotReadAsAClip) {
  WriteThreeClips(m_folder);
  EXPECT_TRUE(ConvertFolder(Settings(m_folder / "b.MOI")));
  const std::optional<std::string> combined = ReadFileText(m_folder / "b.MOI");
  ASSERT_TRUE(combined.has_value());
  EXPECT_NE(combined->find("{75}{88} 01:03\r\n{88}{113} 03:00\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(m_folder / "b.SUB"));
}

TEST_F(ConvertFolderTest, EmptyOrMissingFolders) {
  EXPECT_TRUE(ConvertFolder(Settings("MOVALL.SUB")));
  EXPECT_EQ(ReadFileText(m_folder / "MOVALL.SUB"), "") << "created empty when nothing is found";

  ConversionSettings missing = Settings("MOVALL.SUB");
  missing.folder = m_folder / "missing";
  EXPECT_FALSE(ConvertFolder(missing));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "missing"));

  missing.combinedName = m_folder / "elsewhere.sub";
  EXPECT_FALSE(ConvertFolder(missing));
  EXPECT_FALSE(std::filesystem::exists(m_folder / "elsewhere.sub"));
}

TEST_F(ConvertFolderTest, FailuresToWriteAreReported) {
  WriteClipFile(m_folder / "a.MOI", {.minute = 1, .durationMs = 1000});
  WriteClipFile(m_folder / "b.MOI", {.minute = 2, .durationMs = 1000});
  EXPECT_FALSE(ConvertFolder(Settings(m_folder / "no/such/folder/all.sub")));
  EXPECT_TRUE(std::filesystem::exists(m_folder / "b.SUB")) << "per-clip files still written";

  std::filesystem::remove(m_folder / "a.SUB");
  std::filesystem::create_directory(m_folder / "a.SUB");
  EXPECT_FALSE(ConvertFolder(Settings("MOVALL.SUB")));
  EXPECT_EQ(ReadFileText(m_folder / "MOVALL.SUB"), CrLfLines({"{0}{25} 01:00", "{25}{50} 02:00"}));
}

}  // namespace
