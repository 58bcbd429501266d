#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/test_support.h"

// Runs of the built program against planted links, unlistable folders, failing and unreadable
// clips, read-only files, readers that go away, quotes in arguments and other runs' leftovers.

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
// Clips a, b and c of one second, recorded at minutes 1, 2 and 3, captioned "%M".
constexpr char kCombined[] = "{0}{25} 01\r\n{25}{50} 02\r\n{50}{75} 03\r\n";
constexpr char kCombinedWithoutB[] = "{0}{25} 01\r\n{25}{50} 03\r\n";

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Runs a POSIX shell command in `folder`.
void Shell(const fs::path& folder, const std::string& command) {
  ASSERT_EQ(std::system(("cd '" + folder.string() + "' && " + command).c_str()), 0) << command;
}

// Runs as nobody where the tests run as root, so that permissions apply.
std::optional<uid_t> Unprivileged() {
  return ::geteuid() == 0 ? std::optional<uid_t>(kNobody) : std::nullopt;
}

class SafetyTest : public ::testing::Test {
 protected:
  SafetyTest() {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    fs::permissions(m_root.Path(), fs::perms::all);
  }

  // A folder that every user may enter and write, holding clips a, b and c.
  std::string Folder(const std::string& name) const {
    fs::create_directories(m_root / name);
    fs::permissions(m_root / name, fs::perms::all);
    for (int minute = 1; minute <= 3; ++minute) {
      const std::string clip = std::string(1, static_cast<char>('a' + minute - 1)) + ".MOI";
      WriteClipFile(m_root / name + "/" + clip, {.minute = minute, .durationMs = 1000});
    }
    return m_root / name;
  }

  RunResult Run(std::vector<std::string> arguments, std::optional<uid_t> user = {}) const {
    RunOptions options;
    options.arguments = std::move(arguments);
    options.environment = {"TZ=UTC0", "PATH=/usr/bin:/bin"};
    options.workingFolder = m_root.Path().string();
    options.user = user;
    return RunProgram(CLIPSTAMP_EXE, options);
  }

  TempFolder m_root;
};

TEST_F(SafetyTest, StandardOutputAsTheCombinedFileIsWhatItRefersTo) {
  Folder("clips");
  Shell(m_root.Path(), std::string(CLIPSTAMP_EXE) + " -d clips -c /dev/stdout -f %M | cat > piped");
  EXPECT_EQ(ReadFileText(m_root / "piped"), kCombined) << "a pipe";
  EXPECT_EQ(Run({"-d", "clips", "-c", "/dev/stdout", "-f", "%M"}).standardOutput, kCombined)
      << "a regular file";
}

TEST_F(SafetyTest, PlantedLinksAndBlockDevicesAreNeverWritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "planting another user's links needs root";
  // Debian's default, left on once turned on.
  const std::string protection = "/proc/sys/fs/protected_symlinks";
  if (ReadFileText(protection).value_or("1").starts_with("0")) WriteText(protection, "1");
  if (!ReadFileText(protection).value_or("0").starts_with("1")) {
    GTEST_SKIP() << "fs.protected_symlinks is off and cannot be turned on";
  }
  // A sticky shared folder where nobody planted links to a victim's file and private folder.
  for (const std::optional<uid_t> victim : {std::optional<uid_t>(65533), std::optional<uid_t>()}) {
    const std::string owner = std::to_string(victim.value_or(0));
    const std::string home = Folder("home" + owner), shared = Folder("shared" + owner);
    Shell(home, "echo private > notes.txt && chown -R " + owner + " . && chmod 0700 .");
    Shell(shared, "chmod 1777 . && ln -s " + home + "/notes.txt a.SUB && ln -s " + home +
                      "/new MOVALL.SUB && chown -h nobody a.SUB MOVALL.SUB");
    EXPECT_EQ(Run({"-d", shared, "-c", "MOVALL.SUB"}, victim).exitStatus, 1) << home;
    EXPECT_EQ(ReadFileText(home + "/notes.txt"), "private\n") << home;
    EXPECT_FALSE(fs::exists(home + "/new")) << home;
    EXPECT_TRUE(fs::exists(shared + "/b.SUB")) << home << ": the other clips are converted";
  }

  // A loop device, linked to and named as the combined file, over a file that shows any write.
  WriteText(m_root / "disk.img", std::string(4096, '\0'));
  if (std::system(("losetup -f --show " + m_root / "disk.img > " + m_root / "loop").c_str())) {
    GTEST_SKIP() << "no loop device can be attached here";
  }
  std::string loop = ReadFileText(m_root / "loop").value_or("\n");
  loop.pop_back();
  fs::create_symlink(loop, Folder("devices") + "/b.SUB");
  EXPECT_EQ(Run({"-d", "devices", "-c", loop}).exitStatus, 1);
  Shell(m_root.Path(), "sync && losetup -d " + loop);
  EXPECT_TRUE(ReadFileText(m_root / "disk.img") == std::string(4096, '\0')) << "a device written";
}

TEST_F(SafetyTest, AFolderThatCannotBeListedWritesNothing) {
  const std::string locked = Folder("locked");
  ::chmod(locked.c_str(), 0311);
  for (const std::string& folder : {m_root / "clipz", Folder("clips") + "/a.MOI", locked}) {
    WriteText(m_root / "all.sub", "good old combined");
    ::chmod((m_root / "all.sub").c_str(), 0666);
    EXPECT_EQ(Run({"-d", folder, "-c", "all.sub"}, Unprivileged()).exitStatus, 1) << folder;
    EXPECT_EQ(ReadFileText(m_root / "all.sub"), "good old combined") << folder;
    EXPECT_EQ(Run({"-d", folder, "-c", "new.sub"}, Unprivileged()).exitStatus, 1) << folder;
    EXPECT_FALSE(fs::exists(m_root / "new.sub")) << folder;
  }
}

TEST_F(SafetyTest, AClipWhoseSubtitleFileFailsKeepsItsPlaceInTheCombinedFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"read-only", "echo kept > b.SUB && chmod 0444 b.SUB"},
      {"folder", "mkdir b.SUB"},
      {"FIFO without reader", "mkfifo b.SUB"},
  };
  for (const auto& [name, block] : cases) {
    const std::string folder = Folder(name);
    Shell(folder, block);
    EXPECT_EQ(Run({"-d", folder, "-c", "MOVALL.SUB", "-f", "%M"}).exitStatus, 1) << name;
    EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), kCombined) << name;
    EXPECT_EQ(ReadFileText(folder + "/c.SUB"), "{0}{25} 03\r\n") << name;
  }
}

TEST_F(SafetyTest, ClipsThatCannotBeReadFailTheRun) {
  // A link to /proc/self/mem is a regular file that cannot be read.
  const std::tuple<const char*, const char*, int> cases[] = {
      {"no permission", "chmod 0 b.MOI", 1},
      {"EIO", "ln -sf /proc/self/mem b.MOI", 1},
      {"shorter than 18 bytes", "printf 12345678901234567 > b.MOI", 0},
      {"FIFO", "rm b.MOI && mkfifo b.MOI", 0},
  };
  for (const auto& [name, make, exitStatus] : cases) {
    const std::string folder = Folder(name);
    Shell(folder, make);
    EXPECT_EQ(Run({"-d", folder, "-c", "MOVALL.SUB", "-f", "%M"}, Unprivileged()).exitStatus,
              exitStatus)
        << name;
    EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), kCombinedWithoutB) << name;
  }
}

TEST_F(SafetyTest, ReadOnlyFilesStayReadOnlyForEveryone) {
  const std::string folder = Folder("clips");
  Shell(folder, "echo read-only | tee a.SUB > MOVALL.SUB && chmod 0444 a.SUB MOVALL.SUB");
  EXPECT_EQ(Run({"-d", folder, "-c", "MOVALL.SUB"}).exitStatus, 1);
  for (const char* name : {"/a.SUB", "/MOVALL.SUB"}) {
    EXPECT_EQ(ReadFileText(folder + name), "read-only\n") << name;
    EXPECT_EQ(fs::status(folder + name).permissions(), fs::perms(0444)) << name;
  }
  EXPECT_TRUE(fs::exists(folder + "/b.SUB"));
}

TEST_F(SafetyTest, AReaderThatGoesAwayIsAWriteFailure) {
  const std::string folder = Folder("many");
  for (int i = 100; i < 150; ++i) {
    WriteClipFile(folder + "/c" + std::to_string(i) + ".MOI", {.durationMs = 60000});
  }
  const std::string fifo = m_root / "reader";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  // Opened for reading and writing, so that opening does not wait and the run finds a reader.
  const int reader = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
  std::thread quitter([reader] {
    pollfd ready{reader, POLLIN, 0};
    char bytes[100];
    if (::poll(&ready, 1, 30000) == 1) {
      EXPECT_GT(::read(reader, bytes, sizeof bytes), 0);
    }
    ::close(reader);
  });
  const RunResult result = Run({"-d", folder, "-c", fifo});
  quitter.join();
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 106)
      << "every clip's subtitle file, and no temporary file";
}

TEST_F(SafetyTest, EachArgumentIsOneWord) {
  for (const char* name : {"clips", "my clips", "x \"y z"}) Folder(name);
  const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
      {{"-d", "clips", "-f", "%H\"", "-c", "all.sub", "-ntsc", "-o", "60"},
       "all.sub",
       "{0}{30} 14\"\r\n{30}{60} 14\"\r\n{60}{90} 14\"\r\n"},
      {{"-f", "x\"", "-d", "clips"}, "clips/a.SUB", "{0}{25} x\"\r\n"},
      {{"-d", "x \"y z", "-f", "%M"}, "x \"y z/b.SUB", "{0}{25} 02\r\n"},
      {{"-dmy clips", "-o 30", "-f \"%H:%M\""}, "my clips/c.SUB", "{0}{25} \"13:33\"\r\n"},
      {{"-c", "-ntsc.sub", "-d", "clips", "-f", "%M"},
       "-ntsc.sub",
       "{0}{30} 01\r\n{30}{60} 02\r\n{60}{90} 03\r\n"},
  };
  for (const auto& [arguments, file, expected] : cases) {
    EXPECT_EQ(Run(arguments).exitStatus, 0) << file;
    EXPECT_EQ(ReadFileText(m_root / file), expected) << file;
  }
}

TEST_F(SafetyTest, OnlyUnlockedTemporaryFilesAreLeftovers) {
  const std::vector<std::string> folders = {Folder("clips"), Folder("elsewhere")};
  std::vector<int> locks;
  for (const std::string& folder : folders) {
    WriteText(folder + "/.clipstamp-Stale1.tmp", "left by a run killed just now");
    locks.push_back(
        ::open((folder + "/.clipstamp-Live01.tmp").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
  }
  EXPECT_EQ(Run({"-d", folders[0], "-c", folders[1] + "/all.sub"}).exitStatus, 0);
  for (const std::string& folder : folders) {
    EXPECT_FALSE(fs::exists(folder + "/.clipstamp-Stale1.tmp")) << folder;
    EXPECT_TRUE(fs::exists(folder + "/.clipstamp-Live01.tmp")) << folder << " is in use";
  }
  for (const int fd : locks) ::close(fd);
}

}  // namespace
