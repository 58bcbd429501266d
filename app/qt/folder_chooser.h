#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTimer;
class QTreeView;

// A modal chooser of folders over the whole file system. It preselects `start`, scrolled into
// view, and shows the path of the selected folder in a status line as the selection moves; OK is
// enabled while a folder is selected.
class FolderChooser : public QDialog {
  Q_OBJECT

 public:
  explicit FolderChooser(const QString& start, QWidget* parent = nullptr);

  // The selected folder's absolute path; empty when none is selected.
  QString SelectedFolder() const;

  // Selects the existing folder `path` as the user would, with the folders above it expanded,
  // and scrolls it into view.
  void SelectFolder(const QString& path);

 private:
  void OnCurrentChanged(const QModelIndex& current);
  // The model reads folders in the background and adds their rows as they come, which moves the
  // selection; until the user scrolls or selects another folder, it is scrolled back into view
  // once the tree has taken them in.
  void KeepSelectionInView();
  void ScrollToSelection();

  QFileSystemModel* m_model;
  QTreeView* m_tree;
  QLabel* m_status;
  QPushButton* m_okButton;
  QString m_keptInView;  // the folder SelectFolder chose, while it is kept in view
  QTimer* m_scrollTimer;
};
