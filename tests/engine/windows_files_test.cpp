#include <gtest/gtest.h>
#include <stdlib.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kClip = ReadFile(TestData("e2e/pal_folder/in/clips/A.MOI")).value();

class WindowsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::_putenv_s("TZ", "UTC0");
    ::_tzset();
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(m_root.Path() / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) { return ReadFile(m_root.Path() / name).value_or("?"); }
  std::string Path(const std::string& name) { return m_root / name; }
  HANDLE Hold(const std::string& name, DWORD access, DWORD share) {
    m_held.push_back(::CreateFileW((m_root.Path() / name).c_str(), access, share, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    return m_held.back();
  }
  void TearDown() override {
    for (HANDLE handle : m_held) ::CloseHandle(handle);
  }

  TempFolder m_root;
  std::vector<HANDLE> m_held;
};

// A temporary file that no run holds locked is left over from a killed run and removed.
TEST_F(WindowsFilesTest, ReplacesAFileKeepingItsAttributesAndLeavingNothingBehind) {
  Write("A.MOI", kClip);
  Write("A.SUB", "old");
  Write(".clipstamp-AbC123.tmp", "stale");
  ASSERT_TRUE(::SetFileAttributesW((m_root.Path() / "A.SUB").c_str(), FILE_ATTRIBUTE_HIDDEN));
  const RunReport report = ConvertFolder({m_root.Path().string(), "", ""});
  EXPECT_TRUE(report.Succeeded());
  EXPECT_EQ(Read("A.SUB"), ReadFile(TestData("e2e/pal_folder/out/clips/A.SUB")));
  EXPECT_EQ(::GetFileAttributesW((m_root.Path() / "A.SUB").c_str()) & FILE_ATTRIBUTE_HIDDEN,
            FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(std::distance(fs::directory_iterator(m_root.Path()), fs::directory_iterator()), 2);
}

// A read-only file, a file another program holds without sharing it and a clip another program
// holds exclusively are failures, reported without waiting; the other files are written.
TEST_F(WindowsFilesTest, FilesThatCannotBeUsedFailAndStayAsTheyWere) {
  for (const char* name : {"A.MOI", "B.MOI", "C.MOI", "D.MOI"}) Write(name, kClip);
  for (const char* name : {"B.SUB", "C.SUB", "D.SUB"}) Write(name, "old");
  ::SetFileAttributesW((m_root.Path() / "B.SUB").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_NE(Hold("C.SUB", GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
  ASSERT_NE(Hold("D.MOI", GENERIC_READ | GENERIC_WRITE, 0), INVALID_HANDLE_VALUE);

  const RunReport report = ConvertFolder({m_root.Path().string(), "", "MOVALL.SUB"});
  EXPECT_EQ(report.written, 2u);
  std::vector<std::string> failed;
  for (const auto& list : {report.unwritten, report.unreadable}) {
    for (const FileFailure& failure : list) failed.push_back(failure.path);
  }
  EXPECT_EQ(failed, (std::vector<std::string>{Path("B.SUB"), Path("C.SUB"), Path("D.MOI")}));
  EXPECT_EQ(Read("B.SUB") + Read("C.SUB") + Read("D.SUB"), "oldoldold");
  ::SetFileAttributesW((m_root.Path() / "B.SUB").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The combined file named with '/' and in other letter case, or through a hard link, is the
// clip's own subtitle file, which is then not written separately (a replaced link is a link no
// more, so the clip's old file stays).
TEST_F(WindowsFilesTest, TheCombinedFileIsFoundUnderAnotherSpelling) {
  const TempFolder reference;
  std::ofstream(reference.Path() / "A.MOI", std::ios::binary) << kClip;
  ConvertFolder({reference.Path().string(), "", "MOVALL.SUB"});
  const std::string combined = ReadFile(reference.Path() / "MOVALL.SUB").value();

  struct Case {
    const char* name;
    std::string combinedName;
    bool link;
  };
  const std::string slashed = fs::path(m_root.Path()).generic_string();
  for (const Case& c : {Case{"slash and lower case", slashed + "/a.sub", false},
                        Case{"hard link", Path("link.sub"), true}}) {
    Write("A.MOI", kClip);
    Write("A.SUB", "old");
    if (c.link) {
      ASSERT_TRUE(::CreateHardLinkW((m_root.Path() / "link.sub").c_str(),
                                    (m_root.Path() / "A.SUB").c_str(), nullptr));
    }
    const RunReport report = ConvertFolder({m_root.Path().string(), "", c.combinedName});
    EXPECT_TRUE(report.written == 1 && report.Succeeded()) << c.name;
    EXPECT_EQ(ReadFile(fs::u8path(c.combinedName)), combined) << c.name;
    EXPECT_EQ(Read("A.SUB"), c.link ? "old" : combined) << c.name;
  }
}

}  // namespace
