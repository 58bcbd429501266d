#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion.h"

// What the settings dialog decides, whatever draws it. Text is in the encoding the engine takes.

// The dialog's fields: folder, caption format, combined name, video system and minute offset.
struct DialogFields {
  std::string folder;
  std::string timeFormat;
  std::string combinedName;
  int videoSystem = kPal;  // index of the checked radio button: 0 PAL, 1 NTSC
  std::int32_t minuteOffset = 0;
};

// A run that is still going after this long shows its progress.
inline constexpr std::chrono::milliseconds kProgressDelay{500};

// The fields a dialog starts with: an empty format becomes kDefaultTimeFormat and an empty
// combined name "MOVALL.SUB".
DialogFields InitialFields(std::string folder, std::string timeFormat, std::string combinedName,
                           bool ntsc, std::int32_t minuteOffset);

// The combined name after the folder `previous` was replaced by `chosen` in the chooser: it
// follows the folder while it is "MOVALL.SUB" or the previous folder's "MOVALL.SUB" (joined with
// `separator`); anything else stays.
std::string CombinedNameAfterChoice(const std::string& combinedName, const std::string& previous,
                                    const std::string& chosen, char separator);

// Where the chooser for the combined file starts: the folder's "MOVALL.SUB" for that name, the
// folder for an empty name, else the name itself.
std::string ProposedCombinedFile(const std::string& combinedName, const std::string& folder,
                                 char separator);

// The fields as a conversion run takes them, exactly as entered (not trimmed).
ConversionSettings SettingsFromFields(const DialogFields& fields);

// A signed decimal within the 32-bit range, with optional spaces or tabs around it; nullopt for
// anything else.
std::optional<std::int32_t> ParseMinuteOffset(std::string_view text);

// Whether a run that has been going for `elapsed` shows its progress window by now.
bool IsTimeToShowProgress(std::chrono::milliseconds elapsed, std::chrono::milliseconds delay);
