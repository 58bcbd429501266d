#include "app/clipstamp_dialog.h"

#include <optional>

#include <QAction>
#include <QDir>
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

constexpr QLatin1StringView kCombinedName(kDefaultCombinedName.data(),
                                          static_cast<qsizetype>(kDefaultCombinedName.size()));

// A signed decimal within the 32-bit range, with optional spaces or tabs around it.
std::optional<qint32> ParseMinuteOffset(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  const QStringView number = QStringView(text).sliced(begin, end - begin);
  const qsizetype digits = !number.isEmpty() && (number[0] == u'+' || number[0] == u'-') ? 1 : 0;
  if (number.size() == digits) return std::nullopt;
  for (const QChar c : number.sliced(digits)) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  bool ok = false;
  const int value = number.toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
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
      m_folder(folder),
      m_timeFormat(timeFormat.isEmpty()
                       ? QString::fromLatin1(kDefaultTimeFormat.data(),
                                             static_cast<qsizetype>(kDefaultTimeFormat.size()))
                       : timeFormat),
      m_combinedName(combinedName.isEmpty() ? QString(kCombinedName) : combinedName),
      m_videoSystem(ntsc ? kNtsc : kPal),
      m_minuteOffset(minuteOffset),
      m_icon(LoadApplicationIcon()),
      m_ui(std::make_unique<Ui::CClipstampDialog>()),
      m_aboutAction(new QAction(tr("&About Clipstamp..."), this)) {
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
    m_ui->folderEdit->setText(m_folder);
    m_ui->formatEdit->setText(m_timeFormat);
    m_ui->combinedNameEdit->setText(m_combinedName);
    m_ui->palRadio->setChecked(m_videoSystem == kPal);
    m_ui->ntscRadio->setChecked(m_videoSystem != kPal);
    m_ui->offsetEdit->setText(QString::number(m_minuteOffset));
    return true;
  }
  m_folder = m_ui->folderEdit->text();
  m_timeFormat = m_ui->formatEdit->text();
  m_combinedName = m_ui->combinedNameEdit->text();
  m_videoSystem = m_ui->ntscRadio->isChecked() ? kNtsc : kPal;
  const std::optional<qint32> offset = ParseMinuteOffset(m_ui->offsetEdit->text());
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

ConversionSettings CClipstampDialog::Settings() const {
  ConversionSettings settings;
  settings.folder = QFile::encodeName(m_folder).toStdString();
  settings.timeFormat = m_timeFormat.toLocal8Bit().toStdString();
  settings.combinedName = QFile::encodeName(m_combinedName).toStdString();
  settings.videoSystem = m_videoSystem;
  settings.minuteOffset = m_minuteOffset;
  return settings;
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
    QMessageBox::warning(this, tr("Clipstamp"), QString::fromLocal8Bit(failure));
  }
  // After a failure or Cancel the fields stay as entered, for another try.
  if (report.Succeeded()) accept();
}

void CClipstampDialog::OnBrowseFolder() {
  UpdateData(true);
  g_initialFolder = m_folder;
  FolderChooser chooser(this);
  if (chooser.exec() != QDialog::Accepted || chooser.SelectedFolder().isEmpty()) return;

  const QString previous = m_folder;
  m_folder = chooser.SelectedFolder();
  // The combined name follows the folder while it is the default name or the default file of
  // the previous folder; anything else the user typed stays.
  const QString separator = QStringLiteral("/");
  if (m_combinedName == kCombinedName || m_combinedName == previous + separator + kCombinedName) {
    m_combinedName = m_folder + separator + kCombinedName;
  }
  UpdateData(false);
}

void CClipstampDialog::OnBrowseCombinedName() {
  const QString text = m_ui->combinedNameEdit->text();
  const QString folder = m_ui->folderEdit->text();
  QString start = folder;
  if (text == kCombinedName) {
    start = QDir(folder).filePath(QString(kCombinedName));
  } else if (!text.isEmpty()) {
    start = QFileInfo(text).absoluteFilePath();
  }
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
