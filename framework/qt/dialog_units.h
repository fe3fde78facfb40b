#pragma once
// Dialog units to pixels, from the metrics of the dialog font (as the Windows dialog manager does:
// a horizontal unit is a quarter of the average character width, a vertical one an eighth of the
// character height).

#include <QFont>
#include <QRect>

namespace azu {

struct DialogBaseUnits {
  int x;  // average character width in pixels
  int y;  // character height in pixels
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
QRect DialogUnitsToPixels(int x, int y, int w, int h, DialogBaseUnits units);

}  // namespace azu
