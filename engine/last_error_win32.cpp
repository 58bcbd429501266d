#include "engine/last_error.h"

#include "engine/win32_calls.h"

std::error_code LastSystemError() { return GenericError(::GetLastError()); }
