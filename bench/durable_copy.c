// The durable floor: copies every file of FROM into TO the way a careful writer replaces a
// file: a new temporary file in TO, writes of its bytes, fdatasync, rename over the target.
// Nothing else is done per file. The bytes pass through one small buffer, as they would through
// the writer's own.
#define _DEFAULT_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kBufferBytes = 256 * 1024 };

static void Die(const char* what) {
  perror(what);
  exit(1);
}

static void Replace(const char* source, const char* folder, const char* name, char* buffer) {
  char temporary[4096];
  char target[4096];
  snprintf(temporary, sizeof temporary, "%s/.copy-XXXXXX", folder);
  snprintf(target, sizeof target, "%s/%s", folder, name);
  const int in = open(source, O_RDONLY | O_CLOEXEC);
  if (in < 0) Die(source);
  const int out = mkstemp(temporary);
  if (out < 0) Die(temporary);
  for (ssize_t n; (n = read(in, buffer, kBufferBytes)) != 0;) {
    if (n < 0) Die(source);
    for (ssize_t done = 0; done < n;) {
      const ssize_t written = write(out, buffer + done, (size_t)(n - done));
      if (written <= 0) Die(temporary);
      done += written;
    }
  }
  close(in);
  if (fdatasync(out) != 0 || close(out) != 0 || rename(temporary, target) != 0) Die(target);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s FROM TO\n", argv[0]);
    return 2;
  }
  DIR* from = opendir(argv[1]);
  char* buffer = malloc(kBufferBytes);
  if (from == NULL || buffer == NULL) Die(argv[1]);
  for (struct dirent* entry; (entry = readdir(from)) != NULL;) {
    if (entry->d_name[0] == '.') continue;
    char source[4096];
    snprintf(source, sizeof source, "%s/%s", argv[1], entry->d_name);
    Replace(source, argv[2], entry->d_name, buffer);
  }
  closedir(from);
  free(buffer);
  return 0;
}
