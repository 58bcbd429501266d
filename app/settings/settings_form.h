#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion.h"

// What the settings dialog holds and does, whatever toolkit draws it. Text is in the encoding
// the engine takes.

// Texts that both dialogs show.
inline constexpr char kDialogTitle[] = "Clipstamp";
inline constexpr char kOffsetPrompt[] =
    "Time offset: please enter a whole number of minutes, for example 0, 30 or -60.";
inline constexpr char kCombinedFileChooserTitle[] = "Combined subtitle file";
inline constexpr char kChooseFolderMessage[] = "Choose the folder to convert.";

// The subtitle format drop-down's items, in the order of SubtitleFormat.
inline constexpr const char* kSubtitleFormatNames[] = {"SUB", "SRT", "VTT"};

// A run that is still going after this long shows its progress window.
inline constexpr std::chrono::milliseconds kProgressDelay{500};

// The folder that the folder button last handed to the chooser. Empty at start-up; kept until
// the process ends.
extern std::string g_initialFolder;

// The progress window's text for clip `index` (from 0) of `count`: "Converting clip 3 of 20"
// and the clip's file name on a second line.
std::string DescribeProgress(std::size_t index, std::size_t count, const std::string& path);

// A signed decimal within the 32-bit range, with optional spaces or tabs around it; nullopt for
// anything else.
std::optional<std::int32_t> ParseMinuteOffset(std::string_view text);

// The dialog's edit boxes.
enum class SettingsBox { kFolder, kTimeFormat, kCombinedName, kMinuteOffset };

// The controls and windows of one settings dialog, as a toolkit draws them. Every call returns
// when the user has answered what it shows.
class SettingsView {
 public:
  virtual ~SettingsView() = default;

  virtual std::string BoxText(SettingsBox box) const = 0;
  virtual void SetBoxText(SettingsBox box, const std::string& text) = 0;
  // The index of the checked radio button, kPal or kNtsc; and checking one.
  virtual VideoSystem CheckedSystem() const = 0;
  virtual void CheckSystem(VideoSystem system) = 0;
  // The item chosen in the subtitle format drop-down; and choosing one.
  virtual SubtitleFormat ChosenFormat() const = 0;
  virtual void ChooseFormat(SubtitleFormat format) = 0;

  // Shows kOffsetPrompt, then focuses the offset box with its text selected.
  virtual void PromptForOffset() = 0;
  // A warning titled kDialogTitle.
  virtual void ShowMessage(const std::string& text) = 0;
  // Calls `run` with a progress callback that shows the wait cursor and, once the run has gone on
  // for kProgressDelay, a progress window with DescribeProgress's text and a Cancel button in its
  // place; the callback returns false once Cancel has been pressed.
  virtual RunReport RunWithProgress(
      const std::function<RunReport(const ProgressCallback&)>& run) = 0;
  // The folder chooser with the existing folder `start` preselected; the chosen folder's path,
  // nullopt when cancelled or the chosen item has none.
  virtual std::optional<std::string> ChooseFolder(const std::string& start) = 0;
  // The save chooser for the combined file, starting at `start` (a file, or a folder to start in,
  // either relative to the current folder); a name typed without extension gets ".SUB". The
  // chosen path, nullopt when cancelled.
  virtual std::optional<std::string> ChooseCombinedFile(const std::string& start) = 0;
  // Closes the dialog as OK does.
  virtual void CloseDialog() = 0;
};

// The settings dialog's fields and what its buttons do, through the view's controls. Cancel and
// closing the window belong to the view: they close the dialog and convert nothing.
class SettingsForm {
 public:
  // The fields start from the command line's settings, an empty format shown as the default
  // format and an empty combined name as "MOVALL.SUB". The view's controls show them after
  // UpdateData(false).
  SettingsForm(SettingsView& view, const ConversionSettings& initial);

  // Moves the fields to the controls (false) or reads the controls into the fields (true), in
  // the order folder, format, combined name, video system, subtitle format, offset. Reading stops
  // at an offset that is not a whole number, after the view's prompt, and returns false.
  bool UpdateData(bool saveAndValidate = true);

  // OK: reads the fields and, when the offset is a whole number and a folder is given, converts
  // the folder with them exactly as read (not trimmed) as the command line would, showing
  // progress. An empty folder gets kChooseFolderMessage and converts nothing. When something
  // could not be done the view shows what; the dialog closes only when the run did all it set
  // out to do, else the fields stay as entered.
  void OnOK();

  // The "?" beside the folder: reads the fields (an offset that is no whole number is pointed
  // out, and the chooser opens all the same), sets g_initialFolder to the folder and opens the
  // chooser at it (the current folder for an empty one, the nearest existing parent for one that
  // does not exist). A chosen folder fills the folder box; a combined name that is "MOVALL.SUB"
  // or the previous folder's "MOVALL.SUB" follows it; every box then shows its field.
  void OnBrowseFolder();

  // The "?" beside the combined name: the save chooser starts at the folder's "MOVALL.SUB" for
  // that name, at the folder for an empty name, else at the name itself; the chosen file fills
  // the box.
  void OnBrowseCombinedName();

  std::string m_folder;
  std::string m_timeFormat;
  std::string m_combinedName;
  VideoSystem m_videoSystem = kPal;  // index of the checked radio button
  std::int32_t m_minuteOffset = 0;
  SubtitleFormat m_subtitleFormat = SubtitleFormat::kMicroDvd;

 private:
  SettingsView& m_view;
};
