#pragma once

#include <system_error>

// The reason the system call that just failed gave: errno on POSIX, GetLastError() on Windows,
// both as the generic (errno) codes so that reasons read alike on every platform. Call it right
// after the failed call, before anything else can change the reason.
std::error_code LastSystemError();
