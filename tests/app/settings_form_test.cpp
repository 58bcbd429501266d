#include "app/settings/settings_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings/command_line.h"
#include "app/settings/run_summary.h"
#include "engine/file_paths.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// A dialog without a display: the controls are strings (the four boxes, "PAL" or "NTSC", the
// subtitle format's item), the choosers answer `chosen`, and what the form shows and does is
// recorded in order.
class Dialog : public SettingsView {
 public:
  explicit Dialog(const ConversionSettings& settings) : form(*this, settings) {
    form.UpdateData(false);
  }
  std::string BoxText(SettingsBox box) const override { return controls[int(box)]; }
  void SetBoxText(SettingsBox box, const std::string& text) override { controls[int(box)] = text; }
  VideoSystem CheckedSystem() const override { return controls[4] == "PAL" ? kPal : kNtsc; }
  void CheckSystem(VideoSystem system) override { controls[4] = system == kPal ? "PAL" : "NTSC"; }
  SubtitleFormat ChosenFormat() const override {
    const auto& names = kSubtitleFormatNames;
    return SubtitleFormat(std::find(names, std::end(names), controls[5]) - names);
  }
  void ChooseFormat(SubtitleFormat format) override {
    controls[5] = kSubtitleFormatNames[int(format)];
  }
  void PromptForOffset() override { shown.push_back("offset prompt"); }
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  RunReport RunWithProgress(const std::function<RunReport(const ProgressCallback&)>& run) override {
    shown.push_back("run");
    return run([this](std::size_t index, std::size_t count, const std::string& path) {
      progress = DescribeProgress(index, count, path);
      return index != cancelAt;
    });
  }
  std::optional<std::string> ChooseFolder(const std::string& start) override {
    shown.push_back("folder chooser at " + start);
    return chosen;
  }
  std::optional<std::string> ChooseCombinedFile(const std::string& start) override {
    shown.push_back("file chooser at " + start);
    return chosen;
  }
  void CloseDialog() override { shown.push_back("closed"); }

  Strings controls = Strings(6);
  Strings shown;
  std::string progress;  // the last progress text
  std::size_t cancelAt = SIZE_MAX;
  std::optional<std::string> chosen;
  SettingsForm form;
};

// `path` with its '/' separators as this platform writes them.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

// The dialog starts with its defaults; OK converts what the controls show when it is pressed,
// exactly as the command line with the same values converts it. An empty folder (the root of
// the file system) and an offset that is no whole number are pointed out and nothing converted;
// a run that fails says why and a run that the user cancels says nothing more, and all leave
// the dialog open with the fields as entered.
TEST(SettingsFormTest, OkConvertsWhatTheControlsShowAndClosesOnlyWhenAllIsDone) {
  const TempFolder root;
  for (const char* name : {"silent", "dialog"}) {
    fs::copy(TestData("e2e/dst_new_york/in/clips"), root.Path() / name);
  }
  ASSERT_TRUE(ConvertFolder(ParseArguments(std::vector<const char*>{
                                "-d", (root / "silent").c_str(), "-f", "%d.%m. %H:%M:%S", "-c",
                                "MOVALL.SUB", "-ntsc", "-o", "-61", "--vtt"}))
                  .Succeeded());
  const std::string folder = root / "dialog";
  std::ofstream(root / "dialog/MOVALL.vtt") << "old";
  const std::string missing = Native(folder + "/missing");
  const std::string failure = DescribeRunFailure(ConvertFolder({missing, "", "", 0, 0}), missing);
  // Without options the dialog shows its defaults.
  Dialog dialog(ConversionSettings{});
  EXPECT_EQ(dialog.controls,
            (Strings{"", std::string(kDefaultTimeFormat), "MOVALL.SUB", "0", "PAL", "SUB"}));
  dialog.controls = {"", "%d.%m. %H:%M:%S", "MOVALL.SUB", "-61", "NTSC", "VTT"};
  dialog.form.OnOK();
  dialog.controls[0] = missing;
  dialog.controls[3] = "half an hour";
  dialog.form.OnOK();
  dialog.controls[3] = " -61\t";
  dialog.form.OnOK();
  EXPECT_EQ(dialog.controls,
            (Strings{missing, "%d.%m. %H:%M:%S", "MOVALL.SUB", " -61\t", "NTSC", "VTT"}));

  dialog.controls[0] = folder;
  dialog.cancelAt = 1;
  dialog.form.OnOK();
  EXPECT_EQ(dialog.progress, "Converting clip 2 of 3\nB.MOI");
  const auto cancelled = FileTree(folder);
  EXPECT_TRUE(cancelled.contains("A.vtt") && !cancelled.contains("B.vtt"));
  EXPECT_EQ(cancelled.at("MOVALL.vtt"), "old");

  dialog.cancelAt = SIZE_MAX;
  dialog.form.OnOK();
  EXPECT_EQ(dialog.shown, (Strings{kChooseFolderMessage, "offset prompt", "run", failure, "run",
                                   "run", "closed"}));
  EXPECT_EQ(FileTree(folder), FileTree(root / "silent"));
}

TEST(SettingsFormTest, MinuteOffsetIsAWholeNumberIn32Bits) {
  const std::vector<std::pair<const char*, std::optional<std::int32_t>>> rows = {
      {" \t-61 ", -61},           {"+5", 5},
      {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
      {"", std::nullopt},         {"+-5", std::nullopt},
      {"1 2", std::nullopt},      {"\n5", std::nullopt}};
  for (const auto& [text, offset] : rows) EXPECT_EQ(ParseMinuteOffset(text), offset) << text;
}

// The folder button reads every box first, so what was typed stays, and points out an offset
// that is no whole number without stopping; the chooser starts at the typed folder (the current
// one for none), or at its nearest existing parent.
TEST(SettingsFormTest, FolderButtonStartsAtTheTypedFolderAndKeepsWhatWasTyped) {
  const TempFolder root;
  const std::string chosen = root / "chosen";
  Dialog dialog({"", "", "", kPal, 7});
  dialog.controls = {root / "a/b/c", "%H typed", "MOVALL.SUB", "x", "NTSC", "SRT"};
  dialog.chosen = chosen;
  dialog.form.OnBrowseFolder();
  EXPECT_EQ(g_initialFolder, root / "a/b/c");
  const Strings afterChoice = {chosen, "%H typed", Native(chosen + "/MOVALL.SUB"),
                               "7",    "NTSC",     "SRT"};
  EXPECT_EQ(dialog.controls, afterChoice);

  dialog.controls[0] = "";
  dialog.chosen.reset();
  dialog.form.OnBrowseFolder();
  EXPECT_EQ(dialog.shown, (Strings{"offset prompt", "folder chooser at " + root.Path().string(),
                                   "folder chooser at " + PathText(fs::current_path())}));
  EXPECT_EQ(dialog.controls, (Strings{"", "%H typed", afterChoice[2], "7", "NTSC", "SRT"}));
}

// The combined file's chooser starts at the folder's "MOVALL.SUB" for that name, at the folder
// for an empty name, else at the name; a combined name follows a chosen folder while it is
// "MOVALL.SUB" or the previous folder's.
TEST(SettingsFormTest, CombinedNameChooserStartsFromTheBoxesAndTheNameFollowsTheFolder) {
  // name, folder, where the name's chooser starts, chosen folder, name after the choice
  const std::vector<Strings> rows = {
      {"MOVALL.SUB", "/v", "/v/MOVALL.SUB", "/w", "/w/MOVALL.SUB"},
      {"MOVALL.SUB", "", "MOVALL.SUB", "/v", "/v/MOVALL.SUB"},
      {"MOVALL.SUB", "/r/", "/r/MOVALL.SUB", "/r/", "/r//MOVALL.SUB"},
      {"/v/MOVALL.SUB", "/v", "/v/MOVALL.SUB", "/w", "/w/MOVALL.SUB"},
      {"/v/MOVALL.SUB", "/w", "/v/MOVALL.SUB", "/r/", "/v/MOVALL.SUB"},
      {"movall.sub", "", "movall.sub", "/v", "movall.sub"},
      {"", "/v", "/v", "/w", ""}};
  for (const Strings& row : rows) {
    Dialog dialog({Native(row[1]), "", "", kPal, 0});
    dialog.controls[2] = Native(row[0]);
    dialog.form.OnBrowseCombinedName();
    dialog.chosen = Native(row[3]);
    dialog.form.OnBrowseFolder();
    EXPECT_EQ(dialog.shown[0] + " | " + dialog.controls[2],
              "file chooser at " + Native(row[2]) + " | " + Native(row[4]));
  }
}

}  // namespace
