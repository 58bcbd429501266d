#include "engine/durable_writes.h"

#include "engine/last_error.h"
#include "engine/win32_calls.h"

namespace {

// The C runtime's descriptors run out long before the system's handles do.
constexpr std::size_t kBatchFiles = 256;

}  // namespace

// One flush per file: Windows has no call that flushes a whole volume for a user without
// administrator rights, and FlushFileBuffers() is what makes a file's data durable.
std::error_code WaitForMedium(const std::vector<const UniqueFd*>& files) {
  for (const UniqueFd* file : files) {
    if (!::FlushFileBuffers(OsHandle(*file))) return LastSystemError();
  }
  return {};
}

std::size_t BatchCapacity() { return kBatchFiles; }
