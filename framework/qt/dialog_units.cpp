#include "framework/qt/dialog_units.h"

#include <QFontMetrics>

namespace azu {
namespace {

// Windows' MulDiv: a * b / c rounded to the nearest integer.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  return static_cast<int>(product >= 0 ? (product + c / 2) / c : (product - c / 2) / c);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(width / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(int x, int y, int w, int h, DialogBaseUnits units) {
  return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(w, units.x, 4),
          MulDiv(h, units.y, 8)};
}

}  // namespace azu
