#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
  const char* caseName;  // a folder under tests/data/e2e
  const char* zone;      // fixed offsets only: the Windows runtime ignores daylight-saving rules
  std::vector<std::string> arguments;  // "" takes the case's own; "@" stands for the copy's path
};

// The arguments as one Windows command line, those with spaces in double quotes.
std::wstring CommandLine(const std::vector<std::string>& arguments) {
  std::string line = "\"" CLIPSTAMP_EXE "\"";
  for (const std::string& argument : arguments) {
    const bool quoted = argument.find(' ') != std::string::npos;
    line += quoted ? " \"" + argument + "\"" : " " + argument;
  }
  const std::u8string utf8(line.begin(), line.end());
  return fs::path(utf8).wstring();
}

// Runs clipstamp.exe in `folder` and returns its exit status, -1 when it did not end in time.
int RunProgram(const std::vector<std::string>& arguments, const fs::path& folder) {
  std::wstring command = CommandLine(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
    return -2;
  }
  DWORD status = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &status);
  } else {
    ::TerminateProcess(process.hProcess, 9);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

// The end-to-end cases that need nothing POSIX, run by the Windows program in a folder whose
// path has accents and spaces, must leave the same trees as on Linux, byte for byte.
TEST(WindowsEndToEndTest, OutputTreesMatchTheLinuxOnes) {
  const std::vector<ProgramRun> runs = {
      {"pal_folder", "UTC0", {}},
      {"pal_folder", "IST-5:30", {"-d", "@\\clips", "-c", "@/clips/MOVALL.SUB"}},
      {"pal_folder", "PST8", {"-d", "@/clips/", "-c", "MOVALL.SUB"}},
      {"ntsc_drop", "UTC0", {}},
      {"plain_text", "UTC0", {}},
      {"caption_limit", "UTC0", {}},
      {"missing_folder", "UTC0", {}},
  };
  for (const ProgramRun& run : runs) {
    const fs::path data = TestData("e2e") / run.caseName;
    const TempFolder temporary;
    const fs::path root = temporary.Path() / fs::u8path(u8"Vidéos d'été");
    fs::create_directory(root);
    fs::copy(data / "in", root, fs::copy_options::recursive);
    std::vector<std::string> arguments = run.arguments;
    if (arguments.empty()) arguments = ReadLines(data / "args");
    const std::u8string rootText = root.u8string();
    for (std::string& argument : arguments) {
      if (argument.starts_with('@'))
        argument.replace(0, 1, std::string(rootText.begin(), rootText.end()));
    }
    ::SetEnvironmentVariableA("TZ", run.zone);
    const std::string name = std::string(run.caseName) + " in " + run.zone;
    EXPECT_EQ(std::to_string(RunProgram(arguments, root / "work")),
              ReadLines(data / "status").at(0))
        << name;
    EXPECT_EQ(FileTree(root), FileTree(data / "out")) << name;
  }
}

}  // namespace
