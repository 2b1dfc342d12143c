#pragma once
// Whether a font gives every character of a table the same width. Qt's own
// fixed-pitch flag is not used: it is false for some fonts that are made for
// code (Noto Sans Mono), whose table characters do line up.
#include <QFont>
#include <QFontMetricsF>
#include <QString>

namespace lumivar::testing {

inline bool fixed_pitch(const QFont& font) {
  const QFontMetricsF m(font);
  const double w = m.horizontalAdvance(QLatin1Char('M'));
  for (QChar c : QStringLiteral("il0.9 -ExGP()"))
    if (m.horizontalAdvance(c) != w) return false;
  return true;
}

}  // namespace lumivar::testing
