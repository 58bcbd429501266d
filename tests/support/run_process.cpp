#include "tests/support/run_process.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "tests/support/test_support.h"

namespace {

std::vector<char*> PointerArray(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::string OutputPath(pid_t pid, const char* stream) {
  return "/tmp/clipstamp-run-" + std::to_string(pid) + "-" + stream;
}

}  // namespace

StartedProgram StartProgram(const std::string& program, const RunOptions& options) {
  std::vector<std::string> argumentStrings = {program};
  argumentStrings.insert(argumentStrings.end(), options.arguments.begin(), options.arguments.end());
  std::vector<std::string> environmentStrings = options.environment;
  std::vector<char*> argv = PointerArray(argumentStrings);
  std::vector<char*> envp = PointerArray(environmentStrings);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const std::string out = OutputPath(::getpid(), "out");
    const std::string err = OutputPath(::getpid(), "err");
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) ::_exit(126);
    if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) {
      ::_exit(126);
    }
    if (options.fileSizeLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    if (options.user) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(*options.user) != 0 ||
          ::setuid(*options.user) != 0) {
        ::_exit(126);
      }
    }
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  return {pid};
}

RunResult WaitForProgram(StartedProgram started, std::chrono::milliseconds timeout) {
  RunResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  rusage usage{};
  for (;;) {
    const pid_t done = ::wait4(started.pid, &status, WNOHANG, &usage);
    if (done == started.pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      result.timedOut = true;
      ::kill(started.pid, SIGKILL);
      ::wait4(started.pid, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  result.maxResidentKb = usage.ru_maxrss;
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  const std::string out = OutputPath(started.pid, "out");
  const std::string err = OutputPath(started.pid, "err");
  result.standardOutput = ReadFileText(out).value_or("<no output file>");
  result.standardError = ReadFileText(err).value_or("<no output file>");
  ::unlink(out.c_str());
  ::unlink(err.c_str());
  return result;
}

RunResult RunProgram(const std::string& program, const RunOptions& options) {
  return WaitForProgram(StartProgram(program, options), options.timeout);
}
