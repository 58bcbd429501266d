#include "app/clipstamp_dialog.h"

#include <optional>
#include <utility>

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/about_box.h"
#include "app/dialog_units.h"
#include "app/folder_chooser.h"
#include "app/run_progress.h"
#include "app/run_summary.h"
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

CClipstampDialog::CClipstampDialog(const QString& folder, const QString& timeFormat,
                                   const QString& combinedName, bool ntsc, qint32 minuteOffset,
                                   QWidget* parent)
    : QDialog(parent),
      m_icon(LoadApplicationIcon()),
      m_ui(std::make_unique<Ui::CClipstampDialog>()),
      m_aboutAction(new QAction(tr("&About Clipstamp..."), this)) {
  DialogFields fields = InitialFields(EngineText(folder), EngineText(timeFormat),
                                      EngineText(combinedName), ntsc, minuteOffset);
  m_folder = std::move(fields.folder);
  m_timeFormat = std::move(fields.timeFormat);
  m_combinedName = std::move(fields.combinedName);
  m_videoSystem = fields.videoSystem;
  m_minuteOffset = fields.minuteOffset;
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

  connect(m_ui->okButton, &QPushButton::clicked, this, &CClipstampDialog::OnOK);
  connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_ui->browseFolderButton, &QPushButton::clicked, this, &CClipstampDialog::OnBrowseFolder);
  connect(m_ui->browseCombinedButton, &QPushButton::clicked, this,
          &CClipstampDialog::OnBrowseCombinedName);
  connect(m_aboutAction, &QAction::triggered, this, &CClipstampDialog::ShowAboutBox);

  UpdateData(false);
  m_ui->okButton->setFocus();
}

CClipstampDialog::~CClipstampDialog() = default;

bool CClipstampDialog::UpdateData(bool saveAndValidate) {
  if (!saveAndValidate) {
    m_ui->folderEdit->setText(DisplayText(m_folder));
    m_ui->formatEdit->setText(DisplayText(m_timeFormat));
    m_ui->combinedNameEdit->setText(DisplayText(m_combinedName));
    m_ui->palRadio->setChecked(m_videoSystem == kPal);
    m_ui->ntscRadio->setChecked(m_videoSystem != kPal);
    m_ui->offsetEdit->setText(QString::number(m_minuteOffset));
    return true;
  }
  m_folder = EngineText(m_ui->folderEdit->text());
  m_timeFormat = EngineText(m_ui->formatEdit->text());
  m_combinedName = EngineText(m_ui->combinedNameEdit->text());
  m_videoSystem = m_ui->ntscRadio->isChecked() ? kNtsc : kPal;
  const std::optional<std::int32_t> offset =
      ParseMinuteOffset(m_ui->offsetEdit->text().toStdString());
  if (!offset) {
    QMessageBox::warning(this, windowTitle(),
                         tr("Time offset: please enter a whole number of minutes, for example "
                            "0, 30 or -60."));
    m_ui->offsetEdit->setFocus();
    m_ui->offsetEdit->selectAll();
    return false;
  }
  m_minuteOffset = *offset;
  return true;
}

ConversionSettings CClipstampDialog::Settings() const { return SettingsFromFields(Fields()); }

DialogFields CClipstampDialog::Fields() const {
  return {m_folder, m_timeFormat, m_combinedName, m_videoSystem, m_minuteOffset};
}

void CClipstampDialog::OnOK() {
  if (!UpdateData(true)) return;
  const ConversionSettings settings = Settings();
  RunReport report;
  {
    RunProgress progress(this, m_progressDelay);
    report = ConvertFolder(
        settings, [&progress](std::size_t index, std::size_t count, const std::string& path) {
          return progress.Report(index, count, path);
        });
  }
  const std::string failure = DescribeRunFailure(report, settings.folder);
  if (!failure.empty()) {
    QMessageBox::warning(this, tr("Clipstamp"), DisplayText(failure));
  }
  // After a failure or Cancel the fields stay as entered, for another try.
  if (report.Succeeded()) accept();
}

void CClipstampDialog::OnBrowseFolder() {
  UpdateData(true);
  g_initialFolder = DisplayText(m_folder);
  FolderChooser chooser(this);
  if (chooser.exec() != QDialog::Accepted || chooser.SelectedFolder().isEmpty()) return;

  const std::string previous = m_folder;
  m_folder = EngineText(chooser.SelectedFolder());
  m_combinedName = CombinedNameAfterChoice(m_combinedName, previous, m_folder, '/');
  UpdateData(false);
}

void CClipstampDialog::OnBrowseCombinedName() {
  QString start = DisplayText(ProposedCombinedFile(EngineText(m_ui->combinedNameEdit->text()),
                                                   EngineText(m_ui->folderEdit->text()), '/'));
  if (!start.isEmpty()) start = QFileInfo(start).absoluteFilePath();
  QFileDialog chooser(this, tr("Combined subtitle file"), start,
                      tr("Subtitle files (*.SUB);;All files (*)"));
  chooser.setObjectName("combinedFileChooser");
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setDefaultSuffix(QStringLiteral("SUB"));
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
  m_ui->combinedNameEdit->setText(chooser.selectedFiles().constFirst());
}

void CClipstampDialog::ShowAboutBox() {
  CAboutBox about(m_icon, this);
  about.exec();
}
