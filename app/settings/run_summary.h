#pragma once

#include <cstddef>
#include <string>

#include "engine/run_report.h"

// A failure message names at most this many files; the rest are counted.
inline constexpr std::size_t kListedFailures = 10;

// What to tell the user about a run that did not do all it set out to do, for example
// "1 of 3 subtitle files could not be written:\n/card/MOV002.SUB: Permission denied"; empty when
// nothing failed. `folder` is the folder the run was given.
std::string DescribeRunFailure(const RunReport& report, const std::string& folder);
