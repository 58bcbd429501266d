#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/test_support.h"

RunResult RunClipstamp(const RunOptions& options) {
  const TempFolder scratch;
  const std::string outputPath = scratch / "output";
  std::vector<std::string> strings = {"/bin/sh", "-c", options.script, "sh"};
  strings.insert(strings.end(), options.arguments.begin(), options.arguments.end());
  std::vector<std::string> environment = options.environment;
  environment.push_back("CLIPSTAMP=" CLIPSTAMP_EXE);
  environment.push_back("PATH=/usr/sbin:/usr/bin:/sbin:/bin");
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (std::string& s : strings) argv.push_back(s.data());
  for (std::string& s : environment) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out >= 0 && ::dup2(out, 1) >= 0 && ::dup2(out, 2) >= 0 &&
        (options.workingFolder.empty() || ::chdir(options.workingFolder.c_str()) == 0)) {
      ::execve(argv[0], argv.data(), envp.data());
    }
    ::_exit(127);
  }
  RunResult result;
  int status = 0;
  rusage usage{};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (::wait4(pid, &status, WNOHANG, &usage) != pid) {
    if (std::chrono::steady_clock::now() > deadline) ::kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.maxResidentKb = usage.ru_maxrss;
  result.output = ReadFile(outputPath).value_or("");
  return result;
}
