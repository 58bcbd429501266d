// Saves pictures of the settings dialog and the about box as PNG files.
// Usage: QT_QPA_PLATFORM=offscreen clipstamp_screenshots OUTPUT_FOLDER

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QString>

#include "app/qt/about_box.h"
#include "app/qt/clipstamp_dialog.h"

namespace {

bool Save(QWidget& widget, const QString& path) {
  widget.show();
  QApplication::processEvents();
  const bool saved = widget.grab().save(path);
  widget.hide();
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  ConversionSettings settings;
  settings.folder = "/home/ann/Videos/Summer 2007";
  settings.combinedName = settings.folder + "/MOVALL.SUB";
  CClipstampDialog dialog(settings);
  CAboutBox about(dialog.m_icon);
  const bool saved = Save(dialog, output.filePath(QStringLiteral("clipstamp-dialog.png"))) &&
                     Save(about, output.filePath(QStringLiteral("about-box.png")));
  return saved ? 0 : 1;
}
