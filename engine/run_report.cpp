#include "engine/run_report.h"

namespace {

class RunErrorCategory final : public std::error_category {
 public:
  const char* name() const noexcept override { return "clipstamp"; }
  std::string message(int value) const override {
    switch (static_cast<RunError>(value)) {
      case RunError::kSubtitleFileOfAnotherClip:
        return "Also the subtitle file of an earlier clip of this run";
    }
    return "Unknown error";
  }
};

}  // namespace

std::error_code MakeRunError(RunError error) {
  static const RunErrorCategory category;
  return {static_cast<int>(error), category};
}
