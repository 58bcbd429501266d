// The start-up floor: reads every entry of one folder, as a silent run over it must at least do.
// The exit status is 0 when the folder could be listed.
#include <dirent.h>
#include <stddef.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  DIR* folder = opendir(argv[1]);
  if (folder == NULL) return 1;
  while (readdir(folder) != NULL) {
  }
  closedir(folder);
  return 0;
}
