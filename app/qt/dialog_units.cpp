#include "app/qt/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kDialogUnitsProperty[] = "dialogUnits";
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long rounded = product >= 0 ? product + c / 2 : product - c / 2;
  return static_cast<int>(rounded / c);
}

}  // namespace

DialogBaseUnits DialogBaseUnitsFor(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(QString::fromLatin1(kLetters));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect MapDialogRect(const QRect& dialogUnits, DialogBaseUnits base) {
  return QRect(MulDiv(dialogUnits.x(), base.x, 4), MulDiv(dialogUnits.y(), base.y, 8),
               MulDiv(dialogUnits.width(), base.x, 4), MulDiv(dialogUnits.height(), base.y, 8));
}

void ApplyDialogTemplate(QWidget* dialog) {
  const DialogBaseUnits base = DialogBaseUnitsFor(dialog->font());
  for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QVariant units = child->property(kDialogUnitsProperty);
    if (!units.isValid()) continue;
    const QRect pixels = MapDialogRect(units.toRect(), base);
    if (pixels.isEmpty()) {
      child->adjustSize();
      child->move(pixels.topLeft());
    } else {
      child->setGeometry(pixels);
    }
  }
  const QVariant size = dialog->property(kDialogUnitsProperty);
  if (size.isValid()) dialog->setFixedSize(MapDialogRect(size.toRect(), base).size());
}
