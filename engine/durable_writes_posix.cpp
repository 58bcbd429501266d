#include "engine/durable_writes.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "engine/last_error.h"

namespace {

// Superblock magic numbers (linux/magic.h). ext2 and ext3 share ext4's, and Debian's kernel runs
// all three with the ext4 driver.
constexpr long kExt4Magic = 0xEF53;
constexpr long kTmpfsMagic = 0x01021994;
constexpr std::size_t kSyncThreads = 8;
constexpr std::size_t kMinimumBatch = 8;
constexpr std::size_t kMaximumBatch = 1024;

// True where syncfs() leaves the device's cache flushed, as fsync() does: ext4 ends it with a
// journal commit that flushes or an explicit flush, and tmpfs has no device. vfat, exfat, NFS,
// CIFS, XFS and others flush the device (or ask the server) only in fsync(), or not always.
bool SyncfsFlushesDevice(int fd) {
  struct statfs info {};
  if (::fstatfs(fd, &info) != 0) return false;
  return info.f_type == kExt4Magic || info.f_type == kTmpfsMagic;
}

// fdatasync() on every file, a few at a time, so that the block layer can merge their flushes.
std::error_code SyncEach(const std::vector<int>& fds) {
  std::atomic<std::size_t> next{0};
  std::mutex guard;
  std::error_code first;
  const auto work = [&] {
    for (std::size_t i; (i = next++) < fds.size();) {
      if (::fdatasync(fds[i]) == 0) continue;
      const std::error_code error = LastSystemError();
      const std::lock_guard<std::mutex> lock(guard);
      if (!first) first = error;
    }
  };
  std::vector<std::thread> threads(std::min(kSyncThreads, fds.size()) - (fds.empty() ? 0 : 1));
  for (std::thread& thread : threads) thread = std::thread(work);
  work();
  for (std::thread& thread : threads) thread.join();
  return first;
}

}  // namespace

std::error_code WaitForMedium(const std::vector<const UniqueFd*>& files) {
  // The files of each file system, in the order they were opened.
  std::map<dev_t, std::vector<int>> byDevice;
  for (const UniqueFd* file : files) {
    struct stat info {};
    if (::fstat(file->Get(), &info) != 0) return LastSystemError();
    byDevice[info.st_dev].push_back(file->Get());
  }
  std::error_code first;
  for (const auto& [device, fds] : byDevice) {
    std::error_code error;
    // syncfs() reports every write error of the file system since the descriptor it is given
    // was opened; the first opened covers the others.
    if (SyncfsFlushesDevice(fds.front())) {
      if (::syncfs(fds.front()) != 0) error = LastSystemError();
    } else {
      error = SyncEach(fds);
    }
    if (!first) first = error;
  }
  return first;
}

std::size_t BatchCapacity() {
  // Each waiting file holds its temporary file and its folder open.
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return 256;
  }
  return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur / 4), kMinimumBatch,
                                 kMaximumBatch);
}
