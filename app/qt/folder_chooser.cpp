#include "app/qt/folder_chooser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

FolderChooser::FolderChooser(const QString& start, QWidget* parent)
    : QDialog(parent),
      m_model(new QFileSystemModel(this)),
      m_tree(new QTreeView(this)),
      m_status(new QLabel(this)),
      m_okButton(nullptr),
      m_scrollTimer(new QTimer(this)) {
  setObjectName("folderChooser");
  setWindowTitle(tr("Browse for Folder"));
  m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  m_model->setRootPath(QDir::rootPath());
  m_model->setReadOnly(true);

  m_tree->setObjectName("folderTree");
  m_tree->setModel(m_model);
  m_tree->setHeaderHidden(true);
  for (int column = 1; column < m_model->columnCount(); ++column) m_tree->hideColumn(column);

  m_status->setObjectName("statusText");
  m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_status->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_okButton = buttons->button(QDialogButtonBox::Ok);
  m_okButton->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &FolderChooser::OnCurrentChanged);
  m_scrollTimer->setSingleShot(true);
  m_scrollTimer->setInterval(0);
  connect(m_scrollTimer, &QTimer::timeout, this, &FolderChooser::ScrollToSelection);
  connect(m_model, &QAbstractItemModel::rowsInserted, this, &FolderChooser::KeepSelectionInView);
  connect(m_model, &QAbstractItemModel::layoutChanged, this, &FolderChooser::KeepSelectionInView);
  connect(m_tree->verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this] { m_keptInView.clear(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_status);
  layout->addWidget(m_tree);
  layout->addWidget(buttons);
  resize(420, 480);

  SelectFolder(start);
}

QString FolderChooser::SelectedFolder() const {
  const QModelIndex current = m_tree->currentIndex();
  return current.isValid() ? m_model->filePath(current) : QString();
}

void FolderChooser::SelectFolder(const QString& path) {
  const QModelIndex index = m_model->index(path);
  if (!index.isValid()) return;
  m_keptInView = m_model->filePath(index);
  m_tree->setCurrentIndex(index);
  ScrollToSelection();
}

void FolderChooser::KeepSelectionInView() {
  if (!m_keptInView.isEmpty()) m_scrollTimer->start();
}

void FolderChooser::ScrollToSelection() {
  // Scrolling expands the folders above the selection, which the model then reads.
  const QModelIndex index = m_keptInView.isEmpty() ? QModelIndex() : m_model->index(m_keptInView);
  if (index.isValid()) m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FolderChooser::OnCurrentChanged(const QModelIndex& current) {
  // An item without a file-system path leaves the previous path showing.
  const QString path = current.isValid() ? m_model->filePath(current) : QString();
  if (path != m_keptInView) m_keptInView.clear();
  if (!path.isEmpty()) m_status->setText(QDir::toNativeSeparators(path));
  m_okButton->setEnabled(!path.isEmpty());
}
