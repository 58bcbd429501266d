#include "app/run_summary.h"

namespace {

std::string DescribeListingFailure(const RunReport& report, const std::string& folder) {
  return "The folder \"" + folder + "\" cannot be listed: " + report.listingError.message() + ".";
}

std::string DescribeFileFailures(const RunReport& report) {
  const std::size_t total = report.written.size() + report.failed.size();
  std::string text = std::to_string(report.failed.size()) + " of " + std::to_string(total) +
                     (total == 1 ? " subtitle file" : " subtitle files") + " could not be written:";
  for (std::size_t i = 0; i < report.failed.size() && i < kListedFailures; ++i) {
    text += "\n" + report.failed[i].path + ": " + report.failed[i].error.message();
  }
  if (report.failed.size() > kListedFailures) {
    text += "\nand " + std::to_string(report.failed.size() - kListedFailures) + " more";
  }
  return text;
}

}  // namespace

std::string DescribeRunFailure(const RunReport& report, const std::string& folder) {
  std::string text;
  if (!report.listed) text = DescribeListingFailure(report, folder);
  if (!report.failed.empty()) {
    if (!text.empty()) text += "\n\n";
    text += DescribeFileFailures(report);
  }
  return text;
}
