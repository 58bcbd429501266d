#include "app/qt/clipstamp_dialog.h"

#include <functional>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/qt/about_box.h"
#include "app/qt/dialog_units.h"
#include "app/qt/folder_chooser.h"
#include "app/qt/run_progress.h"
#include "ui_clipstamp_dialog.h"

namespace {

std::string EngineText(const QString& text) { return QFile::encodeName(text).toStdString(); }

QString DisplayText(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

}  // namespace

QIcon LoadApplicationIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/clipstamp-32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/clipstamp-16.png"), QSize(16, 16));
  return icon;
}

CClipstampDialog::CClipstampDialog(const ConversionSettings& settings, QWidget* parent)
    : QDialog(parent),
      m_icon(LoadApplicationIcon()),
      m_ui(std::make_unique<Ui::CClipstampDialog>()),
      m_aboutAction(new QAction(tr("&About Clipstamp..."), this)),
      m_form(*this, settings) {
  m_ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  ApplyDialogTemplate(this);
  setWindowIcon(m_icon);

  // The window manager owns the system menu here, so the about item lives in the dialog's
  // context menu, and F1 (Help) opens the about box too.
  m_aboutAction->setObjectName("aboutAction");
  m_aboutAction->setShortcut(QKeySequence(Qt::Key_F1));
  m_aboutAction->setShortcutContext(Qt::WindowShortcut);
  addAction(m_aboutAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  connect(m_ui->okButton, &QPushButton::clicked, this, [this] { m_form.OnOK(); });
  connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_ui->browseFolderButton, &QPushButton::clicked, this,
          [this] { m_form.OnBrowseFolder(); });
  connect(m_ui->browseCombinedButton, &QPushButton::clicked, this,
          [this] { m_form.OnBrowseCombinedName(); });
  connect(m_aboutAction, &QAction::triggered, this, &CClipstampDialog::ShowAboutBox);

  for (const char* name : kSubtitleFormatNames) m_ui->subtitleFormatCombo->addItem(tr(name));
  m_form.UpdateData(false);
  m_ui->okButton->setFocus();
}

CClipstampDialog::~CClipstampDialog() = default;

QLineEdit* CClipstampDialog::Box(SettingsBox box) const {
  QLineEdit* const boxes[] = {m_ui->folderEdit, m_ui->formatEdit, m_ui->combinedNameEdit,
                              m_ui->offsetEdit};  // in the order of SettingsBox
  return boxes[static_cast<int>(box)];
}

std::string CClipstampDialog::BoxText(SettingsBox box) const {
  return EngineText(Box(box)->text());
}

void CClipstampDialog::SetBoxText(SettingsBox box, const std::string& text) {
  Box(box)->setText(DisplayText(text));
}

VideoSystem CClipstampDialog::CheckedSystem() const {
  return m_ui->ntscRadio->isChecked() ? kNtsc : kPal;
}

void CClipstampDialog::CheckSystem(VideoSystem system) {
  (system == kPal ? m_ui->palRadio : m_ui->ntscRadio)->setChecked(true);
}

SubtitleFormat CClipstampDialog::ChosenFormat() const {
  return static_cast<SubtitleFormat>(m_ui->subtitleFormatCombo->currentIndex());
}

void CClipstampDialog::ChooseFormat(SubtitleFormat format) {
  m_ui->subtitleFormatCombo->setCurrentIndex(static_cast<int>(format));
}

void CClipstampDialog::PromptForOffset() {
  QMessageBox::warning(this, tr(kDialogTitle), tr(kOffsetPrompt));
  m_ui->offsetEdit->setFocus();
  m_ui->offsetEdit->selectAll();
}

void CClipstampDialog::ShowMessage(const std::string& text) {
  QMessageBox::warning(this, tr(kDialogTitle), DisplayText(text));
}

RunReport CClipstampDialog::RunWithProgress(
    const std::function<RunReport(const ProgressCallback&)>& run) {
  RunProgress progress(this, m_progressDelay);
  return run(std::bind_front(&RunProgress::Report, &progress));
}

std::optional<std::string> CClipstampDialog::ChooseFolder(const std::string& start) {
  FolderChooser chooser(DisplayText(start), this);
  if (chooser.exec() != QDialog::Accepted || chooser.SelectedFolder().isEmpty()) {
    return std::nullopt;
  }
  return EngineText(chooser.SelectedFolder());
}

std::optional<std::string> CClipstampDialog::ChooseCombinedFile(const std::string& start) {
  const QString path = start.empty() ? QString() : QFileInfo(DisplayText(start)).absoluteFilePath();
  QFileDialog chooser(this, tr(kCombinedFileChooserTitle), path,
                      tr("Subtitle files (*.SUB);;All files (*)"));
  chooser.setObjectName("combinedFileChooser");
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setDefaultSuffix(QStringLiteral("SUB"));
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return EngineText(chooser.selectedFiles().constFirst());
}

void CClipstampDialog::CloseDialog() { accept(); }

void CClipstampDialog::ShowAboutBox() {
  CAboutBox about(m_icon, this);
  about.exec();
}
