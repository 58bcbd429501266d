#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/clip_header.h"
#include "engine/clip_subtitles.h"
#include "engine/run_report.h"
#include "engine/subtitle_format.h"
#include "engine/video_system.h"

// Caption format used when none is given: e.g. "2007-11-12 | 13:45:07".
inline constexpr std::string_view kDefaultTimeFormat = "%Y-%m-%d | %H:%M:%S";

// Combined file name that stands for that name inside the converted folder.
inline constexpr std::string_view kDefaultCombinedName = "MOVALL.SUB";

// The input of one conversion run.
struct ConversionSettings {
  std::string folder;        // folder holding the clip information files; empty is the root
  std::string timeFormat;    // strftime() notation; empty means kDefaultTimeFormat
  std::string combinedName;  // combined subtitle file; empty means none
  VideoSystem videoSystem = kPal;
  std::int32_t minuteOffset = 0;  // minutes added to every recorded start time
  SubtitleFormat format = SubtitleFormat::kMicroDvd;
};

// Settings as a run uses them: one trailing separator removed from the folder, the combined name
// "MOVALL.SUB" (exactly, in capitals) placed inside the folder with the format's extension
// ("MOVALL.srt" and "MOVALL.vtt" too, each with its own format), an empty format replaced by
// kDefaultTimeFormat. Other combined names are kept as given (relative to the current folder).
ConversionSettings NormaliseSettings(ConversionSettings settings);

// Converts every clip information file of the folder, in name order, and writes the combined
// file when one is named (even when no clip is found, but not when the folder cannot be
// listed). When `progress` is given it is called before each clip and may stop the run (see
// ProgressCallback). The report says how many files were written, what could not be read or
// written and why, and which entries were skipped.
RunReport ConvertFolder(ConversionSettings settings, const ProgressCallback& progress = {});
