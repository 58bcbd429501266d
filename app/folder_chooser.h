#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;

// The folder the chooser preselects: the settings dialog sets it before opening the chooser.
// Empty at start-up; kept until the process ends.
extern QString g_initialFolder;

// A modal chooser of folders over the whole file system. It preselects g_initialFolder (or,
// when that is empty, the current directory; a folder that does not exist gives its nearest
// existing parent) and shows the path of the selected folder in a status line as the selection
// moves.
class FolderChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FolderChooser(QWidget* parent = nullptr);

  // The selected folder's absolute path; empty when none is selected.
  QString SelectedFolder() const;

  // Selects `path` (absolute, or relative to the current directory) as the user would.
  void SelectFolder(const QString& path);

  // The status line's text: the path of the selected folder.
  QString StatusText() const;

 private:
  void OnCurrentChanged(const QModelIndex& current);

  QFileSystemModel* m_model;
  QTreeView* m_tree;
  QLabel* m_status;
  QPushButton* m_okButton;
};
