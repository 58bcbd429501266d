#include "engine/last_error.h"

#include <cerrno>

std::error_code LastSystemError() { return std::error_code(errno, std::generic_category()); }
