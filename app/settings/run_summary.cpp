#include "app/settings/run_summary.h"

#include <vector>

namespace {

std::string Plural(std::size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

// The heading, then the first kListedFailures files with their reasons and the count of the rest.
std::string ListFailures(std::string heading, const std::vector<FileFailure>& failures) {
  for (std::size_t i = 0; i < failures.size() && i < kListedFailures; ++i) {
    heading += "\n" + failures[i].path + ": " + failures[i].error.message();
  }
  if (failures.size() > kListedFailures) {
    heading += "\nand " + std::to_string(failures.size() - kListedFailures) + " more";
  }
  return heading;
}

void AddParagraph(std::string& text, const std::string& paragraph) {
  if (!text.empty()) text += "\n\n";
  text += paragraph;
}

}  // namespace

std::string DescribeRunFailure(const RunReport& report, const std::string& folder) {
  std::string text;
  if (!report.listed) {
    text = "The folder \"" + folder + "\" cannot be listed: " + report.listingError.message() + ".";
  }
  if (!report.unreadable.empty()) {
    AddParagraph(text, ListFailures(Plural(report.unreadable.size(), "clip file", "clip files") +
                                        " could not be read:",
                                    report.unreadable));
  }
  if (!report.unwritten.empty()) {
    const std::size_t total = report.written + report.unwritten.size();
    AddParagraph(text, ListFailures(std::to_string(report.unwritten.size()) + " of " +
                                        Plural(total, "subtitle file", "subtitle files") +
                                        " could not be written:",
                                    report.unwritten));
  }
  if (!report.leftovers.empty()) {
    AddParagraph(text,
                 ListFailures(Plural(report.leftovers.size(), "temporary file", "temporary files") +
                                  " of an earlier run could not be removed:",
                              report.leftovers));
  }
  return text;
}

std::vector<std::string> ReportRunFailures(const RunReport& report, const std::string& folder) {
  std::vector<FileFailure> failures;
  if (!report.listed) failures.push_back({folder, report.listingError});
  failures.insert(failures.end(), report.unreadable.begin(), report.unreadable.end());
  failures.insert(failures.end(), report.unwritten.begin(), report.unwritten.end());
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < failures.size() && i < kReportedFailures; ++i) {
    lines.push_back("clipstamp: " + failures[i].path + ": " + failures[i].error.message());
  }
  if (failures.size() > kReportedFailures) {
    lines.push_back("clipstamp: ... and " + std::to_string(failures.size() - kReportedFailures) +
                    " more");
  }
  return lines;
}
