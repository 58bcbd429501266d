#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/run_report.h"

// A failure message names at most this many files; the rest are counted.
inline constexpr std::size_t kListedFailures = 10;
// Standard error names at most this many failures; the rest are counted.
inline constexpr std::size_t kReportedFailures = 20;

// What to tell the user about a run that did not do all it set out to do, for example
// "1 of 3 subtitle files could not be written:\n/card/MOV002.SUB: Permission denied"; empty when
// nothing failed. `folder` is the folder the run was given.
std::string DescribeRunFailure(const RunReport& report, const std::string& folder);

// The same failures, one line each as the command line reports them on standard error, for
// example "clipstamp: /card/MOV002.SUB: Permission denied", at most kReportedFailures and then
// "clipstamp: ... and 3 more"; none when nothing failed. A folder that cannot be listed is one
// line.
std::vector<std::string> ReportRunFailures(const RunReport& report, const std::string& folder);
