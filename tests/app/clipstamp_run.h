#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/test_support.h"

// Runs the built clipstamp as a script would: a bare environment with no display, a private
// HOME and a working folder of its own, under a temporary root that other users may enter.
class ClipstampRunTest : public ::testing::Test {
 protected:
  static constexpr uid_t kNobody = 65534;

  ClipstampRunTest() {
    std::filesystem::permissions(m_root.Path(), std::filesystem::perms::all);
    std::filesystem::create_directory(m_root / "home");
    std::filesystem::create_directory(m_root / "work");
  }

  RunOptions Options(std::vector<std::string> arguments, const std::string& zone = "UTC0") const {
    RunOptions options;
    options.arguments = std::move(arguments);
    options.environment = {"TZ=" + zone, "HOME=" + m_root / "home", "PATH=/usr/bin:/bin",
                           "LC_ALL=de_DE.UTF-8", "QT_QPA_PLATFORM=xcb"};
    options.workingFolder = m_root / "work";
    return options;
  }

  // Runs to completion and checks that the run was silent.
  RunResult Run(const RunOptions& options) const {
    RunResult result = RunProgram(CLIPSTAMP_EXE, options);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.standardOutput, "") << "a run prints nothing";
    EXPECT_EQ(result.standardError, "") << "a run prints nothing";
    return result;
  }

  RunResult Run(std::vector<std::string> arguments, const std::string& zone = "UTC0") const {
    return Run(Options(std::move(arguments), zone));
  }

  // Options for a run as an unprivileged user, so that permissions apply even when the tests
  // run as root. The folders the run writes must be open to that user.
  RunOptions AsUnprivileged(RunOptions options) const {
    if (::geteuid() == 0) options.user = kNobody;
    return options;
  }

  std::vector<std::string> Entries(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string MakeFolder(const std::string& name) const {
    const std::string folder = m_root / name;
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    return folder;
  }

  TempFolder m_root;
};
