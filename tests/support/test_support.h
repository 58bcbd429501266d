#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A zone given as a POSIX rule, so tests need no time-zone database.
inline constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";

// A fresh folder under the system's temporary folder, open to every user, removed with
// everything in it on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

// The whole file; nullopt when it cannot be read.
std::optional<std::string> ReadFile(const std::filesystem::path& path);

// The lines of a text file, without their line feeds; none when it cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& path);

// Every file and link below `root` by relative path, with its contents (a link as "-> target"),
// leaving out folders, FIFOs and ".keep" placeholders.
std::map<std::string, std::string> FileTree(const std::filesystem::path& root);

// The end-to-end cases in tests/data/e2e, and the clip files they start from.
std::filesystem::path TestData(const std::string& name);

struct RunOptions {
  std::vector<std::string> arguments;  // after the program name
  std::vector<std::string> environment = {"TZ=UTC0", "LC_ALL=de_DE.UTF-8"};
  std::string workingFolder;                          // empty: the test's own
  std::string script = "exec \"$CLIPSTAMP\" \"$@\"";  // sh script that starts the program
};

struct RunResult {
  int exitStatus = -1;  // -1 when ended by a signal (after a minute, the test's own)
  long maxResidentKb = 0;
  std::string output;  // standard output and error together
};

// Runs `script` with /bin/sh, with the arguments as "$@" and the built program as $CLIPSTAMP,
// killing it after a minute.
RunResult RunClipstamp(const RunOptions& options);
