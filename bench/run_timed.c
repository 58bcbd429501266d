// Runs a command RUNS times after one warm-up run and prints the medians of its wall-clock time,
// user time and system time in seconds and of its peak resident memory in KiB (the figure that
// /usr/bin/time -f %M reports): "WALL USER SYSTEM KIB". Fails when any run fails.
#define _DEFAULT_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxRuns = 1000 };

static double Seconds(struct timeval t) { return (double)t.tv_sec + (double)t.tv_usec / 1e6; }

static int Compare(const void* a, const void* b) {
  const double x = *(const double*)a;
  const double y = *(const double*)b;
  return (x > y) - (x < y);
}

static double Median(double* values, int count) {
  qsort(values, (size_t)count, sizeof *values, Compare);
  return count % 2 ? values[count / 2] : (values[count / 2 - 1] + values[count / 2]) / 2;
}

// Runs the command once; false when it cannot be started or does not exit with status 0.
static int RunOnce(char** command, double* wall, double* user, double* system, double* kib) {
  struct timespec begin, end;
  clock_gettime(CLOCK_MONOTONIC, &begin);
  const pid_t child = fork();
  if (child == 0) {
    execvp(command[0], command);
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return 0;
  clock_gettime(CLOCK_MONOTONIC, &end);
  *wall = (double)(end.tv_sec - begin.tv_sec) + (double)(end.tv_nsec - begin.tv_nsec) / 1e9;
  *user = Seconds(usage.ru_utime);
  *system = Seconds(usage.ru_stime);
  *kib = (double)usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int main(int argc, char** argv) {
  const int runs = argc >= 3 ? atoi(argv[1]) : 0;
  if (runs < 1 || runs > kMaxRuns) {
    fprintf(stderr, "usage: %s RUNS COMMAND [ARGUMENT...]\n", argv[0]);
    return 2;
  }
  static double wall[kMaxRuns], user[kMaxRuns], system[kMaxRuns], kib[kMaxRuns];
  for (int i = -1; i < runs; ++i) {
    const int slot = i < 0 ? 0 : i;
    if (!RunOnce(argv + 2, &wall[slot], &user[slot], &system[slot], &kib[slot])) {
      fprintf(stderr, "%s: %s failed\n", argv[0], argv[2]);
      return 1;
    }
  }
  printf("%.6f %.6f %.6f %.0f\n", Median(wall, runs), Median(user, runs), Median(system, runs),
         Median(kib, runs));
  return 0;
}
