#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/temporary_file.h"
#include "tests/app/clipstamp_run.h"

namespace {

using namespace std::chrono_literals;

class FaultTest : public ClipstampRunTest {
 protected:
  // Names of leftover temporary files in `folder`.
  std::vector<std::string> Temporaries(const std::string& folder) const {
    std::vector<std::string> found;
    for (const std::string& name : Entries(folder)) {
      if (IsTemporaryFileName(name)) found.push_back(name);
    }
    return found;
  }

  // Writes `count` clips named c00000.MOI ... into `folder`; clip i starts at minute i mod 60
  // with 7 i milliseconds (mod 60000).
  static void WriteShortClips(const std::string& folder, int count, std::uint32_t durationMs) {
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/c%05d.MOI", i);
      WriteClipFile(folder + name,
                    {.minute = i % 60, .milliseconds = (i * 7) % 60000, .durationMs = durationMs});
    }
  }
};

TEST_F(FaultTest, FileSizeLimitWhileWritingAPerClipFile) {
  const std::string folder = MakeFolder("limit");
  WriteClipFile(folder + "/a.MOI", {.durationMs = 60000});
  WriteClipFile(folder + "/b.MOI", {.durationMs = 1000});
  WriteFileText(folder + "/a.SUB", "good old a");
  RunOptions options = Options({"-d", folder});
  options.fileSizeLimit = 1000;
  EXPECT_EQ(Run(options).exitStatus, 1);
  EXPECT_EQ(ReadFileText(folder + "/a.SUB"), "good old a");
  EXPECT_EQ(ReadFileText(folder + "/b.SUB"), "{0}{25} 2007-11-12 | 13:45:00\r\n");
  EXPECT_EQ(Temporaries(folder), std::vector<std::string>{});
}

TEST_F(FaultTest, FileSizeLimitWhileWritingTheCombinedFile) {
  const std::string folder = MakeFolder("limit");
  WriteShortClips(folder, 40, 1000);
  WriteFileText(folder + "/MOVALL.SUB", "good old combined");
  RunOptions options = Options({"-d", folder, "-c", "MOVALL.SUB"});
  options.fileSizeLimit = 1000;
  EXPECT_EQ(Run(options).exitStatus, 1);
  EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), "good old combined");
  EXPECT_EQ(ReadFileText(folder + "/c00039.SUB"),
            "{0}{18} 2007-11-12 | 13:39:00\r\n{18}{25} 2007-11-12 | 13:39:01\r\n");
  EXPECT_EQ(Temporaries(folder), std::vector<std::string>{});
}

// A small file system that really runs full, where the machine allows mounting one.
class FullDiskTest : public FaultTest {
 protected:
  void SetUp() override {
    m_mount = MakeFolder("small");
    if (::mount("clipstamp-test", m_mount.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=64k,mode=0777") != 0) {
      GTEST_SKIP() << "cannot mount a small tmpfs here (needs root with CAP_SYS_ADMIN); the "
                      "file-size-limit tests cover running out of space";
    }
    m_mounted = true;
  }
  void TearDown() override {
    if (m_mounted) ::umount2(m_mount.c_str(), MNT_DETACH);
  }

  std::string m_mount;
  bool m_mounted = false;
};

TEST_F(FullDiskTest, FullDiskLeavesEveryEarlierFileAsItWas) {
  WriteClipFile(m_mount + "/a.MOI", {.durationMs = 3600 * 1000});
  WriteClipFile(m_mount + "/b.MOI", {.durationMs = 1000});
  WriteFileText(m_mount + "/a.SUB", "good old a");
  WriteFileText(m_mount + "/MOVALL.SUB", "good old combined");
  EXPECT_EQ(Run({"-d", m_mount, "-c", "MOVALL.SUB"}).exitStatus, 1);
  EXPECT_EQ(ReadFileText(m_mount + "/a.SUB"), "good old a");
  EXPECT_EQ(ReadFileText(m_mount + "/MOVALL.SUB"), "good old combined");
  EXPECT_EQ(ReadFileText(m_mount + "/b.SUB"), "{0}{25} 2007-11-12 | 13:45:00\r\n");
  EXPECT_EQ(Temporaries(m_mount), std::vector<std::string>{});
}

TEST_F(FaultTest, ReadOnlyFolderAndReadOnlyFiles) {
  const std::string locked = MakeFolder("locked");
  WriteClipFile(locked + "/a.MOI", {.durationMs = 1000});
  WriteFileText(locked + "/a.SUB", "good old a");
  std::filesystem::permissions(locked, std::filesystem::perms(0555));
  EXPECT_EQ(Run(AsUnprivileged(Options({"-d", locked}))).exitStatus, 1);
  EXPECT_EQ(ReadFileText(locked + "/a.SUB"), "good old a");

  const std::string open = MakeFolder("open");
  WriteClipFile(open + "/a.MOI", {.durationMs = 1000});
  WriteClipFile(open + "/b.MOI", {.durationMs = 1000});
  WriteFileText(open + "/a.SUB", "protected a");
  std::filesystem::permissions(open + "/a.SUB", std::filesystem::perms(0444));
  EXPECT_EQ(Run(AsUnprivileged(Options({"-d", open}))).exitStatus, 1);
  EXPECT_EQ(ReadFileText(open + "/a.SUB"), "protected a");
  EXPECT_EQ(ReadFileText(open + "/b.SUB"), "{0}{25} 2007-11-12 | 13:45:00\r\n");
  EXPECT_EQ(Temporaries(open), std::vector<std::string>{});
}

TEST_F(FaultTest, ClipThatVanishesAfterListingIsSkipped) {
  const std::string folder = MakeFolder("clips");
  // The first clip takes long enough to remove the last one while the run is on it.
  WriteClipFile(folder + "/a.MOI", {.durationMs = 0x05000000});
  WriteClipFile(folder + "/b.MOI", {.durationMs = 1000});
  WriteClipFile(folder + "/z.MOI", {.durationMs = 1000});
  const StartedProgram started =
      StartProgram(CLIPSTAMP_EXE, Options({"-d", folder, "-c", m_root / "all.sub"}));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (Temporaries(folder).empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(100us);
  }
  ::kill(started.pid, SIGSTOP);
  const bool stillOnTheFirstClip = !std::filesystem::exists(folder + "/a.SUB");
  std::filesystem::remove(folder + "/z.MOI");
  ::kill(started.pid, SIGCONT);
  const RunResult result = WaitForProgram(started, 60s);
  if (!stillOnTheFirstClip) GTEST_SKIP() << "the run finished the first clip too early";
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(std::filesystem::exists(folder + "/b.SUB"));
  EXPECT_FALSE(std::filesystem::exists(folder + "/z.SUB"));
  const std::optional<std::string> combined = ReadFileText(m_root / "all.sub");
  ASSERT_TRUE(combined.has_value());
  EXPECT_TRUE(combined->ends_with("{2097152}{2097177} 2007-11-12 | 13:45:00\r\n"));
}

TEST_F(FaultTest, OddEntriesNeverBlockTheRun) {
  const std::string folder = MakeFolder("odd");
  WriteClipFile(folder + "/good.MOI", {.durationMs = 1000});
  ASSERT_EQ(::mkfifo((folder + "/fifo.MOI").c_str(), 0644), 0);
  std::filesystem::create_symlink("nowhere", folder + "/dangling.MOI");
  std::filesystem::create_symlink("loop.MOI", folder + "/loop.MOI");
  std::filesystem::create_directory(folder + "/dir.MOI");
  ASSERT_EQ(::symlink("/dev/zero", (folder + "/device.MOI").c_str()), 0);
  const std::string socketPath = folder + "/s.MOI";
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool haveSocket = socketPath.size() < sizeof address.sun_path && socketFd >= 0;
  if (haveSocket) {
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  }
  RunOptions options = Options({"-d", folder, "-c", "MOVALL.SUB"});
  options.timeout = 10s;
  EXPECT_EQ(Run(options).exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), "{0}{25} 2007-11-12 | 13:45:00\r\n");
  for (const char* name : {"fifo", "dangling", "loop", "dir", "device", "s"}) {
    EXPECT_FALSE(std::filesystem::exists(folder + "/" + name + ".SUB")) << name;
  }
  if (socketFd >= 0) ::close(socketFd);
}

TEST_F(FaultTest, UnusualNames) {
  const std::string longName = std::string(251, 'n') + ".MOI";
  const std::vector<std::string> folders = {"-dash folder", "new\nline",
                                            "\xC3\xBC"
                                            "ber -c x"};
  for (const std::string& name : folders) {
    const std::string folder = MakeFolder(name);
    for (const std::string& clip : {std::string("- a.MOI"), std::string("\xC3\xA9t\xC3\xA9.MOI"),
                                    std::string("line\nbreak.MOI"), longName}) {
      WriteClipFile(folder + "/" + clip, {.durationMs = 1000});
    }
    EXPECT_EQ(Run({"-d", folder, "-c", "MOVALL.SUB", "-f", "%S"}).exitStatus, 0) << name;
    for (const std::string& sub :
         {std::string("- a.SUB"), std::string("\xC3\xA9t\xC3\xA9.SUB"),
          std::string("line\nbreak.SUB"), std::string(251, 'n') + ".SUB"}) {
      EXPECT_EQ(ReadFileText(folder + "/" + sub), "{0}{25} 00\r\n") << name << " / " << sub;
    }
    EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"),
              "{0}{25} 00\r\n{25}{50} 00\r\n{50}{75} 00\r\n{75}{100} 00\r\n")
        << name;
  }
  EXPECT_EQ(Entries(m_root / "work"), std::vector<std::string>{}) << "no stray files";
}

TEST_F(FaultTest, TenThousandClipsInBoundedTimeAndMemory) {
  const std::string folder = MakeFolder("many");
  WriteShortClips(folder, 10000, 2000);
  const auto start = std::chrono::steady_clock::now();
  RunOptions options = Options({"-d", folder, "-c", "MOVALL.SUB"});
  options.timeout = 300s;
  const RunResult result = Run(options);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_LT(elapsed, 120s);
#ifndef CLIPSTAMP_SANITIZED
  EXPECT_LT(result.maxResidentKb, 32 * 1024) << "memory must not grow with the clip count";
#endif
  const std::optional<std::string> combined = ReadFileText(folder + "/MOVALL.SUB");
  ASSERT_TRUE(combined.has_value());
  EXPECT_TRUE(combined->ends_with("{499975}{500000} 2007-11-12 | 13:39:11\r\n"));
  EXPECT_EQ(ReadFileText(folder + "/c09999.SUB"),
            "{0}{0} 2007-11-12 | 13:39:09\r\n{0}{25} 2007-11-12 | 13:39:10\r\n"
            "{25}{50} 2007-11-12 | 13:39:11\r\n");
}

TEST_F(FaultTest, KilledRunLeavesNoPartialFile) {
  const std::string folder = MakeFolder("killed");
  const std::string reference = MakeFolder("reference");
  constexpr int kClips = 1500;
  WriteShortClips(reference, kClips, 120000);
  ASSERT_EQ(Run({"-d", reference, "-c", "MOVALL.SUB"}).exitStatus, 0);
  WriteShortClips(folder, kClips, 120000);
  for (int i = 0; i < kClips; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/c%05d.SUB", i);
    WriteFileText(folder + name, "good old subtitle");
  }
  WriteFileText(folder + "/MOVALL.SUB", "good old combined");

  const StartedProgram started =
      StartProgram(CLIPSTAMP_EXE, Options({"-d", folder, "-c", "MOVALL.SUB"}));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (ReadFileText(folder + "/c00000.SUB") == "good old subtitle" &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(200us);
  }
  ::kill(started.pid, SIGKILL);
  const RunResult killed = WaitForProgram(started, 20s);
  if (killed.signal != SIGKILL) GTEST_SKIP() << "the run ended before it could be killed";

  int replaced = 0;
  for (int i = 0; i < kClips; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/c%05d.SUB", i);
    const std::optional<std::string> text = ReadFileText(folder + name);
    ASSERT_TRUE(text.has_value()) << name;
    if (*text != "good old subtitle") {
      EXPECT_EQ(text, ReadFileText(reference + name)) << name;
      ++replaced;
    }
  }
  EXPECT_GT(replaced, 0);
  EXPECT_LT(replaced, kClips);
  EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), "good old combined");
  EXPECT_LE(Temporaries(folder).size(), 2u) << "at most the two files being written";

  // Leftovers hold no lock, so the next run removes them at once.
  EXPECT_EQ(Run({"-d", folder, "-c", "MOVALL.SUB"}).exitStatus, 0);
  EXPECT_EQ(ReadFileText(folder + "/MOVALL.SUB"), ReadFileText(reference + "/MOVALL.SUB"));
  EXPECT_EQ(Temporaries(folder), std::vector<std::string>{});
}

}  // namespace
