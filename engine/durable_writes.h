#pragma once

#include <cstddef>
#include <system_error>
#include <vector>

#include "engine/unique_fd.h"

// Making written files durable with as few waits for the medium as the platform allows. Memory
// cards, sticks and network shares make every wait cost milliseconds.

// Waits until what was written to every file in `files` is on the medium, as fsync() would
// make it (on POSIX: one syncfs() per file system where that flushes the device as fsync() does,
// else the files' fdatasync() calls issued together; on Windows one flush per file). The files
// come in the order they were opened. Returns the first error: then none may be trusted.
std::error_code WaitForMedium(const std::vector<const UniqueFd*>& files);

// How many files a run may keep open waiting for one wait: a share of the descriptor limit.
std::size_t BatchCapacity();
