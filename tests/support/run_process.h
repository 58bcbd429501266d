#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// How to start a program for an end-to-end test.
struct RunOptions {
  std::vector<std::string> arguments;    // after the program name
  std::vector<std::string> environment;  // the whole environment, "NAME=value"
  std::string workingFolder;             // empty: the test's own
  std::optional<rlim_t> fileSizeLimit;   // RLIMIT_FSIZE in bytes; SIGXFSZ is then ignored
  std::optional<uid_t> user;             // run as this user and group (needs root)
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
};

struct RunResult {
  int exitStatus = -1;  // the exit status, or -1 when killed by a signal
  int signal = 0;       // the signal that ended it, or 0
  bool timedOut = false;
  long maxResidentKb = 0;  // peak resident memory of the program
  std::string standardOutput;
  std::string standardError;
};

// Runs `program` to completion (or kills it after the timeout) and captures its output.
RunResult RunProgram(const std::string& program, const RunOptions& options);

// The child process started by StartProgram, for tests that interrupt a run.
struct StartedProgram {
  pid_t pid = -1;
};

StartedProgram StartProgram(const std::string& program, const RunOptions& options);

// Waits for a started program; kills it after the timeout.
RunResult WaitForProgram(StartedProgram started, std::chrono::milliseconds timeout);
