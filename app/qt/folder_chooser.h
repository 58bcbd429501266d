#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;

// A modal chooser of folders over the whole file system. It preselects `start` and shows the
// path of the selected folder in a status line as the selection moves; OK is enabled while a
// folder is selected.
class FolderChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FolderChooser(const QString& start, QWidget* parent = nullptr);

  // The selected folder's absolute path; empty when none is selected.
  QString SelectedFolder() const;

  // Selects the existing folder `path` as the user would.
  void SelectFolder(const QString& path);

 private:
  void OnCurrentChanged(const QModelIndex& current);

  QFileSystemModel* m_model;
  QTreeView* m_tree;
  QLabel* m_status;
  QPushButton* m_okButton;
};
