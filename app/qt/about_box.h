#pragma once

#include <memory>

#include <QDialog>
#include <QIcon>

namespace Ui {
class CAboutBox;
}

// The about box (template 100): the application icon, the version line and a credit line.
class CAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutBox(const QIcon& icon, QWidget* parent = nullptr);
  ~CAboutBox() override;

 private:
  std::unique_ptr<Ui::CAboutBox> m_ui;
};
