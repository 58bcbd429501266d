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

// A dialog without a display: the controls are strings (the four boxes, then "PAL" or "NTSC"),
// the choosers answer `chosen`, and what the form shows is recorded in order.
class Dialog : public SettingsView {
 public:
  explicit Dialog(const ConversionSettings& settings) : form(*this, settings) {
    form.UpdateData(false);
  }
  std::string BoxText(SettingsBox box) const override { return controls[Index(box)]; }
  void SetBoxText(SettingsBox box, const std::string& text) override {
    controls[Index(box)] = text;
  }
  VideoSystem CheckedSystem() const override { return controls[4] == "PAL" ? kPal : kNtsc; }
  void CheckSystem(VideoSystem system) override { controls[4] = system == kPal ? "PAL" : "NTSC"; }
  void PromptForOffset() override { shown.push_back("offset prompt"); }
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  RunReport RunWithProgress(const std::function<RunReport(const ProgressCallback&)>& run) override {
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
  void CloseDialog() override { closed = true; }

  Strings controls = Strings(5);
  Strings shown;
  std::string progress;  // the last progress text
  std::size_t cancelAt = SIZE_MAX;
  std::optional<std::string> chosen;
  bool closed = false;
  SettingsForm form;

 private:
  static std::size_t Index(SettingsBox box) { return static_cast<std::size_t>(box); }
};

// `path` with its '/' separators as this platform writes them.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

std::string ClipFolder(const TempFolder& root, const std::string& name) {
  fs::copy(TestData("e2e/dst_new_york/in/clips"), root.Path() / name);
  return root / name;
}

TEST(SettingsFormTest, StartsFromTheCommandLineWithTheDialogsDefaults) {
  const std::string defaultFormat(kDefaultTimeFormat);
  const std::vector<std::pair<std::vector<const char*>, Strings>> rows = {
      {{}, {"", defaultFormat, "MOVALL.SUB", "0", "PAL"}},
      {{"-c", "all.sub", "-o", "5"}, {"", defaultFormat, "all.sub", "5", "PAL"}},
      {{"-d", "/v", "-f", "%H", "-c", "x", "-ntsc", "-o", "-61"},
       {"/v", "%H", "x", "-61", "NTSC"}}};
  for (const auto& [arguments, shown] : rows) {
    EXPECT_EQ(Dialog(ParseArguments(arguments)).controls, shown);
  }
}

// OK converts what the controls show when it is pressed, exactly as the command line with the
// same values converts it. An offset that is no whole number is pointed out and nothing
// converted; a run that fails says why and a run that the user cancels says nothing more, and
// both leave the dialog open with the fields as entered.
TEST(SettingsFormTest, OkConvertsWhatTheControlsShowAndClosesOnlyWhenAllIsDone) {
  const TempFolder root;
  const std::string silent = ClipFolder(root, "silent");
  ASSERT_TRUE(ConvertFolder(ParseArguments(std::vector<const char*>{
                                "-d", silent.c_str(), "-f", "%d.%m. %H:%M:%S", "-c", "MOVALL.SUB",
                                "-ntsc", "-o", "-61"}))
                  .Succeeded());
  const std::string folder = ClipFolder(root, "dialog");
  std::ofstream(root / "dialog/MOVALL.SUB") << "old";
  const std::string missing = Native(folder + "/missing");
  Dialog dialog(ConversionSettings{});
  dialog.controls = {folder, "%d.%m. %H:%M:%S", "MOVALL.SUB", "half an hour", "NTSC"};
  dialog.form.OnOK();
  EXPECT_EQ(dialog.shown, Strings{"offset prompt"});
  EXPECT_EQ(FileTree(folder).size(), 4u);

  dialog.controls = {missing, "%d.%m. %H:%M:%S", "MOVALL.SUB", " -61\t", "NTSC"};
  dialog.form.OnOK();
  EXPECT_EQ(dialog.shown.back(),
            DescribeRunFailure(ConvertFolder({missing, "", "", 0, 0}), missing));
  EXPECT_EQ(dialog.controls, (Strings{missing, "%d.%m. %H:%M:%S", "MOVALL.SUB", " -61\t", "NTSC"}));

  dialog.controls[0] = folder;
  dialog.cancelAt = 1;
  dialog.form.OnOK();
  EXPECT_EQ(dialog.progress, "Converting clip 2 of 3\nB.MOI");
  const auto cancelled = FileTree(folder);
  EXPECT_TRUE(cancelled.contains("A.SUB") && !cancelled.contains("B.SUB"));
  EXPECT_EQ(cancelled.at("MOVALL.SUB"), "old");

  dialog.cancelAt = SIZE_MAX;
  EXPECT_FALSE(dialog.closed);
  dialog.form.OnOK();
  EXPECT_TRUE(dialog.closed);
  EXPECT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(FileTree(folder), FileTree(silent));
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
  dialog.controls = {root / "a/b/c", "%H typed", "MOVALL.SUB", "x", "NTSC"};
  dialog.chosen = chosen;
  dialog.form.OnBrowseFolder();
  EXPECT_EQ(g_initialFolder, root / "a/b/c");
  const std::string chooserAtRoot = "folder chooser at " + root.Path().string();
  EXPECT_EQ(dialog.shown, (Strings{"offset prompt", chooserAtRoot}));
  const Strings afterChoice = {chosen, "%H typed", Native(chosen + "/MOVALL.SUB"), "7", "NTSC"};
  EXPECT_EQ(dialog.controls, afterChoice);

  dialog.controls[0] = "";
  dialog.chosen.reset();
  dialog.form.OnBrowseFolder();
  EXPECT_EQ(dialog.shown.back(), "folder chooser at " + PathText(fs::current_path()));
  EXPECT_EQ(dialog.controls, (Strings{"", "%H typed", afterChoice[2], "7", "NTSC"}));
}

// A combined name follows a chosen folder while it is "MOVALL.SUB" or the previous folder's; the
// combined file's chooser starts at the folder's "MOVALL.SUB", the folder, or the name.
TEST(SettingsFormTest, CombinedNameFollowsTheFolderAndItsChooserStartsFromTheBoxes) {
  const std::vector<Strings> follows = {
      {"MOVALL.SUB", "", "/v", "/v/MOVALL.SUB"},   {"/v/MOVALL.SUB", "/v", "/w", "/w/MOVALL.SUB"},
      {"MOVALL.SUB", "", "/r/", "/r//MOVALL.SUB"}, {"/v/MOVALL.SUB", "/w", "/r/", "/v/MOVALL.SUB"},
      {"movall.sub", "", "/v", "movall.sub"},      {"", "/v", "/w", ""}};
  for (const Strings& row : follows) {
    Dialog dialog({Native(row[1]), "", "", kPal, 0});
    dialog.controls[2] = Native(row[0]);
    dialog.chosen = Native(row[2]);
    dialog.form.OnBrowseFolder();
    EXPECT_EQ(dialog.controls[2], Native(row[3])) << row[0];
  }
  const std::vector<Strings> starts = {{"MOVALL.SUB", "/v", "/v/MOVALL.SUB"},
                                       {"MOVALL.SUB", "/v/", "/v/MOVALL.SUB"},
                                       {"MOVALL.SUB", "", "MOVALL.SUB"},
                                       {"", "/v", "/v"},
                                       {"/w/all.sub", "/v", "/w/all.sub"}};
  for (const Strings& row : starts) {
    Dialog dialog(ConversionSettings{});
    dialog.controls[0] = Native(row[1]);
    dialog.controls[2] = Native(row[0]);
    dialog.chosen = "chosen.SUB";
    dialog.form.OnBrowseCombinedName();
    EXPECT_EQ(dialog.shown, Strings{"file chooser at " + Native(row[2])});
    EXPECT_EQ(dialog.controls[2], "chosen.SUB");
  }
}

}  // namespace
