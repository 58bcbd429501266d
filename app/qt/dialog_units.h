#pragma once

#include <QRect>

class QFont;
class QWidget;

// The pixel size of one dialog unit, as the original platform derives it from a dialog's font:
// `x` is the average width of "A".."Z" and "a".."z", rounded; `y` is the character height. A
// dialog unit is x / 4 pixels across and y / 8 pixels down.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};

DialogBaseUnits DialogBaseUnitsFor(const QFont& font);

// Converts a rectangle in dialog units to pixels, rounding each value to the nearest pixel.
QRect MapDialogRect(const QRect& dialogUnits, DialogBaseUnits base);

// Lays out a dialog made from a template form: every child carrying a "dialogUnits" rectangle
// property is placed at its mapped position (a child with a zero size keeps its own), and the
// dialog gets a fixed client size from its own property. Units come from the dialog's font.
void ApplyDialogTemplate(QWidget* dialog);
