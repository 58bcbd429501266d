#include "app/qt/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/dialog_units.h"
#include "ui_about_box.h"

namespace {

// Icons in dialogs are drawn at the system's large icon size, whatever the font.
constexpr int kIconSize = 32;

}  // namespace

CAboutBox::CAboutBox(const QIcon& icon, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CAboutBox>()) {
  m_ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(icon);
  m_ui->iconLabel->setPixmap(icon.pixmap(kIconSize, kIconSize));
  m_ui->iconLabel->setFixedSize(kIconSize, kIconSize);
  ApplyDialogTemplate(this);
  connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
  m_ui->okButton->setFocus();
}

CAboutBox::~CAboutBox() = default;
