#include "gui/print_size.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace lumivar::gui {

namespace {

constexpr double kMillimetresPerInch = 25.4;

double inches(double length, LengthUnit unit) {
  return unit == LengthUnit::kInches ? length : length / kMillimetresPerInch;
}

}  // namespace

QSize print_pixels(const PrintSize& p) {
  return {static_cast<int>(std::lround(inches(p.width, p.unit) * p.dpi)),
          static_cast<int>(std::lround(inches(p.height, p.unit) * p.dpi))};
}

double print_scale(const PrintSize& p) { return p.dpi / kLayoutDpi; }

QSizeF print_layout(const PrintSize& p) {
  return {inches(p.width, p.unit) * kLayoutDpi, inches(p.height, p.unit) * kLayoutDpi};
}

PrintSize print_size_of(const QSize& pixels, LengthUnit unit, double dpi) {
  const double per_inch = unit == LengthUnit::kInches ? 1.0 : kMillimetresPerInch;
  return {pixels.width() / kLayoutDpi * per_inch, pixels.height() / kLayoutDpi * per_inch, unit, dpi};
}

QString suggested_file_name(const QString& title, const QString& extension) {
  static const QRegularExpression not_word(QStringLiteral("[^a-z0-9]+"));
  QStringList words = title.toLower().split(not_word, Qt::SkipEmptyParts);
  return (words.isEmpty() ? QStringLiteral("picture") : words.join(QLatin1Char('-'))) + extension;
}

}  // namespace lumivar::gui
