// A model of a slow medium (a memory card behind a USB reader, a network share): preloaded with
// LD_PRELOAD, it makes every fsync(), fdatasync() and syncfs() wait SLOW_SYNC_MS milliseconds
// (default 10) before doing its work.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static void Wait(void) {
  const char* text = getenv("SLOW_SYNC_MS");
  const long ms = text != NULL ? atol(text) : 10;
  struct timespec delay = {ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}

#define SLOW(name)                                           \
  int name(int fd) {                                         \
    static int (*real)(int);                                 \
    if (real == NULL) real = (int (*)(int))dlsym(RTLD_NEXT, #name); \
    Wait();                                                  \
    return real(fd);                                         \
  }

SLOW(fsync)
SLOW(fdatasync)
SLOW(syncfs)
